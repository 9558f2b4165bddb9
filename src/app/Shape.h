#pragma once
// A static shape of the instrument drawing: a rectangle with a pen and a
// brush, drawn inside its bounds.

#include "gfx/Canvas.h"

#include <QWidget>

class TShape : public QWidget {
public:
    TShape(QWidget* parent, TColor brush, TColor pen, int penWidth);

    // The part of the shape inside its pen, in the parent's coordinates: the
    // room a caption drawn on the shape has.
    QRect Inside() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TColor brush_, pen_;
    int penWidth_;
    Canvas canvas_;
};
