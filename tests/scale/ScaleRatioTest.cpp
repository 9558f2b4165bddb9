// A stand-alone scale on a high-resolution screen: its own picture holds the
// screen's device pixels, and what the pixel rules draw covers exactly the
// 2 x 2 blocks of the pixels the same scale has on a plain screen.
#include "../TwoScreens.h"
#include "scale/Scale.h"

#include <gtest/gtest.h>

TEST(AtRatio2, AStandAloneScaleDrawsItsOwnPictureAtItsScreensRatio)
{
    IONPATH_NEED_TWO_SCREENS(plainScreen, sharpScreen);
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent ? "transparent" : "opaque");
        const auto place = [transparent](QScreen* screen, QWidget& window) {
            PlaceOn(window, screen);
            window.resize(420, 420);
            auto* s = new TScale(&window);
            s->setGeometry(0, 0, 400, 400);
            s->SetRangeHigh(99);
            s->SetTransparent(transparent);
            window.show();
            s->PaintNow();
            return s;
        };
        QWidget plainWindow, sharpWindow;
        TScale* plain = place(plainScreen, plainWindow);
        TScale* sharp = place(sharpScreen, sharpWindow);
        EXPECT_EQ(sharp->Picture().DevicePixelRatio(), 2);
        EXPECT_EQ(sharp->Picture().Width(), 400);
        const QImage p = plain->Picture().Image().convertToFormat(QImage::Format_ARGB32);
        const QImage s = sharp->Picture().Image().convertToFormat(QImage::Format_ARGB32);
        // Frame, ticks and axis line; the labels stand above the ticks.
        EXPECT_EQ(BlocksDiffer(p, s, QRect(0, 0, 400, 358)), "");
        EXPECT_EQ(BlocksDiffer(p, s, QRect(0, 371, 400, 29)), "");
        EXPECT_GT(MixedBlocks(s, QRect(0, 358, 400, 13)), 100);
    }
}
