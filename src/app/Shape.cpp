#include "app/Shape.h"

#include <QPainter>

TShape::TShape(QWidget* parent, TColor brush, TColor pen, int penWidth)
    : QWidget(parent), brush_(brush), pen_(pen), penWidth_(penWidth)
{
}

QRect TShape::Inside() const
{
    return geometry().adjusted(penWidth_, penWidth_, -penWidth_, -penWidth_);
}

void TShape::paintEvent(QPaintEvent*)
{
    canvas_.SetDevicePixelRatio(Canvas::WholeRatio(devicePixelRatioF()));
    canvas_.Resize(width(), height());
    canvas_.Pen = TPen{pen_, penWidth_, psInsideFrame};
    canvas_.Brush = TBrush{brush_, bsSolid};
    canvas_.Rectangle(0, 0, width(), height());
    QPainter p(this);
    p.drawImage(0, 0, canvas_.Image());
}
