// The chart on a high-resolution screen: its pictures hold the screen's
// device pixels; whatever the pixel rules draw covers exactly the 2 x 2
// blocks of the pixels the same chart has on a plain screen, text is drawn
// in device pixels, and copies of the chart stay in the chart's own pixels.
#include "../TwoScreens.h"
#include "chart/RChart.h"

#include <QCoreApplication>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A chart inside a window on the given screen.
struct PlacedChart {
    QWidget window;
    TRChart* c;
    PlacedChart(QScreen* screen, const std::function<void(TRChart&)>& setUp)
    {
        PlaceOn(window, screen);
        window.resize(260, 200);
        c = new TRChart(&window);
        setUp(*c);
        window.show();
        c->repaint();
    }
};

// Items of every kind the pixel rules draw, a dotted grid and a dashed
// cross-hair; no text anywhere, the axes hidden.
void ItemsWithoutText(TRChart& c, bool fast)
{
    c.SetControlBounds(5, 5, 240, 180);
    c.SetMarginLeft(12);
    c.SetMarginTop(9);
    c.Scale1X()->SetVisible(false);
    c.Scale1Y()->SetVisible(false);
    c.SetLayerRange(1, 0, 100, 0, 100);
    c.SetFastPaths(fast);
    c.SetGridStyle(gsDotLines);
    c.SetGridDx(20);
    c.SetGridDy(25);
    c.CrossHair1()->SetMode(chBoth);
    c.CrossHair1()->SetLineType(psDash);
    c.CrossHair1()->SetPosX(37);
    c.CrossHair1()->SetPosY(61);
    c.SetDataColor(clRed);
    c.AddLine(3, 4, 96, 81);
    c.AddLine(10, 90, 10, 90.2); // a line of one pixel
    c.SetFillColor(clYellow);
    c.AddRectangle(12, 14, 41, 33);
    c.SetTransparentFill(true);
    c.AddEllipse(55, 50, 30, 21);
    c.SetTransparentFill(false);
    c.AddEllipse(20, 70, 8, 12);
    c.SetDataColor(clBlue);
    for (int m : {0, 1, 3, 5, 8, 9, 12})
        c.AddMark(8 + 7 * m, 40, m);
    c.AddMoveTo(60, 10);
    c.AddDrawTo(70, 30);
    c.AddDrawTo(90, 12);
    c.SetPenStyle(psDot);
    c.AddLine(5, 95, 95, 60);
    c.SetPenStyle(psSolid);
    c.AddFramedBox(70, 70, 92, 95, fsRaised, clGray, clWhite);
    c.AddBar3D(30, 45, 45, 60, 45, 6);
    c.AddArrow(80, 40, 95, 55, 6);
}

} // namespace

TEST(AtRatio2, ItemsGridAndCrossHairCoverTheBlocksOfThePlainPicture)
{
    IONPATH_NEED_TWO_SCREENS(plainScreen, sharpScreen);
    for (bool fast : {true, false}) {
        SCOPED_TRACE(fast ? "fast paths" : "canvas only");
        const auto setUp = [fast](TRChart& c) { ItemsWithoutText(c, fast); };
        PlacedChart plain(plainScreen, setUp);
        PlacedChart sharp(sharpScreen, setUp);
        ASSERT_EQ(plain.c->devicePixelRatioF(), 1.0);
        ASSERT_EQ(sharp.c->devicePixelRatioF(), 2.0);
        EXPECT_EQ(sharp.c->DataBitmap().DevicePixelRatio(), 2);
        EXPECT_EQ(sharp.c->DataBitmap().Width(), plain.c->DataBitmap().Width());
        EXPECT_EQ(BlocksDiffer(plain.c->DataBitmap().Image(), sharp.c->DataBitmap().Image()), "");
        EXPECT_EQ(BlocksDiffer(plain.c->ControlBitmap().Image(), sharp.c->ControlBitmap().Image()), "");
        EXPECT_EQ(sharp.c->Presented().devicePixelRatio(), 2.0);
        EXPECT_EQ(BlocksDiffer(plain.c->Presented(), sharp.c->Presented()), "");

        // Items added later are drawn into the data area alone, at the
        // screen's ratio all the same.
        for (PlacedChart* p : {&plain, &sharp}) {
            p->c->SetDataColor(TColor(0x008000));
            p->c->AddLine(0, 50, 100, 52);
            p->c->AddEllipse(40, 20, 10, 10);
            p->c->ShowItems();
        }
        EXPECT_EQ(BlocksDiffer(plain.c->DataBitmap().Image(), sharp.c->DataBitmap().Image()), "");
        EXPECT_EQ(BlocksDiffer(plain.c->Presented(), sharp.c->Presented()), "");
        EXPECT_NE(sharp.c->Presented().pixel(2 * 150, 2 * 89), qRgb(0, 0, 0)); // sanity: not blank
    }
}

