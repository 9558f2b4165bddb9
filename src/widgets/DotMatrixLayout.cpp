#include "widgets/DotMatrixLayout.h"

#include <algorithm>

int DotFrameWidth(TFrameStyle style)
{
    switch (style) {
    case fsNone: return 0;
    case fsEmbossed:
    case fsEngraved: return 2;
    default: return 1;
    }
}

int FirstColumn(const TCharRaster& raster, unsigned char code, bool proportional)
{
    return proportional ? raster.Left[code] : 0;
}

int LastColumn(const TCharRaster& raster, unsigned char code, bool proportional)
{
    return proportional ? raster.Right[code] : raster.Widest - 1;
}

int CharAdvance(const TCharRaster& raster, unsigned char code, bool proportional, int pitch)
{
    const int columns = LastColumn(raster, code, proportional) - FirstColumn(raster, code, proportional) + 1;
    return pitch + columns * pitch;
}

int DotTextWidth(const TCharRaster& raster, const QByteArray& text, bool proportional, int pitch)
{
    // Summed wide and capped, so that an absurdly long text cannot overflow
    // the pixel arithmetic of centring and scrolling.
    qint64 width = 0;
    for (const char ch : text)
        width += CharAdvance(raster, static_cast<unsigned char>(ch), proportional, pitch);
    return int(std::min<qint64>(width, kMaxDotTextWidth));
}

int CenteredPosX(int controlWidth, int textWidth, int frameWidth)
{
    // C++ division truncates toward zero, as the rule asks, also for texts
    // wider than the control.
    return (controlWidth - textWidth) / 2 + frameWidth + 1;
}

int FittedHeight(int frameWidth, int pitch, int glyphHeight)
{
    return frameWidth + pitch * glyphHeight;
}
