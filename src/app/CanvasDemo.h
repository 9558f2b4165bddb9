#pragma once
// A small window that shows what the drawing layer can do: the frame styles
// in both colour schemes, shapes and a colour blend. It is what the program
// shows until the simulation's main window exists.

#include "gfx/Canvas.h"

#include <QWidget>

class TCanvasDemo : public QWidget {
public:
    explicit TCanvasDemo(QWidget* parent = nullptr);

    // Renders the demonstration into the off-screen picture.
    void Render();
    const Canvas& Picture() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    Canvas canvas_;
};
