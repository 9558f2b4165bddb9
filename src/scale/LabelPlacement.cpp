#include "scale/LabelPlacement.h"

#include <algorithm>

QPoint LabelTopLeft(TScaleType type, int along, int across, int w, int h, int zeroHeight,
                    int controlWidth)
{
    if (IsVertical(type)) {
        const int top = along - zeroHeight / 2;
        return {type == sctYL ? across + 8 : across - w - 8, top};
    }
    const int half = w / 2;
    int left = along - std::min(along - 2, half);
    if (along + half >= controlWidth - 2)
        left = controlWidth - 2 * half - 2;
    return {left, type == sctXB ? across - h - 7 : across + 7};
}

QPoint TickEnd(TScaleType type, QPoint start, bool mainTick)
{
    const int horizLen = mainTick ? kMainTickLengthHoriz : kShortTickLength;
    const int vertLen = mainTick ? kMainTickLengthVert : kShortTickLength;
    switch (type) {
    case sctXB: return {start.x(), start.y() - horizLen};
    case sctXT: return {start.x(), start.y() + horizLen};
    case sctYL: return {start.x() + vertLen, start.y()};
    case sctYR: return {start.x() - vertLen, start.y()};
    }
    return start;
}
