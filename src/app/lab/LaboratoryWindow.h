#pragma once
// The Laboratory: a tool window beside the instrument with one page per
// capability that goes beyond the classic instrument (isotope patterns and
// the relative atomic mass, for a start). It sees the instrument only
// through TInstrumentLink.

#include "app/lab/LaboratoryTexts.h"

#include <QWidget>

class QTabWidget;
class TInstrumentLink;
class TIdentifyPage;
class TInstrumentPage;
class TIsotopesPage;
class TLibraryPage;

class TLaboratoryWindow : public QWidget {
    Q_OBJECT
public:
    // parent: the main window, which the tool window stays in front of.
    TLaboratoryWindow(TInstrumentLink& instrument, TTranslate translate, QWidget* parent = nullptr);

    QTabWidget* Pages() const { return pages_; }
    TIsotopesPage* Isotopes() const { return isotopes_; }
    TIdentifyPage* Identify() const { return identify_; }
    TLibraryPage* Library() const { return library_; }
    TInstrumentPage* InstrumentPage() const { return instrument_; }

private:
    QTabWidget* pages_ = nullptr;
    TIsotopesPage* isotopes_ = nullptr;
    TIdentifyPage* identify_ = nullptr;
    TLibraryPage* library_ = nullptr;
    TInstrumentPage* instrument_ = nullptr;
};
