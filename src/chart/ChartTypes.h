#pragma once
// Settings types of the chart.

#include <cstdint>

enum GridStyleType : std::uint8_t {
    gsNone, gsPoints, gsVertLines, gsHorizLines, gsLines, gsVertDotLines, gsHorizDotLines, gsDotLines
};
enum TShadowStyle : std::uint8_t { ssFlying, ssBox };
enum TCaptionAnchorHoriz : std::uint8_t { cahControlLeft, cahChartLeft, cahChartCenter, cahChartRight, cahControlRight };
enum TCaptionAnchorVert : std::uint8_t { cavControlTop, cavChartTop, cavChartCenter, cavChartBottom, cavControlBottom };
enum TTextBkg : std::uint8_t { tbClear, tbSolid };
enum TBkgFill : std::uint8_t { bfSimple, bfStretch, bfTile };
enum TBGAreaMode : std::uint8_t { bamNone, bamLeft, bamRight, bamTop, bamBottom, bamVStripe, bamHStripe, bamRect };
enum TrcLayout : std::uint8_t {
    rcl_X1Bottom_Y1Left,
    rcl_X1Bottom_Y2Left,
    rcl_X1Bottom_Y3Left,
    rcl_X1Bottom_Y4Left,
    rcl_X1Bottom_Y2Both,
    rcl_X2Bottom_Y2Left,
    rcl_X2Both_Y2Both,
};
enum TCrossHMode : std::uint8_t { chOff, chHoriz, chVert, chBoth };

constexpr int kLayerCount = 16;
constexpr int kTextLabelCount = 30;
constexpr int kCrossHairCount = 4;
constexpr int kMaxDataUsers = 4;