TEST(AtRatio2, TextIsDrawnInDevicePixelsAndCopiesStayInChartPixels)
{
    IONPATH_NEED_TWO_SCREENS(plainScreen, sharpScreen);
    const auto setUp = [](TRChart& c) {
        c.SetControlBounds(0, 0, 250, 190);
        c.SetMarginLeft(40);
        c.SetMarginBottom(30);
        c.SetMarginTop(22);
        c.SetCaption(QStringLiteral("Mass Spectrum"));
        c.Scale1X()->SetVisible(true);
        c.Scale1Y()->SetVisible(true);
        c.SetLayerRange(1, 0, 250, 0, 100);
        c.SetDataColor(clMaroon);
        c.AddLine(20, 0, 20, 80);
        c.AddText(120, 50, 12, QStringLiteral("peak 6.9"));
    };
    PlacedChart plain(plainScreen, setUp);
    PlacedChart sharp(sharpScreen, setUp);

    // The caption's band and the axis labels below the data area show text
    // drawn at the device's resolution: blocks that are not alike.
    const QImage& control = sharp.c->ControlBitmap().Image();
    EXPECT_GT(MixedBlocks(control, QRect(0, 0, 250, 20)), 20);
    EXPECT_GT(MixedBlocks(control, QRect(40, 162, 210, 27)), 20);
    EXPECT_GT(MixedBlocks(sharp.c->DataBitmap().Image(), QRect(QPoint(0, 0), QSize(sharp.c->DataBitmap().Width(),
                                                                                   sharp.c->DataBitmap().Height()))),
              5);

    // A copy for the clipboard, a file or a page is the plain screen's
    // picture, whatever screen the chart is on; the window keeps its sharp one.
    const QImage copy = sharp.c->RenderPicture();
    const QImage plainCopy = plain.c->RenderPicture();
    EXPECT_EQ(copy.size(), QSize(250, 190));
    EXPECT_EQ(copy.devicePixelRatio(), 1.0);
    EXPECT_EQ(copy.convertToFormat(QImage::Format_RGB32), plainCopy.convertToFormat(QImage::Format_RGB32));
    const QImage paper = sharp.c->RenderPicture(true, 300);
    EXPECT_EQ(paper.devicePixelRatio(), 1.0);
    EXPECT_EQ(paper.convertToFormat(QImage::Format_RGB32),
              plain.c->RenderPicture(true, 300).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(sharp.c->ControlBitmap().DevicePixelRatio(), 2);
    EXPECT_EQ(sharp.c->DataBitmap().DevicePixelRatio(), 2);
    sharp.c->AddLine(200, 0, 200, 90); // the data area alone, still sharp
    sharp.c->ShowItems();
    EXPECT_EQ(sharp.c->Presented().devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.c->Presented().size(), QSize(500, 380));
}

TEST(AtRatio2, MovingToAnotherScreenRedrawsAtItsRatio)
{
    IONPATH_NEED_TWO_SCREENS(plainScreen, sharpScreen);
    PlacedChart moved(plainScreen, [](TRChart& c) { ItemsWithoutText(c, true); });
    PlacedChart sharp(sharpScreen, [](TRChart& c) { ItemsWithoutText(c, true); });
    const QImage before = moved.c->Presented();
    EXPECT_EQ(before.devicePixelRatio(), 1.0);
    moved.window.setScreen(sharpScreen);
    moved.window.move(sharpScreen->geometry().topLeft() + QPoint(40, 40));
    ASSERT_EQ(moved.c->devicePixelRatioF(), 2.0);
    QCoreApplication::processEvents(); // the window learns of its new screen and repaints
    EXPECT_EQ(moved.c->Presented().devicePixelRatio(), 2.0);
    EXPECT_EQ(moved.c->Presented(), sharp.c->Presented());
    EXPECT_EQ(BlocksDiffer(before, moved.c->Presented()), "");
}
