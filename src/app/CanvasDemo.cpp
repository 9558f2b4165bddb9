#include "app/CanvasDemo.h"

#include "gfx/Frames.h"

#include <QPainter>

TCanvasDemo::TCanvasDemo(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Ionpath"));
    setMinimumSize(460, 260);
}

void TCanvasDemo::Render()
{
    canvas_.Resize(width(), height());
    canvas_.Pen = TPen{};
    canvas_.Brush = TBrush{clBtnFace, bsSolid};
    canvas_.FillRect(0, 0, width(), height());

    static const char* const names[] = {"None", "Simple", "Lowered", "Raised", "Embossed", "Engraved"};
    canvas_.Font.Name = QStringLiteral("Liberation Sans");
    canvas_.Font.SetPixelHeight(12);
    canvas_.Font.Color = clBtnText;
    for (int scheme = 0; scheme < 2; ++scheme) {
        const TReliefColors rc = ReliefColors(TColorScheme(scheme));
        for (int s = 0; s < 6; ++s) {
            const int x = 10 + s * 74, y = 10 + scheme * 56;
            canvas_.Brush = TBrush{scheme ? clWindow : clSilver, bsSolid};
            canvas_.Pen = TPen{};
            canvas_.Pen.Style = psClear;
            canvas_.Rectangle(x, y, x + 67, y + 47);
            canvas_.Pen.Style = psSolid;
            DrawFrame(canvas_, s, x, y, x + 65, y + 45, rc.Highlight, kFrameFace, rc.Shadow,
                      kFrameDark, kFrameDark);
            canvas_.Brush.Style = bsClear;
            canvas_.TextOut(x + 6, y + 16, QString::fromLatin1(names[s]));
        }
    }

    // Shapes and an ion-path colour ramp.
    const int y0 = 130;
    canvas_.Pen = TPen{};
    for (int i = 0; i <= 20; ++i) {
        canvas_.Pen.Color = MixColors(0xFFF0F0, 0x500000, i / 20.0);
        canvas_.Brush = TBrush{clWhite, bsClear};
        canvas_.Ellipse(20 + i * 4, y0 + i * 2, 200 - i * 4, y0 + 110 - i * 2);
    }
    canvas_.Pen = TPen{clBlack, 1, psDot};
    canvas_.Brush = TBrush{clWhite, bsSolid};
    canvas_.Rectangle(230, y0, 440, y0 + 110);
    canvas_.Pen = TPen{clRed, 1, psSolid};
    canvas_.Brush = TBrush{clYellow, bsSolid};
    canvas_.Polygon({{335, y0 + 10}, {420, y0 + 100}, {250, y0 + 100}});
    canvas_.Pen = TPen{clBlue, 3, psSolid};
    canvas_.MoveTo(240, y0 + 55);
    canvas_.LineTo(430, y0 + 55);
}

void TCanvasDemo::resizeEvent(QResizeEvent*)
{
    Render();
}

void TCanvasDemo::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, canvas_.Image());
}
