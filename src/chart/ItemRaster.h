#pragma once
// Direct pixel drawing of the display-list items that make up nearly every
// chart: one-pixel solid lines, one-pixel outlined rectangles and ellipses,
// and the small screen marks. It writes into the data picture's rows itself
// and gives exactly the pixels the canvas gives for the same call (the
// canvas goes through a callback per pixel and builds row lists per shape,
// which costs more than the pixels themselves when there are 10^5 items).
//
// Each function answers false when the canvas's pen or brush asks for
// something it does not do (wide or styled pens, exclusive-or, printers); the
// caller then draws through the canvas as usual. Line, Rectangle, Ellipse and
// Pixel only set pixels and leave the canvas's pen position alone (the chart
// restores it after those calls anyway); Mark leaves the canvas exactly as
// DrawMark does.

#include "gfx/Canvas.h"

#include <QPoint>
#include <cstdint>
#include <vector>

class TItemRaster {
public:
    // Starts drawing on the canvas's picture; the picture must not change
    // size while this object is used.
    explicit TItemRaster(Canvas& canvas);

    // Canvas::MoveTo(a) + LineTo(b) with the canvas's pen: end pixel left out.
    bool Line(QPoint a, QPoint b);
    // Canvas::Rectangle and Canvas::Ellipse with the canvas's pen and brush
    // (right and bottom excluded).
    bool Rectangle(int left, int top, int right, int bottom);
    bool Ellipse(int left, int top, int right, int bottom);
    // DrawMark for the marks that are pixel patterns or filled squares on
    // the screen, in the pen colour; false for the others (the caller then
    // uses DrawMark).
    bool Mark(int markType, int x, int y);
    // Whether SquareMarks draws this mark with the canvas's pen.
    bool SquareMark(int markType) const;
    // Mark for many filled squares (marks 7 to 9) of the pen colour at once,
    // with the same pixels: where they pile up (10^5 marks on one chart) the
    // cost follows the picture's area instead of the marks' pixels. scratch
    // is working memory the caller keeps from paint to paint. False when
    // Mark would answer false for these marks.
    bool SquareMarks(int markType, const std::vector<QPoint>& centres, std::vector<std::uint8_t>& scratch);
    // Canvas::SetPixel in copy mode.
    void Pixel(int x, int y, TColor color);

private:
    bool PlainPen() const;
    QRgb Rgb(TColor color);
    void Span(int y, int x0, int x1, QRgb rgb);
    void FillBox(int x0, int y0, int x1, int y1, QRgb rgb); // inclusive, clipped
    // Device row dy (0 .. ratio - 1) of unit row y.
    QRgb* DeviceRow(int y, int dy) const
    {
        return reinterpret_cast<QRgb*>(bits_ + (qsizetype(y) * ratio_ + dy) * stride_);
    }
    void Dot(int x, int y, QRgb rgb); // a unit inside the picture

    Canvas& canvas_;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0, height_ = 0; // in units
    int ratio_ = 1;
    // The last two colours resolved: system colours go through the palette,
    // and items mostly repeat the colour before them.
    TColor lastColor_[2] = {0, 0};
    QRgb lastRgb_[2] = {0, 0};
    bool lastValid_[2] = {false, false};
    int lastSlot_ = 0;
};
