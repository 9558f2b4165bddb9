#include "gfx/Color.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// Fallbacks of the classic desktop scheme, used when no application palette exists
// and for the entries the palette has no role for.
constexpr TColor kClassic[25] = {
    0xC8D0D4, 0x985800, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC0C0C0,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF,
};

bool PaletteRole(unsigned n, QPalette::ColorGroup& group, QPalette::ColorRole& role)
{
    group = QPalette::Active;
    switch (n) {
    case 1: role = QPalette::Window; return true;            // desktop
    case 4: role = QPalette::Window; return true;            // menu
    case 5: role = QPalette::Base; return true;              // window
    case 7: role = QPalette::WindowText; return true;        // menu text
    case 8: role = QPalette::Text; return true;              // window text
    case 13: role = QPalette::Highlight; return true;
    case 14: role = QPalette::HighlightedText; return true;
    case 15: role = QPalette::Button; return true;           // button face
    case 16: role = QPalette::Dark; return true;             // button shadow
    case 17: group = QPalette::Disabled; role = QPalette::Text; return true; // grey text
    case 18: role = QPalette::ButtonText; return true;
    case 20: role = QPalette::Light; return true;            // button highlight
    case 21: role = QPalette::Shadow; return true;           // dark shadow
    case 22: role = QPalette::Midlight; return true;         // 3-D light
    case 23: role = QPalette::ToolTipText; return true;      // info text
    case 24: role = QPalette::ToolTipBase; return true;      // info background
    default: return false;
    }
}

} // namespace

TColor ResolveColor(TColor c)
{
    if (!IsSystemColor(c))
        return c & 0xFFFFFFu;
    const unsigned n = c & 0xFFu;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
        if (PaletteRole(n, group, role))
            return FromQColor(QGuiApplication::palette().color(group, role));
    }
    return n < 25 ? kClassic[n] : 0;
}

QRgb ToQRgb(TColor c)
{
    const TColor v = ResolveColor(c);
    return qRgb(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

QColor ToQColor(TColor c)
{
    return QColor::fromRgb(ToQRgb(c));
}

TColor FromQColor(const QColor& c)
{
    return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
}
