#include "gfx/Canvas.h"
#include "PixelSet.h"

#include <QApplication>
#include <QPalette>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(Canvas, LineLeavesOutItsEndPixelInEveryDirection)
{
    struct Row { QPoint a, b; };
    const Row rows[] = {
        {{5, 5}, {12, 5}}, {{12, 5}, {5, 5}}, {{5, 5}, {5, 12}}, {{5, 12}, {5, 5}},
        {{5, 5}, {12, 12}}, {{12, 12}, {5, 5}}, {{5, 12}, {12, 5}}, {{12, 5}, {5, 12}},
        {{2, 3}, {15, 7}}, {{15, 7}, {2, 3}}, {{3, 2}, {7, 15}}, {{7, 15}, {3, 2}},
    };
    for (const Row& r : rows) {
        Canvas c(20, 20);
        c.Pen.Color = clRed;
        c.MoveTo(r.a.x(), r.a.y());
        c.LineTo(r.b.x(), r.b.y());
        const PixelSet px = PixelsNot(c, clWhite);
        const int n = std::max(std::abs(r.b.x() - r.a.x()), std::abs(r.b.y() - r.a.y()));
        SCOPED_TRACE(testing::Message() << r.a.x() << "," << r.a.y() << " -> " << r.b.x() << "," << r.b.y());
        EXPECT_EQ(int(px.size()), n);
        EXPECT_TRUE(px.count({r.a.x(), r.a.y()}));
        EXPECT_FALSE(px.count({r.b.x(), r.b.y()}));
        EXPECT_EQ(c.PenPos(), r.b);
    }
}

TEST(Canvas, LineToTheCurrentPositionDrawsNothingAndPolylineJoinsWithoutGaps)
{
    Canvas c(10, 10);
    c.MoveTo(4, 4);
    c.LineTo(4, 4);
    EXPECT_TRUE(PixelsNot(c, clWhite).empty());

    c.Pen.Color = clBlack;
    c.Polyline({{1, 1}, {6, 1}, {6, 6}});
    const PixelSet px = PixelsNot(c, clWhite);
    EXPECT_EQ(px.size(), 10u);
    EXPECT_TRUE(px.count({6, 1}));  // the joint is drawn by the second segment
    EXPECT_FALSE(px.count({6, 6})); // the last point is not
}

TEST(Canvas, RectangleCoversLeftTopAndExcludesRightBottom)
{
    Canvas c(10, 10);
    c.Pen.Color = clBlack;
    c.Brush.Color = clRed;
    c.Rectangle(1, 2, 6, 7);
    const std::vector<std::string> expected = {
        "..........",
        "..........",
        ".#####....",
        ".#RRR#....",
        ".#RRR#....",
        ".#RRR#....",
        ".#####....",
        "..........",
    };
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const char e = expected[y][x];
            const TColor want = e == '#' ? clBlack : e == 'R' ? clRed : clWhite;
            EXPECT_EQ(c.GetPixel(x, y), want) << x << "," << y;
        }
}

TEST(Canvas, RectangleCornersInAnyOrderAndWithoutPen)
{
    Canvas a(10, 10), b(10, 10);
    a.Pen.Color = b.Pen.Color = clBlue;
    a.Rectangle(1, 1, 7, 6);
    b.Rectangle(7, 6, 1, 1);
    EXPECT_EQ(PixelsNot(a, clWhite), PixelsNot(b, clWhite));

    Canvas c(10, 10);
    c.Pen.Style = psClear;
    c.Brush.Color = clRed;
    c.Rectangle(1, 1, 5, 5); // one pixel smaller each way without a pen
    EXPECT_EQ(PixelsNot(c, clWhite).size(), 9u);
    EXPECT_EQ(c.GetPixel(3, 3), clRed);
    EXPECT_EQ(c.GetPixel(4, 4), clWhite);

    Canvas d(10, 10);
    d.Brush.Color = clRed;
    d.FillRect(2, 3, 5, 4);
    EXPECT_EQ(PixelsNot(d, clWhite), (PixelSet{{2, 3}, {3, 3}, {4, 3}}));
}

