#include "widgets/CharRaster.h"

#include "support/TextEncoding.h"
#include "widgets/BuiltInDotFont.h"

#include <algorithm>

namespace {

TCharRaster BuildBuiltIn()
{
    TCharRaster raster;
    // Control codes are not shown: no dots and no columns of their own.
    for (int code = 0; code < kBuiltInFirstCode; ++code) {
        raster.Left[code] = 0;
        raster.Right[code] = -1;
    }
    for (int code = kBuiltInFirstCode; code < TCharRaster::kCodes; ++code) {
        const TDotFontEntry& e = BuiltInDotFontEntry(code);
        raster.Left[code] = e[0];
        raster.Right[code] = e[1];
        for (int r = 0; r < kBuiltInRows; ++r)
            raster.Rows[code][r] = e[2 + r];
    }
    raster.Height = kBuiltInRows;
    raster.Widest = kBuiltInColumns;
    return raster;
}

QString CharacterOfCode(int code)
{
    const char byte = char(code);
    return DecodeText(QByteArrayView(&byte, 1), TTextEncoding::Windows1252);
}

} // namespace

const TCharRaster& BuiltInCharRaster()
{
    static const TCharRaster raster = BuildBuiltIn();
    return raster;
}

bool IsBuiltInFontName(const QString& name)
{
    return name.compare(QLatin1String("default"), Qt::CaseInsensitive) == 0;
}

TCharRaster SampleCharRaster(const TFont& font)
{
    constexpr int kScratch = 65;
    constexpr int kSampled = 32;
    constexpr TColor kPaper = clWhite;

    TCharRaster raster;
    for (int code = 0; code < kBuiltInFirstCode; ++code) {
        raster.Left[code] = 0;
        raster.Right[code] = -1;
    }
    Canvas scratch(kScratch, kScratch);
    scratch.Font = font;
    scratch.Font.Color = clBlack;
    scratch.Brush = TBrush{kPaper, bsSolid};
    for (int code = kBuiltInFirstCode; code < TCharRaster::kCodes; ++code) {
        scratch.FillRect(0, 0, kScratch, kScratch);
        scratch.TextOut(0, 0, CharacterOfCode(code));
        int left = kSampled - 1, right = 0;
        for (int y = 0; y < kSampled; ++y) {
            std::uint32_t bits = 0;
            const auto* line = reinterpret_cast<const QRgb*>(scratch.Image().constScanLine(y));
            for (int x = 0; x < kSampled; ++x) {
                if ((line[x] & 0xFFFFFFu) == 0xFFFFFFu)
                    continue;
                bits |= 1u << x;
                left = std::min(left, x);
                right = std::max(right, x);
            }
            raster.Rows[code][y] = bits;
            if (bits)
                raster.Height = std::max(raster.Height, y + 1);
        }
        raster.Left[code] = left;
        raster.Right[code] = right;
        if (left <= right)
            raster.Widest = std::max(raster.Widest, right - left + 1);
    }
    // A code the font draws no dots for (the blank, the no-break space, a
    // character the font lacks) would otherwise have the bounds 31 and 0 and
    // move the text 29 pitches back; it is given the blank's width instead.
    for (int code = kBuiltInFirstCode; code < TCharRaster::kCodes; ++code) {
        if (raster.Left[code] > raster.Right[code] || code == ' ') {
            raster.Left[code] = 0;
            raster.Right[code] = raster.Widest / 2;
        }
    }
    return raster;
}

TCharRaster CharRasterFor(const TFont& font)
{
    return IsBuiltInFontName(font.Name) ? BuiltInCharRaster() : SampleCharRaster(font);
}
