#pragma once
// A panel that shows the display widgets at work: a dot-matrix read-out and
// two numeric read-outs following a slider, a scrolling dot-matrix banner and
// numeric labels in further display types. Shown until the main window exists.

#include <QWidget>

QWidget* CreateWidgetsDemo(QWidget* parent = nullptr);
