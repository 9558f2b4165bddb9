#pragma once
// Drawing on a high-resolution screen. The tests that need one run in their
// own CTest entries on two off-screen screens (TwoScreens.json): "plain" of
// device pixel ratio 1 and "sharp" of ratio 2, so that one program draws
// the same thing at both ratios and compares. Elsewhere they are skipped.

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

inline QScreen* ScreenOfRatio(qreal ratio)
{
    for (QScreen* s : QGuiApplication::screens())
        if (s->devicePixelRatio() == ratio)
            return s;
    return nullptr;
}

// Puts a top-level widget on the screen before it is shown.
inline void PlaceOn(QWidget& topLevel, QScreen* screen)
{
    topLevel.setScreen(screen);
    topLevel.move(screen->geometry().topLeft() + QPoint(20, 20));
}

#define IONPATH_NEED_TWO_SCREENS(plain, sharp)                                                                   \
    QScreen* plain = ScreenOfRatio(1);                                                                          \
    QScreen* sharp = ScreenOfRatio(2);                                                                          \
    if (!plain || !sharp)                                                                                       \
        GTEST_SKIP() << "runs on the two screens of its own test entry"
