// TRChart: the chart's picture for other devices than its window.
#include "chart/RChart.h"

QImage TRChart::RenderPicture(bool printer, int dpiY)
{
    if (loading_)
        return {};
    // The passes of RenderChart, with the cross-hairs drawn in place of
    // presenting, so that a copy looks exactly like the window.
    auto draw = [this] {
        DrawFrameAndScales(control_);
        DrawDataBackground(data_);
        DrawData(data_);
        control_.Draw(g_.MarginLeft, g_.MarginTop, data_.Image());
        for (int n = 1; n <= kCrossHairCount; ++n)
            if (crossHairs_[size_t(n)]->Mode() != chOff) {
                DrawCrossHairs(control_, 0, 0);
                break;
            }
    };
    control_.SetPrinter(printer, dpiY);
    data_.SetPrinter(printer, dpiY);
    draw();
    QImage picture = control_.Image().copy();
    if (printer) {
        // ShowItems draws the data picture alone into the window later; it
        // must not find the printer forms there.
        control_.SetPrinter(false, 96);
        data_.SetPrinter(false, 96);
        draw();
    }
    return picture;
}
