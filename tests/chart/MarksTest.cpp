#include "chart/Marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kSize = 21;
constexpr int kCentre = 10;
constexpr TColor kInk = clRed;
constexpr TColor kBrush = clYellow;

Canvas MarkedCanvas(int mark, bool printer, TBrushStyle brushStyle = bsSolid)
{
    Canvas c(kSize, kSize);
    c.SetPrinter(printer, 600);
    c.Pen.Color = kInk;
    c.Brush.Color = kBrush;
    c.Brush.Style = brushStyle;
    DrawMark(c, mark, kCentre, kCentre);
    return c;
}

// The square of radius r around the centre, one text row per pixel row:
// '#' pen colour, '.' untouched, '?' anything else (a brush leak, say).
std::string Picture(const Canvas& c, int r)
{
    std::string s;
    for (int y = kCentre - r; y <= kCentre + r; ++y) {
        for (int x = kCentre - r; x <= kCentre + r; ++x) {
            const TColor p = c.GetPixel(x, y);
            s += p == kInk ? '#' : p == clWhite ? '.' : '?';
        }
        s += '\n';
    }
    return s;
}

std::string Rows(const std::vector<std::string>& rows)
{
    std::string s;
    for (const std::string& r : rows)
        s += r + '\n';
    return s;
}

int InkCount(const Canvas& c)
{
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            n += c.GetPixel(x, y) == kInk;
    return n;
}

struct MarkCase {
    int mark;
    bool printer;
    std::vector<std::string> rows; // centred on the mark
};

} // namespace

TEST(DrawMark, SymbolsArePixelExact)
{
    const std::vector<MarkCase> cases = {
        {0, false, {".....", ".....", "..#..", ".....", "....."}},
        {1, false, {".......", ".......", "...#...", "..###..", "...#...", ".......", "......."}},
        // Printer: two lines of arm 2, each without its end pixel.
        {1, true, {".......", "...#...", "...#...", ".####..", "...#...", ".......", "......."}},
        {3, false, {"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."}},
        {4, false, {".......", ".......", "..#.#..", "...#...", "..#.#..", ".......", "......."}},
        {4, true, {".......", ".#.....", "..#.#..", "...#...", "..#.#..", ".#.....", "......."}},
        {6, false, {"#.....#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#.....#"}},
        {7, false, {".....", ".###.", ".###.", ".###.", "....."}},
        {9, false, {".........", ".#######.", ".#######.", ".#######.", ".#######.", ".#######.", ".#######.",
                    ".#######.", "........."}},
        {10, false, {".....", ".###.", ".#.#.", ".###.", "....."}},
        {13, false, {".....", "..#..", ".###.", "..#..", "....."}},
        {16, false, {".......", "..###..", ".#...#.", ".#...#.", ".#...#.", "..###..", "......."}},
        {17, false, {".........", "...###...", "..#...#..", ".#.....#.", ".#.....#.", ".#.....#.", "..#...#..",
                     "...###...", "........."}},
        {18, false, {"#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#"}},
        {18, true, {"#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#"}},
        {20, false, {".......", ".......", ".......", "...#...", "..#.#..", ".#...#.", "......."}},
        {25, false, {"##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###", "##...##"}},
        // Off-centre: a 4 x 4 box to the upper left of the point.
        {27, false, {".......", "..##...", ".#..#..", ".#..#..", "..##...", ".......", "......."}},
        {29, false, {".......", ".......", ".......", ".#####.", "..###..", "...#...", "......."}},
        {31, false, {".......", ".......", ".......", ".#####.", "..#.#..", "...#...", "......."}},
        {33, false, {"...........", "...........", ".#########.", "..#.....#..", "..#.....#..", "...#...#...",
                     "...#...#...", "....#.#....", "....#.#....", ".....#.....", "..........."}},
        {37, false, {".......#.......", ".......#.......", ".......#.......", ".......#.......",
                     ".......#.......", ".......#.......", ".......#.......", "....#######....",
                     "...............", "...............", "...............", "...............",
                     "...............", "...............", "..............."}},
        {38, false, {".........", ".........", ".#######.", "....#....", "....#....", "....#....", ".#######.",
                     ".........", "........."}},
        {39, false, {".........", "...###...", "..#.#.#..", ".#..#..#.", ".#######.", ".#..#..#.", "..#.#.#..",
                     "...###...", "........."}},
        {41, false, {".......", ".....##", "...####", ".######", "...####", ".....##", "......."}},
    };
    for (const MarkCase& k : cases) {
        const int r = int(k.rows.size()) / 2;
        const Canvas c = MarkedCanvas(k.mark, k.printer);
        EXPECT_EQ(Picture(c, r), Rows(k.rows)) << "mark " << k.mark << (k.printer ? " on the printer" : "");
    }
}

TEST(DrawMark, ScreenAndPrinterDifferOnlyForThePixelPatterns)
{
    for (int m = 0; m < 48; ++m) {
        const bool patterned = (m >= 1 && m <= 6) || m == 25; // 18 looks the same with a thin pen
        const bool same = Picture(MarkedCanvas(m, false), 9) == Picture(MarkedCanvas(m, true), 9);
        EXPECT_EQ(same, !patterned) << "mark " << m;
    }
}

