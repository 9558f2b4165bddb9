#include "widgets/ControlMouseEvents.h"

namespace {
int X(const QMouseEvent& e) { return e.position().toPoint().x(); }
int Y(const QMouseEvent& e) { return e.position().toPoint().y(); }
} // namespace

void TControlMouseEvents::MousePressed(QObject* sender, const QMouseEvent& e)
{
    if (e.button() == Qt::LeftButton)
        leftPressed_ = true;
    if (OnMouseDown)
        OnMouseDown(sender, e.button(), e.modifiers(), X(e), Y(e));
}

void TControlMouseEvents::MouseMoved(QObject* sender, const QMouseEvent& e)
{
    if (OnMouseMove)
        OnMouseMove(sender, e.modifiers(), X(e), Y(e));
}

void TControlMouseEvents::MouseReleased(QObject* sender, const QMouseEvent& e, bool inside)
{
    const bool click = e.button() == Qt::LeftButton && leftPressed_ && inside;
    if (e.button() == Qt::LeftButton)
        leftPressed_ = false;
    if (click && OnClick)
        OnClick(sender);
    if (OnMouseUp)
        OnMouseUp(sender, e.button(), e.modifiers(), X(e), Y(e));
}

void TControlMouseEvents::MouseDoubleClicked(QObject* sender, const QMouseEvent& e)
{
    if (e.button() == Qt::LeftButton && OnDblClick)
        OnDblClick(sender);
    if (OnMouseDown)
        OnMouseDown(sender, e.button(), e.modifiers(), X(e), Y(e));
}
