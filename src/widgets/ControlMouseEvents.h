#pragma once
// The mouse events that the display widgets publish: click, double click,
// button down and up, and moves, each a single handler.

#include <QMouseEvent>
#include <QObject>
#include <functional>

using TNotifyEvent = std::function<void(QObject* sender)>;
using TMouseButtonEvent = std::function<void(QObject* sender, Qt::MouseButton button,
                                             Qt::KeyboardModifiers shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(QObject* sender, Qt::KeyboardModifiers shift, int x, int y)>;

class TControlMouseEvents {
public:
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseButtonEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseButtonEvent OnMouseUp;

protected:
    // Called by the widget's event handlers. A click is a left button
    // released over the control after it was pressed there.
    void MousePressed(QObject* sender, const QMouseEvent& e);
    void MouseMoved(QObject* sender, const QMouseEvent& e);
    void MouseReleased(QObject* sender, const QMouseEvent& e, bool inside);
    void MouseDoubleClicked(QObject* sender, const QMouseEvent& e);

private:
    bool leftPressed_ = false;
};
