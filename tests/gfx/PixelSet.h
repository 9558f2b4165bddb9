#pragma once
// Helpers for pixel tests: the set of pixels of a canvas that differ from a
// background colour, and a picture written as rows of characters.

#include "gfx/Canvas.h"

#include <QString>
#include <set>
#include <string>
#include <utility>
#include <vector>

using PixelSet = std::set<std::pair<int, int>>;

inline PixelSet PixelsNot(const Canvas& c, TColor background)
{
    PixelSet s;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.GetPixel(x, y) != background)
                s.insert({x, y});
    return s;
}

// Rows of the picture from (0, 0): '#' where the pixel has colour ink, '.'
// where it has the background, '?' otherwise.
inline std::vector<std::string> Picture(const Canvas& c, int w, int h, TColor ink, TColor background)
{
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string r;
        for (int x = 0; x < w; ++x) {
            const TColor p = c.GetPixel(x, y);
            r += p == ink ? '#' : p == background ? '.' : '?';
        }
        rows.push_back(r);
    }
    return rows;
}
