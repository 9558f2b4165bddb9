#pragma once
// What assistive tools (screen readers) learn of the read-outs that paint
// their own picture, the numeric label and the dot-matrix label: a static
// text whose value is the text shown, announced whenever it changes. A
// picture alone says nothing to a screen reader.
//
// Name: the control's accessible name when one is set, otherwise the text
// shown (so that a label naming it through its buddy reads "Mass, 6.9").
// Value: the text shown. Description: the control's accessible description.

#include <QString>
#include <functional>

class QAccessibleEvent;
class QWidget;

// Makes Qt build these interfaces for TNumLab and TRasterLab; the first
// call installs the factory, later calls do nothing.
void InstallReadOutAccessibility();

// Tells assistive tools that the text shown by a read-out changed to text:
// its value, and its name too when the name follows the text. Costs next to
// nothing while no assistive tool listens.
void NotifyReadOutTextChanged(QWidget* readOut, const QString& text);

// Where those events go (a replaceable hook). The default hands them to Qt's
// accessibility, which passes them on only while an assistive tool listens;
// tests put their own in with TScopedHook (support/ScopedHook.h) to see them.
using TReadOutEventSink = std::function<void(QAccessibleEvent& event)>;
TReadOutEventSink& ReadOutEventSink();
