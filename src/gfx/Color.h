#pragma once
// Colours as the components store them: 0x00BBGGRR, red in the low byte.
// A value with the top bit set (0x80000000 + n) names system colour n; it is
// resolved only when drawn, from the application palette, so a component keeps
// following the desktop's colours.

#include <QColor>
#include <QRgb>
#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor clSystemColor = 0x80000000u;

// The system colours the components use.
constexpr TColor clScrollBar = clSystemColor + 0;
constexpr TColor clBackground = clSystemColor + 1;
constexpr TColor clActiveCaption = clSystemColor + 2;
constexpr TColor clInactiveCaption = clSystemColor + 3;
constexpr TColor clMenu = clSystemColor + 4;
constexpr TColor clWindow = clSystemColor + 5;
constexpr TColor clWindowFrame = clSystemColor + 6;
constexpr TColor clMenuText = clSystemColor + 7;
constexpr TColor clWindowText = clSystemColor + 8;
constexpr TColor clCaptionText = clSystemColor + 9;
constexpr TColor clActiveBorder = clSystemColor + 10;
constexpr TColor clInactiveBorder = clSystemColor + 11;
constexpr TColor clAppWorkSpace = clSystemColor + 12;
constexpr TColor clHighlight = clSystemColor + 13;
constexpr TColor clHighlightText = clSystemColor + 14;
constexpr TColor clBtnFace = clSystemColor + 15;
constexpr TColor clBtnShadow = clSystemColor + 16;
constexpr TColor clGrayText = clSystemColor + 17;
constexpr TColor clBtnText = clSystemColor + 18;
constexpr TColor clInactiveCaptionText = clSystemColor + 19;
constexpr TColor clBtnHighlight = clSystemColor + 20;
constexpr TColor cl3DDkShadow = clSystemColor + 21;
constexpr TColor cl3DLight = clSystemColor + 22;
constexpr TColor clInfoText = clSystemColor + 23;
constexpr TColor clInfoBk = clSystemColor + 24;

// A few plain colours by name.
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clNavy = 0x800000;
constexpr TColor clMaroon = 0x000080;

constexpr bool IsSystemColor(TColor c) { return (c & clSystemColor) != 0; }

// The plain 0x00BBGGRR value of a colour; system colours are looked up in the
// application palette (or a fixed fallback when there is no application).
TColor ResolveColor(TColor c);

// Conversions to Qt's 0xAARRGGBB, opaque. System colours are resolved.
QRgb ToQRgb(TColor c);
QColor ToQColor(TColor c);
// The TColor of a Qt colour (alpha ignored).
TColor FromQColor(const QColor& c);