TEST(Canvas, EllipseStaysInsideItsBoxAndIsRound)
{
    Canvas c(12, 12);
    c.Pen.Color = clBlack;
    c.Brush.Style = bsClear;
    c.Ellipse(1, 1, 6, 6);
    EXPECT_EQ(Picture(c, 7, 7, clBlack, clWhite), (std::vector<std::string>{
        ".......",
        "..###..",
        ".#...#.",
        ".#...#.",
        ".#...#.",
        "..###..",
        ".......",
    }));

    Canvas f(12, 12);
    f.Pen.Color = clBlack;
    f.Brush.Color = clRed;
    f.Ellipse(2, 2, 9, 9); // 7 x 7
    for (const auto& [x, y] : PixelsNot(f, clWhite)) {
        EXPECT_GE(x, 2);
        EXPECT_LT(x, 9);
        EXPECT_GE(y, 2);
        EXPECT_LT(y, 9);
        // symmetric about the centre pixel (5, 5)
        EXPECT_EQ(f.GetPixel(x, y), f.GetPixel(10 - x, y));
        EXPECT_EQ(f.GetPixel(x, y), f.GetPixel(x, 10 - y));
    }
    EXPECT_EQ(f.GetPixel(5, 5), clRed);   // brush inside
    EXPECT_EQ(f.GetPixel(2, 5), clBlack); // outline at the box edge
    EXPECT_EQ(f.GetPixel(8, 5), clBlack);
    EXPECT_EQ(f.GetPixel(2, 2), clWhite); // corners stay free
}

TEST(Canvas, EllipseFarLargerThanThePictureDrawsOnlyItsVisibleArc)
{
    Canvas c(50, 50);
    c.Pen.Color = clBlack;
    c.Brush.Style = bsClear;
    c.Ellipse(-30000, -30000, 30000, 30000); // centre far outside, radius 30000
    EXPECT_TRUE(PixelsNot(c, clWhite).empty());
    // A huge flat ellipse whose right end lies in the picture: the visible arc
    // ends just inside the box and is symmetric about the centre line y = 25.
    c.Ellipse(-19975, 0, 25, 50);
    int rightmost = -1;
    for (int x = 0; x < 50; ++x) {
        EXPECT_EQ(c.GetPixel(x, 24), c.GetPixel(x, 25)) << x;
        if (c.GetPixel(x, 24) == clBlack)
            rightmost = x;
    }
    EXPECT_GE(rightmost, 20);
    EXPECT_LE(rightmost, 24);
}

TEST(Canvas, PolygonIsFilledAndOutlinedThroughEveryVertex)
{
    Canvas c(12, 12);
    c.Pen.Color = clBlack;
    c.Brush.Color = clRed;
    c.Polygon({{3, 5}, {5, 7}, {7, 5}, {5, 3}}); // diamond of arm 2
    EXPECT_EQ(Picture(c, 9, 9, clBlack, clWhite), (std::vector<std::string>{
        ".........",
        ".........",
        ".........",
        ".....#...",
        "....#?#..",
        "...#???#.",
        "....#?#..",
        ".....#...",
        ".........",
    }));
    EXPECT_EQ(c.GetPixel(5, 5), clRed);

    Canvas open(12, 12);
    open.Brush.Style = bsClear;
    open.Polygon({{3, 5}, {5, 7}, {7, 5}, {5, 3}});
    EXPECT_EQ(open.GetPixel(5, 5), clWhite);
    EXPECT_EQ(PixelsNot(open, clWhite).size(), 8u);
}

TEST(Canvas, ExclusiveOrDrawingTwiceRestoresThePicture)
{
    Canvas c(40, 30);
    c.Brush.Color = 0x336699;
    c.FillRect(0, 0, 20, 30);
    const QImage before = c.Image().copy();
    c.Pen.Mode = pmXor;
    c.Pen.Color = 0xFFFFFF;
    for (int pass = 0; pass < 2; ++pass) {
        c.MoveTo(0, 15);
        c.LineTo(40, 15);
        c.Brush.Style = bsClear;
        c.Rectangle(5, 5, 35, 25);
        c.Ellipse(8, 8, 30, 22);
        c.Pen.Width = 3;
        c.MoveTo(2, 2);
        c.LineTo(37, 27);
        c.Pen.Width = 1;
        if (pass == 0) {
            EXPECT_NE(c.Image(), before);
        }
    }
    EXPECT_EQ(c.Image(), before);
    EXPECT_EQ(c.GetPixel(10, 15), 0x336699u); // alpha kept opaque, colour back
}

TEST(Canvas, DottedPenFillsGapsWithTheBrushUnlessClear)
{
    Canvas c(20, 3);
    c.Pen.Style = psDot;
    c.Pen.Color = clBlack;
    c.Brush.Color = clRed;
    c.MoveTo(0, 1);
    c.LineTo(12, 1);
    EXPECT_EQ(Picture(c, 13, 3, clBlack, clWhite)[1], "###???###???.");
    EXPECT_EQ(c.GetPixel(4, 1), clRed);

    c.Brush.Style = bsClear;
    c.MoveTo(0, 2);
    c.LineTo(12, 2);
    EXPECT_EQ(Picture(c, 13, 3, clBlack, clWhite)[2], "###...###....");

    c.Pen.Style = psClear;
    c.MoveTo(0, 0);
    c.LineTo(12, 0);
    EXPECT_EQ(Picture(c, 13, 3, clBlack, clWhite)[0], ".............");
}

