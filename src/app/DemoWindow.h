#pragma once
// What the program shows until the simulation's main window exists: the
// drawing layer and the components built so far, working.

#include <QWidget>

class TDemoWindow : public QWidget {
public:
    explicit TDemoWindow(QWidget* parent = nullptr);
};
