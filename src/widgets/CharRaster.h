#pragma once
// The character raster of the dot-matrix label: for each of the 256 codes up
// to 32 rows of 32 dots and the first and last used column, and for the whole
// set the glyph height and the widest glyph. It is built once per font, not
// per paint.

#include "gfx/Canvas.h"

#include <array>
#include <cstdint>

struct TCharRaster {
    static constexpr int kCodes = 256;
    static constexpr int kMaxRows = 32;

    // Bit j of Rows[code][r] is the dot in column j of row r.
    std::array<std::array<std::uint32_t, kMaxRows>, kCodes> Rows{};
    std::array<int, kCodes> Left{};
    std::array<int, kCodes> Right{};
    int Height = 0; // rows of the tallest glyph
    int Widest = 0; // columns of the widest glyph

    bool Dot(int code, int row, int column) const
    {
        return (Rows[code & 0xFF][row] >> column) & 1u;
    }
};

// The built-in 7 x 12 font. Codes below 32 have no dots and no columns.
const TCharRaster& BuiltInCharRaster();

// The raster sampled from a font: each code from 32 to 255 drawn black on
// white, every pixel of the top-left 32 x 32 that is not white a dot.
TCharRaster SampleCharRaster(const TFont& font);

// The built-in font for the font name "default" (any case), else the sample.
TCharRaster CharRasterFor(const TFont& font);
bool IsBuiltInFontName(const QString& name);
