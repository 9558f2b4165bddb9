#pragma once
// Where ticks and labels go on each kind of scale.

#include "scale/ScaleTypes.h"

#include <QPoint>

constexpr int kShortTickLength = 4;
constexpr int kMainTickLengthHoriz = 7;
constexpr int kMainTickLengthVert = 6;

// The top-left corner of a tick label of size w x h. along: the tick's pixel
// along the scale; across: the axis line's coordinate; zeroHeight: the height
// of the text "0" (vertical labels are centred with it); controlWidth: the
// scale's width (horizontal labels stay 2 px inside both ends).
QPoint LabelTopLeft(TScaleType type, int along, int across, int w, int h, int zeroHeight,
                    int controlWidth);

// The far end of a tick that starts on the axis line and points into the
// control (the end pixel itself is not drawn).
QPoint TickEnd(TScaleType type, QPoint start, bool mainTick);
