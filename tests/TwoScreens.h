#pragma once
// Drawing on a high-resolution screen. The tests that need one run in their
// own CTest entries on two off-screen screens (TwoScreens.json): "plain" of
// device pixel ratio 1 and "sharp" of ratio 2, so that one program draws
// the same thing at both ratios and compares. Elsewhere they are skipped.

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>

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

// "" when every device pixel of sharp (ratio 2) inside units (the whole
// picture when null) has the colour of its unit pixel in plain (ratio 1);
// otherwise where the first one differs.
inline std::string BlocksDiffer(const QImage& plain, const QImage& sharp, QRect units = {})
{
    if (sharp.size() != plain.size() * 2)
        return "sizes " + std::to_string(plain.width()) + " and " + std::to_string(sharp.width());
    if (units.isNull())
        units = plain.rect();
    for (int y = units.top() * 2; y <= units.bottom() * 2 + 1; ++y)
        for (int x = units.left() * 2; x <= units.right() * 2 + 1; ++x)
            if (sharp.pixel(x, y) != plain.pixel(x / 2, y / 2))
                return "device pixel " + std::to_string(x) + "," + std::to_string(y);
    return {};
}

// 2 x 2 blocks of the rectangle (in units) whose four pixels are not alike:
// detail finer than a unit, as text drawn at the device's resolution has.
inline int MixedBlocks(const QImage& sharp, const QRect& units)
{
    int n = 0;
    for (int y = units.top(); y <= units.bottom(); ++y)
        for (int x = units.left(); x <= units.right(); ++x) {
            const QRgb a = sharp.pixel(2 * x, 2 * y);
            n += sharp.pixel(2 * x + 1, 2 * y) != a || sharp.pixel(2 * x, 2 * y + 1) != a
                 || sharp.pixel(2 * x + 1, 2 * y + 1) != a;
        }
    return n;
}
