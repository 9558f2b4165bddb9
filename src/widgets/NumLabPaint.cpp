#include "widgets/NumLabPaint.h"

#include <QRect>

namespace {

int AlignedX(TAlignment a, int leftX, int rightX, int centreX)
{
    switch (a) {
    case taLeftJustify: return leftX;
    case taRightJustify: return rightX;
    default: return centreX;
    }
}

void PaintBox(Canvas& c, const TNumLabLook& look, int h)
{
    const int l = look.LeftSpace, r = look.LeftSpace + look.LabelWidth + 2;
    c.Brush = TBrush{look.LabBakG, bsSolid};
    c.Pen = TPen{};
    if (look.Frame == fsNone || look.Frame == fsSimple) {
        c.Pen.Color = look.Frame == fsNone ? look.LabBakG : look.Shadow;
        c.Rectangle(l, 0, r, h);
        return;
    }
    c.Pen.Color = look.Frame == fsEmbossed ? look.Highlight : look.Shadow;
    c.Rectangle(l, 0, r, h - 1);
    TColor topLeft = look.Dark, bottomRight = look.Highlight; // fsLowered
    switch (look.Frame) {
    case fsRaised: topLeft = look.Highlight; bottomRight = look.Dark; break;
    case fsEmbossed: topLeft = look.Shadow; bottomRight = look.Shadow; break;
    case fsEngraved: topLeft = look.Highlight; bottomRight = look.Highlight; break;
    default: break;
    }
    c.Pen.Color = topLeft;
    c.Polyline({{l + 1, h - 3}, {l + 1, 1}, {l + look.LabelWidth + 1, 1}});
    c.Pen.Color = bottomRight;
    c.Polyline({{l + 1, h - 1}, {r, h - 1}, {r, 0}});
}

} // namespace

QString NumLabSampleText()
{
    return QStringLiteral("(8g]}ÜÄ§");
}

void PaintNumLab(Canvas& c, const TNumLabLook& look, const TNumLabContent& content)
{
    const int w = c.Width(), h = c.Height();
    const int ls = look.LeftSpace, lw = look.LabelWidth;
    c.Font = look.Font;
    c.Pen = TPen{look.OutBakG};
    c.Brush = TBrush{look.OutBakG, bsSolid};
    c.Rectangle(0, 0, w, h);

    const int y = (h - c.TextHeight(NumLabSampleText())) / 2;
    c.Font.Color = look.OutText;
    if (!content.LeftText.isEmpty()) {
        const int tw = c.TextWidth(content.LeftText);
        c.TextOut(AlignedX(look.LeftTextAlignment, 7, ls - tw - 5, (ls - tw) / 2), y, content.LeftText);
    }
    if (!content.RightText.isEmpty()) {
        const int tw = c.TextWidth(content.RightText);
        c.TextOut(AlignedX(look.RightTextAlignment, ls + lw + 7, w - tw - 6,
                           (w - (ls + lw + tw)) / 2 + ls + lw + 1),
                  y, content.RightText);
    }

    PaintBox(c, look, h);

    if (!content.ShowNumber)
        return;
    QString text = content.Number;
    int tw = c.TextWidth(text);
    if (content.MayOverflow && tw > lw - 6) {
        // The indicator is placed by its own width; it is not tested against
        // the box again, and the clipping cuts it where it does not fit.
        text = content.OverflowIndicator;
        tw = c.TextWidth(text);
    }
    c.Font.Color = look.LabText;
    c.Brush = TBrush{look.LabBakG, bsSolid};
    const QRect clip(QPoint(ls + 3, 2), QPoint(ls + lw - 2, h - 4)); // right and bottom excluded
    c.TextRect(clip, AlignedX(look.Alignment, ls + 4, ls + lw - tw - 2, ls + (lw - tw) / 2 + 2), y, text);
}