TEST(Canvas, TextIsPlacedByTheTopLeftCornerOfItsBox)
{
    Canvas c(120, 60);
    c.Font.Name = QStringLiteral("DejaVu Sans");
    c.Font.SetPixelHeight(16);
    c.Font.Color = clBlack;
    c.Brush.Style = bsClear;
    c.TextOut(30, 20, QStringLiteral("Hg"));
    const int w = c.TextWidth(QStringLiteral("Hg"));
    const int h = c.TextHeight(QStringLiteral("Hg"));
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    const PixelSet px = PixelsNot(c, clWhite);
    ASSERT_FALSE(px.empty());
    int minY = 1000, maxY = -1, minX = 1000;
    for (const auto& [x, y] : px) {
        EXPECT_GE(x, 30);
        EXPECT_LT(x, 30 + w);
        EXPECT_GE(y, 20);
        EXPECT_LT(y, 20 + h);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        minX = std::min(minX, x);
    }
    EXPECT_LE(minX, 32);         // the H starts at the left edge
    EXPECT_LE(minY, 20 + h / 2); // ascender in the upper half
    EXPECT_GT(maxY, 20 + h / 2); // descender of the g in the lower half

    Canvas opaque(120, 60);
    opaque.Font = c.Font;
    opaque.Brush.Color = clYellow;
    opaque.TextOut(30, 20, QStringLiteral("Hg"));
    EXPECT_EQ(opaque.GetPixel(30, 20), clYellow);
    EXPECT_EQ(opaque.GetPixel(30 + w - 1, 20 + h - 1), clYellow);
    EXPECT_EQ(opaque.GetPixel(30 + w, 20), clWhite);
    EXPECT_EQ(opaque.GetPixel(29, 20), clWhite);
}

TEST(Canvas, TextRectClipsAndFillsItsRectangle)
{
    Canvas c(100, 40);
    c.Font.SetPixelHeight(20);
    c.Font.Color = clBlack;
    c.Brush.Color = clYellow;
    c.TextRect(QRect(10, 10, 15, 12), 10, 5, QStringLiteral("WWWW"));
    for (const auto& [x, y] : PixelsNot(c, clWhite)) {
        EXPECT_GE(x, 10);
        EXPECT_LT(x, 25);
        EXPECT_GE(y, 10);
        EXPECT_LT(y, 22);
    }
    EXPECT_EQ(c.GetPixel(24, 10), clYellow);
}

TEST(Canvas, SystemColoursFollowThePaletteWhenDrawn)
{
    const QPalette keep = QApplication::palette();
    QPalette p = keep;
    p.setColor(QPalette::Button, QColor(10, 20, 30));
    QApplication::setPalette(p);
    Canvas c(4, 4);
    c.SetPixel(1, 1, clBtnFace);
    EXPECT_EQ(c.GetPixel(1, 1), 0x1E140Au);
    p.setColor(QPalette::Button, QColor(200, 100, 50));
    QApplication::setPalette(p);
    c.SetPixel(2, 2, clBtnFace);
    EXPECT_EQ(c.GetPixel(2, 2), 0x3264C8u);
    QApplication::setPalette(keep);
}

TEST(Canvas, DrawingOutsideThePictureIsCutOff)
{
    Canvas c(10, 10);
    c.Pen.Color = clBlack;
    c.MoveTo(-30000, 5);
    c.LineTo(30000, 5);
    c.Rectangle(-100, -100, 3, 3);
    c.SetPixel(-1, 0, clBlack);
    c.SetPixel(10, 0, clBlack);
    EXPECT_EQ(c.GetPixel(0, 5), clBlack);
    EXPECT_EQ(c.GetPixel(9, 5), clBlack);
    EXPECT_EQ(c.GetPixel(2, 0), clBlack);
    EXPECT_EQ(c.GetPixel(-1, 0), TColor(-1));

    Canvas empty(0, 0); // nothing to draw on, and nothing fails
    empty.Rectangle(0, 0, 5, 5);
    empty.TextOut(0, 0, QStringLiteral("x"));
    EXPECT_EQ(empty.Width(), 0);
}

TEST(Canvas, ResizeKeepsWhatFitsAndStretchDrawScales)
{
    Canvas c(4, 4);
    c.SetPixel(1, 1, clRed);
    c.Resize(8, 2);
    EXPECT_EQ(c.GetPixel(1, 1), clRed);
    EXPECT_EQ(c.GetPixel(7, 1), clWhite);

    QImage src(2, 2, QImage::Format_RGB32);
    src.fill(QColor(0, 0, 255));
    Canvas d(10, 10);
    d.StretchDraw(2, 2, 8, 6, src);
    EXPECT_EQ(PixelsNot(d, clWhite).size(), 24u);
    EXPECT_EQ(d.GetPixel(7, 5), clBlue);
    d.Draw(0, 0, src);
    EXPECT_EQ(d.GetPixel(1, 1), clBlue);
}
