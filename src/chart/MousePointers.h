#pragma once
// The chart's four cursors and the cursor it sets for the whole application.
//
// The cursors live in the application's cursor table as numbers 1..4:
// "CURHAND" (pan), "CURZOOMW" (zoom window), "CURZOOMD" (zoom drag) and
// "CURZOOMP" (zoom window keeping the axis directions). Each is a 32 x 32
// picture of black and white pixels on a transparent ground.

#include "chart/MouseTypes.h"

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

constexpr int kChartCursorCount = 4;
constexpr int kChartCursorSize = 32;

// Puts cursors 1..4 into the table; later calls find them there.
void InstallChartCursors();
// Entry n of the cursor table (installing the chart's cursors first); the
// arrow cursor for a number that has no entry.
QCursor ApplicationCursor(int n);
// "CURHAND", "CURZOOMW", "CURZOOMD", "CURZOOMP" for 1..4, empty otherwise.
QString ChartCursorName(int n);
QPoint ChartCursorHotSpot(int n);
// The picture of cursor n as drawn: black, white and fully transparent
// pixels (an empty image for other numbers).
QImage ChartCursorPicture(int n);

// The cursor a choice stands for; nothing for ccKeep and ccDefault.
bool CursorForChoice(TChartCursorChoice choice, QCursor& cursor);

// The application-wide cursor one chart has put up: an override cursor that
// covers every window of the program, changed in place while the chart keeps
// choosing, and taken down again (at the latest when the chart goes).
class TApplicationCursor {
public:
    TApplicationCursor() = default;
    TApplicationCursor(const TApplicationCursor&) = delete;
    TApplicationCursor& operator=(const TApplicationCursor&) = delete;
    ~TApplicationCursor() { Reset(); }

    void Set(const QCursor& cursor);
    // Back to each window's own cursor.
    void Reset();
    bool Active() const { return active_; }

private:
    bool active_ = false;
};
