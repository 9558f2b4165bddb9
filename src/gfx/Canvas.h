#pragma once
// The drawing surface every component paints through: an off-screen 32-bit
// picture with a pen, a brush and a font, keeping the window system's pixel
// conventions (see Raster.h):
//   - LineTo leaves out the end pixel;
//   - Rectangle, Ellipse and FillRect take (left, top, right, bottom) with the
//     right and bottom edges excluded;
//   - text is placed by the top-left corner of its box, on the brush colour
//     unless the brush is clear.
//
// On a high-resolution screen the picture holds DevicePixelRatio() device
// pixels per unit each way. Every coordinate stays in units (the pixels of
// a plain screen), and so do the pixel rules: a unit a rule sets covers
// ratio x ratio device pixels, so lines, frames and fills stay exactly where
// they are at ratio 1, only sharper, while text, wide pens and pictures are
// drawn at the device's own resolution.

#include "gfx/Color.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <vector>

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : std::uint8_t { pmCopy, pmXor };
enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont {
    QString Name = QStringLiteral("MS Sans Serif");
    // Negative: character height in pixels; positive: size in points.
    int Height = 8;
    TColor Color = clWindowText;
    std::uint8_t Style = 0; // TFontStyle bits

    int Size() const { return Height > 0 ? Height : 0; }
    void SetSize(int points) { Height = points; }
    void SetPixelHeight(int pixels) { Height = -pixels; }
    QFont ToQFont() const;
    bool operator==(const TFont&) const = default;
};

class QWidget;

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height);

    // Changes the picture's size; what fits of the old picture is kept, new
    // pixels are white.
    void Resize(int width, int height);
    // Makes every pixel fully transparent (the picture then carries alpha), for
    // controls drawn over their parent's background.
    void ClearTransparent();
    // Size in units.
    int Width() const { return image_.width() / DevicePixelRatio(); }
    int Height() const { return image_.height() / DevicePixelRatio(); }
    // Device pixels per unit, 1 or more; the picture's own ratio, so a
    // picture handed to a canvas keeps it. Changing it keeps the size in
    // units and makes the picture white.
    int DevicePixelRatio() const
    {
        return image_.isNull() ? pendingRatio_ : std::max(1, int(image_.devicePixelRatio()));
    }
    void SetDevicePixelRatio(int ratio);
    // The whole ratio a canvas uses for a screen of the given ratio: the
    // largest whole number not above it, at least 1, so that a picture is
    // never shrunk on its way to the screen (which would drop lines).
    static int WholeRatio(qreal screenRatio);
    // Whether the picture has the widget's size at the whole ratio of the
    // widget's screen, so that a paint event can present it as it is.
    bool FitsWidget(const QWidget& widget) const;
    // The picture in device pixels (its devicePixelRatio says how many per
    // unit). A picture put in through Image() must keep a whole ratio.
    const QImage& Image() const { return image_; }
    QImage& Image() { return image_; }

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // A printer canvas: components draw their printer forms and keep point
    // sizes; its device pixel ratio is 1.
    void SetPrinter(bool isPrinter, int dpiY);
    bool IsPrinter() const { return printer_; }
    int PrinterDpiY() const { return dpiY_; }

    QPoint PenPos() const { return pos_; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Lines through the points; the last point itself is not drawn.
    void Polyline(const std::vector<QPoint>& pts);
    // Filled with the brush (alternate rule), outlined with the pen, closed.
    void Polygon(const std::vector<QPoint>& pts);
    void Rectangle(int left, int top, int right, int bottom);
    void FillRect(int left, int top, int right, int bottom); // brush only, no outline
    void Ellipse(int left, int top, int right, int bottom);

    void SetPixel(int x, int y, TColor c);
    TColor GetPixel(int x, int y) const; // plain 0x00BBGGRR; -1 outside
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

    void TextOut(int x, int y, const QString& text);
    // Text clipped to clip; with a solid brush the whole clip rectangle is
    // first filled with the brush colour.
    void TextRect(const QRect& clip, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // Copies a picture with its top-left corner at (x, y), or stretched over
    // the rectangle left..right-1 x top..bottom-1.
    void Draw(int x, int y, const QImage& picture);
    void StretchDraw(int left, int top, int right, int bottom, const QImage& picture);

private:
    void Plot(int x, int y, QRgb rgb);
    void Line(QPoint a, QPoint b);
    void HSpan(int y, int x0, int x1, QRgb rgb);
    void WideLine(QPoint a, QPoint b);
    bool PenVisible() const { return Pen.Style != psClear; }
    void PenBand(int& out, int& in) const;
    // Text at (x, y), clipped when a clip rectangle is given; the advance of
    // the unclipped text, -1 when there is no picture.
    int DrawText(const QRect* clip, int x, int y, const QString& text);

    QImage image_;
    // The ratio of a picture without pixels, which a null image cannot
    // carry itself; the next Resize makes the picture at it.
    int pendingRatio_ = 1;
    QPoint pos_;
    bool printer_ = false;
    int dpiY_ = 96;
    // Position in the current dash pattern; a move restarts it.
    int dashPhase_ = 0;
};
