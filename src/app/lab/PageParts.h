#pragma once
// The parts the Laboratory's pages are built of, alike on every page: notes
// a learner can select and copy, and read-only tables of rows.

#include <QMargins>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QTableWidget;
class QWidget;
class TRChart;

// A wrapping label whose text can be selected with the mouse and the keyboard.
QLabel* MakeNote(QWidget* parent, const QString& objectName = {});

// A read-only table with the headers, rows chosen whole, its columns
// sharing the width; `accessibleName` is what screen readers call it.
QTableWidget* MakeTable(QWidget* parent, const QStringList& headers, const QString& accessibleName);

// A stick chart of a fixed size: layer 1 from 0 to 100 in both directions
// until the page sets its range, both axes with whole numbers, painted when
// the page calls ShowItems; the margins in pixels.
TRChart* MakeStickChart(QWidget* parent, const QString& objectName, QSize size, QMargins margins,
                        const QString& accessibleName);

// Replaces the rows; numbers stand right-aligned, the column `textColumn`
// (a name; none when -1) left-aligned.
void FillTable(QTableWidget& table, const std::vector<QStringList>& rows, int textColumn = -1);
