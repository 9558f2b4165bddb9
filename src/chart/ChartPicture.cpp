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
    // The copy is in the chart's own pixels on every screen: the sizes of a
    // saved picture and of a page do not depend on the screen it was made on.
    const int screenRatio = control_.DevicePixelRatio();
    control_.SetPrinter(printer, dpiY);
    data_.SetPrinter(printer, dpiY);
    control_.SetDevicePixelRatio(1);
    data_.SetDevicePixelRatio(1);
    draw();
    QImage picture = control_.Image().copy();
    if (printer || screenRatio != 1) {
        // ShowItems draws the data picture alone into the window later; it
        // must find the screen's forms and resolution there.
        control_.SetPrinter(false, 96);
        data_.SetPrinter(false, 96);
        control_.SetDevicePixelRatio(screenRatio);
        data_.SetDevicePixelRatio(screenRatio);
        draw();
    }
    return picture;
}