TEST(DrawMark, EveryShapeIsInPenColourAndLeavesTheBrushColour)
{
    for (bool printer : {false, true}) {
        for (int m = 0; m < 48; ++m) {
            Canvas c(kSize, kSize);
            c.SetPrinter(printer, 600);
            c.Pen.Color = kInk;
            c.Brush.Color = kBrush;
            c.MoveTo(2, 3);
            DrawMark(c, m, kCentre, kCentre);
            EXPECT_EQ(c.Brush.Color, kBrush) << "mark " << m;
            EXPECT_EQ(c.PenPos(), QPoint(2, 3)) << "mark " << m;
            EXPECT_EQ(c.Pen.Color, kInk) << "mark " << m;
            EXPECT_GT(InkCount(c), 0) << "mark " << m;
            EXPECT_EQ(Picture(c, kCentre).find('?'), std::string::npos) << "mark " << m << "\n" << Picture(c, kCentre);
        }
    }
}

TEST(DrawMark, OpenShapesLeaveTheInsideAndASolidBrush)
{
    // Entered with a clear brush: open shapes switch it back to solid.
    for (int m : {16, 17, 27, 31, 32, 33, 35, 39, 40, 42, 44, 46}) {
        Canvas c = MarkedCanvas(m, false, bsClear);
        EXPECT_EQ(c.Brush.Style, bsSolid) << "mark " << m;
        EXPECT_NE(c.GetPixel(kCentre + 1, kCentre + 1), kBrush) << "mark " << m;
        if (m != 39) {
            EXPECT_EQ(c.GetPixel(kCentre, kCentre), m == 31 || m == 32 ? kInk : clWhite) << "mark " << m;
        }
    }
    // Filled shapes are filled whatever the brush style was.
    for (int m : {7, 13, 24, 26, 28, 29, 34, 36, 41, 43, 45, 47}) {
        Canvas c = MarkedCanvas(m, false, bsClear);
        EXPECT_EQ(c.GetPixel(kCentre, kCentre), kInk) << "mark " << m;
        EXPECT_EQ(c.GetPixel(kCentre, kCentre + 1), kInk) << "mark " << m;
    }
    // Line symbols leave the brush style alone.
    for (int m : {0, 10, 19, 20, 37, 38})
        EXPECT_EQ(MarkedCanvas(m, false, bsClear).Brush.Style, bsClear) << "mark " << m;
}

TEST(DrawMark, SymbolsAtTheEdgesAreCutOff)
{
    for (int m = 0; m < 256; m += 3) {
        Canvas c(4, 4);
        c.Pen.Color = kInk;
        for (QPoint p : {QPoint(0, 0), QPoint(3, 3), QPoint(-3, 2), QPoint(30000, -30000)})
            DrawMark(c, m, p.x(), p.y());
    }
    Canvas c(4, 4);
    c.Pen.Color = kInk;
    DrawMark(c, 9, 0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(c.GetPixel(x, y), kInk) << x << "," << y;
}

namespace {

// The character as a caption would show it, for comparison.
Canvas ReferenceCharacter(const QString& text)
{
    Canvas c(40, 40);
    c.Font.Name = QStringLiteral("Liberation Sans");
    c.Font.Height = -16;
    c.Font.Color = kInk;
    c.Brush.Style = bsClear;
    c.TextOut(20 - c.TextWidth(text) / 2, 20 - c.TextHeight(text) / 2, text);
    return c;
}

Canvas CharacterMark(int code)
{
    Canvas c(40, 40);
    c.Font.Name = QStringLiteral("Liberation Sans");
    c.Font.Height = -16;
    c.Font.Color = clBlue;
    c.Pen.Color = kInk;
    c.Brush.Color = kBrush;
    DrawMark(c, code, 20, 20);
    return c;
}

} // namespace

TEST(DrawMark, CharacterMarksAreCentredInPenColour)
{
    const Canvas c = CharacterMark('A');
    int x0 = 40, x1 = -1, y0 = 40, y1 = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const TColor p = c.GetPixel(x, y);
            ASSERT_TRUE(p == kInk || p == clWhite) << "no background box, no font colour at " << x << "," << y;
            if (p == kInk) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
        }
    ASSERT_GE(x1, 0) << "nothing drawn";
    EXPECT_LE(std::abs(x0 + x1 - 40), 2) << "ink from x " << x0 << " to " << x1;
    EXPECT_LE(std::abs(y0 + y1 - 40), 4) << "ink from y " << y0 << " to " << y1;
    EXPECT_GE(y1 - y0, 8) << "a letter of 16 pixels";
    EXPECT_EQ(Picture(c, 19), Picture(ReferenceCharacter(QStringLiteral("A")), 19)) << Picture(c, 19);
}

TEST(DrawMark, CharacterMarksAreWindows1252AndKeepTheCanvas)
{
    struct Code {
        int code;
        QString text;
    };
    const std::vector<Code> cases = {
        {'0', QStringLiteral("0")},
        {0x80, QString(QChar(0x20AC))}, // euro sign
        {0x99, QString(QChar(0x2122))}, // trade mark sign
        {0x9F, QString(QChar(0x0178))}, // Y with diaeresis
        {0xE4, QString(QChar(0x00E4))}, // a with diaeresis
    };
    for (const Code& k : cases) {
        Canvas c = CharacterMark(k.code);
        EXPECT_EQ(Picture(c, 19), Picture(ReferenceCharacter(k.text), 19)) << "code " << k.code << "\n" << Picture(c, 19);
        EXPECT_EQ(c.Font.Color, clBlue);
        EXPECT_EQ(c.Brush.Style, bsSolid);
        EXPECT_EQ(c.Brush.Color, kBrush);
    }
}
