// The read-outs on a high-resolution screen draw in its device pixels: the
// dots and frames cover exactly the 2 x 2 blocks of their plain pixels, the
// numeric label's texts are drawn at the device's resolution.
#include "../TwoScreens.h"
#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

template <typename Widget>
struct Placed {
    QWidget window;
    Widget* w;
    Placed(QScreen* screen, const std::function<void(Widget&)>& setUp)
    {
        PlaceOn(window, screen);
        window.resize(300, 120);
        w = new Widget(&window);
        setUp(*w);
        window.show();
        w->repaint();
    }
};

} // namespace

TEST(AtRatio2, DotMatrixDotsAndFramesCoverTheBlocksOfThePlainPicture)
{
    IONPATH_NEED_TWO_SCREENS(plainScreen, sharpScreen);
    const struct {
        int dotSize, spacing;
        TFrameStyle frame;
        TRDBlockMode blocks;
    } cases[] = {
        {3, 1, fsLowered, rdbmOff}, {1, 1, fsRaised, rdbmOff}, {1, 0, fsNone, rdbmOn},
        {2, 2, fsEmbossed, rdbmRaster}, {4, 0, fsSimple, rdbmOn},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "dot size " << c.dotSize << " frame " << int(c.frame));
        const auto setUp = [&c](TRasterLab& lab) {
            lab.setGeometry(3, 4, 113, 49);
            lab.SetColorDotOn(clLime);
            lab.SetColorDotOff(TColor(0x008000));
            lab.SetColorLabBakG(clBlack);
            lab.SetDotSize(c.dotSize);
            lab.SetDotSpacing(c.spacing);
            lab.SetFrameStyle(c.frame);
            lab.SetCharBlockMode(c.blocks);
            lab.SetProportional(true);
            lab.SetAutoCenter(true);
            lab.SetText(QStringLiteral("28.0"));
        };
        Placed<TRasterLab> plain(plainScreen, setUp), sharp(sharpScreen, setUp);
        const Canvas& p = plain.w->Picture();
        const Canvas& s = sharp.w->Picture();
        EXPECT_EQ(p.DevicePixelRatio(), 1);
        EXPECT_EQ(s.DevicePixelRatio(), 2);
        EXPECT_EQ(BlocksDiffer(p.Image(), s.Image(), QRect(0, 0, 113, 49)), "");
        int lit = 0;
        for (int y = 0; y < 49; ++y)
            for (int x = 0; x < 113; ++x)
                lit += s.GetPixel(x, y) == clLime;
        EXPECT_GT(lit, 20);
    }
}

TEST(AtRatio2, NumericLabelBoxIsExactAndItsTextsSharp)
{
    IONPATH_NEED_TWO_SCREENS(plainScreen, sharpScreen);
    const auto setUp = [](TNumLab& lab) {
        lab.setGeometry(0, 0, 160, 28);
        lab.SetDisplayType(dtFixP);
        lab.SetPrecision(0);
        lab.SetLeftSpace(10);
        lab.SetLabelWidth(60);
        lab.SetRightText(QStringLiteral("[mT]"));
        lab.SetFrameStyle(fsLowered);
        lab.SetValue(4321);
    };
    Placed<TNumLab> plain(plainScreen, setUp), sharp(sharpScreen, setUp);
    const QImage& p = plain.w->Picture().Image();
    const QImage& s = sharp.w->Picture().Image();
    ASSERT_EQ(s.size(), QSize(320, 56));
    EXPECT_EQ(s.devicePixelRatio(), 2.0);
    // The box's frame lines (left edge, top edge) and the space left of it.
    EXPECT_EQ(BlocksDiffer(p, s, QRect(0, 0, 12, 28)), "");
    EXPECT_EQ(BlocksDiffer(p, s, QRect(10, 0, 62, 2)), "");
    // Number and unit: drawn in device pixels.
    EXPECT_GT(MixedBlocks(s, QRect(14, 3, 54, 20)), 5);
    EXPECT_GT(MixedBlocks(s, QRect(73, 3, 86, 20)), 5);
    // The picture is presented unscaled: what the window shows is it.
    const QImage shown = sharp.w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.size(), QSize(320, 56));
    EXPECT_EQ(shown, s.convertToFormat(QImage::Format_RGB32));
}
