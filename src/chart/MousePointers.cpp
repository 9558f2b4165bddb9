#include "chart/MousePointers.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPainter>
#include <array>
#include <optional>

namespace {

// One row per pixel row: '#' black, '.' white, ' ' transparent. The white rims
// keep the black strokes visible on dark ground.
using TCursorArt = std::array<const char*, kChartCursorSize>;

// An open hand; the hot spot is the tip of the middle finger.
constexpr TCursorArt kHand = {
    "                                ",
    "                                ",
    "                                ",
    "           ###                  ",
    "          #...###               ",
    "          #...#...#             ",
    "       ####...#...#             ",
    "      #...#...#...####          ",
    "      #...#...#...#...#         ",
    "      #...#...#...#...#         ",
    "      #...#...#...#...#         ",
    "      #...#...#...#...#         ",
    "  ### #...#...#...#...#         ",
    " #...##...#...#...#...#         ",
    " #....#...............#         ",
    "  #....#..............#         ",
    "  #.....#.............#         ",
    "   #.....#............#         ",
    "   #......#...........#         ",
    "    #.................#         ",
    "    #.................#         ",
    "     #................#         ",
    "      #..............#          ",
    "      #..............#          ",
    "       #............#           ",
    "       #............#           ",
    "       #............#           ",
    "       ##############           ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};

// A cross at the top-left corner of a framed window with an arrow across
// it; the hot spot is the centre of the cross.
constexpr TCursorArt kZoomWindow = {
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "      ...                       ",
    "      .#.                       ",
    "      .#.                       ",
    "   ....#....                    ",
    "   .#######.                    ",
    "   ....#....                    ",
    "      .#.....................   ",
    "      .#..##################.   ",
    "      ....#................#.   ",
    "         .#................#.   ",
    "         .#..#.............#.   ",
    "         .#...#............#.   ",
    "         .#....##..........#.   ",
    "         .#......#.........#.   ",
    "         .#.......#........#.   ",
    "         .#........#....#..#.   ",
    "         .#.........#...#..#.   ",
    "         .#..........##.#..#.   ",
    "         .#............##..#.   ",
    "         .#.........#####..#.   ",
    "         .#................#.   ",
    "         .#................#.   ",
    "         .##################.   ",
    "         ....................   ",
    "                                ",
    "                                ",
    "                                ",
};

// Four arrows pointing out of a small square; the hot spot is its centre.
constexpr TCursorArt kZoomDrag = {
    "                                ",
    "                                ",
    "                                ",
    "   .......           .......    ",
    "   .#####.           .#####.    ",
    "   .##....           ....##.    ",
    "   .#.#..             ..#.#.    ",
    "   .#..#..           ..#..#.    ",
    "   .#...#..         ..#...#.    ",
    "   ... ..#..       ..#.. ...    ",
    "        ..#..     ..#..         ",
    "         ..#.     .#..          ",
    "          ...........           ",
    "            .#####.             ",
    "            .#...#.             ",
    "            .#...#.             ",
    "            .#...#.             ",
    "            .#####.             ",
    "          ...........           ",
    "         ..#.     .#..          ",
    "        ..#..     ..#..         ",
    "   ... ..#..       ..#.. ...    ",
    "   .#...#..         ..#...#.    ",
    "   .#..#..           ..#..#.    ",
    "   .#.#..             ..#.#.    ",
    "   .##....           ....##.    ",
    "   .#####.           .#####.    ",
    "   .......           .......    ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};

// The zoom-window cursor one row higher, with two plus marks in the window.
constexpr TCursorArt kZoomWindowPlus = {
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "      ...                       ",
    "      .#.                       ",
    "      .#.                       ",
    "   ....#....                    ",
    "   .#######.                    ",
    "   ....#....                    ",
    "      .#.....................   ",
    "      .#..##################.   ",
    "      ....#............#...#.   ",
    "         .#............#...#.   ",
    "         .#..#.......#####.#.   ",
    "         .#...#........#...#.   ",
    "         .#....##......#...#.   ",
    "         .#......#.........#.   ",
    "         .#.......#........#.   ",
    "         .#........#....#..#.   ",
    "         .#.........#...#..#.   ",
    "         .#...#......##.#..#.   ",
    "         .#...#........##..#.   ",
    "         .#.#####...#####..#.   ",
    "         .#...#............#.   ",
    "         .#...#............#.   ",
    "         .##################.   ",
    "         ....................   ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};

struct TCursorEntry {
    const char* Name;
    const TCursorArt* Art;
    QPoint HotSpot;
};

const std::array<TCursorEntry, kChartCursorCount> kCursors = {{
    {"CURHAND", &kHand, {12, 3}},
    {"CURZOOMW", &kZoomWindow, {7, 9}},
    {"CURZOOMD", &kZoomDrag, {15, 15}},
    {"CURZOOMP", &kZoomWindowPlus, {7, 8}},
}};

const TCursorEntry* Entry(int n)
{
    return n >= 1 && n <= kChartCursorCount ? &kCursors[size_t(n - 1)] : nullptr;
}

// The application's cursor table; entries are made once and kept.
std::array<std::optional<QCursor>, kChartCursorCount + 1>& CursorTable()
{
    static std::array<std::optional<QCursor>, kChartCursorCount + 1> table;
    return table;
}

QCursor MakeCursor(const TCursorEntry& e)
{
    // A set pixel in both bitmaps is black, a set mask pixel alone white,
    // an unset mask pixel transparent.
    QBitmap shape(kChartCursorSize, kChartCursorSize), mask(kChartCursorSize, kChartCursorSize);
    shape.fill(Qt::color0);
    mask.fill(Qt::color0);
    {
        QPainter ps(&shape), pm(&mask);
        ps.setPen(Qt::color1);
        pm.setPen(Qt::color1);
        for (int y = 0; y < kChartCursorSize; ++y)
            for (int x = 0; x < kChartCursorSize; ++x) {
                const char c = (*e.Art)[size_t(y)][x];
                if (c == '#')
                    ps.drawPoint(x, y);
                if (c != ' ')
                    pm.drawPoint(x, y);
            }
    }
    return QCursor(shape, mask, e.HotSpot.x(), e.HotSpot.y());
}

} // namespace

void InstallChartCursors()
{
    auto& table = CursorTable();
    for (int n = 1; n <= kChartCursorCount; ++n)
        if (!table[size_t(n)])
            table[size_t(n)] = MakeCursor(*Entry(n));
}

QCursor ApplicationCursor(int n)
{
    InstallChartCursors();
    if (n >= 1 && n <= kChartCursorCount && CursorTable()[size_t(n)])
        return *CursorTable()[size_t(n)];
    return QCursor(Qt::ArrowCursor);
}

QString ChartCursorName(int n)
{
    const TCursorEntry* e = Entry(n);
    return e ? QString::fromLatin1(e->Name) : QString();
}

QPoint ChartCursorHotSpot(int n)
{
    const TCursorEntry* e = Entry(n);
    return e ? e->HotSpot : QPoint();
}

QImage ChartCursorPicture(int n)
{
    const TCursorEntry* e = Entry(n);
    if (!e)
        return {};
    QImage img(kChartCursorSize, kChartCursorSize, QImage::Format_ARGB32);
    for (int y = 0; y < kChartCursorSize; ++y)
        for (int x = 0; x < kChartCursorSize; ++x) {
            const char c = (*e->Art)[size_t(y)][x];
            img.setPixel(x, y, c == '#' ? 0xFF000000u : c == '.' ? 0xFFFFFFFFu : 0x00000000u);
        }
    return img;
}

bool CursorForChoice(TChartCursorChoice choice, QCursor& cursor)
{
    switch (choice) {
    case ccKeep: case ccDefault: return false;
    case ccCross: cursor = QCursor(Qt::CrossCursor); return true;
    case ccHand: cursor = ApplicationCursor(1); return true;
    case ccZoomWindow: cursor = ApplicationCursor(2); return true;
    case ccZoomDrag: cursor = ApplicationCursor(3); return true;
    case ccZoomWindowPlus: cursor = ApplicationCursor(4); return true;
    }
    return false;
}

void TApplicationCursor::Set(const QCursor& cursor)
{
    if (!active_) {
        QGuiApplication::setOverrideCursor(cursor);
        active_ = true;
    } else if (const QCursor* now = QGuiApplication::overrideCursor(); !now || !(*now == cursor)) {
        QGuiApplication::changeOverrideCursor(cursor);
    }
}

void TApplicationCursor::Reset()
{
    if (!active_)
        return;
    active_ = false;
    QGuiApplication::restoreOverrideCursor();
}
