#pragma once
// The numeric tick passes of a scale: linear and decadic logarithmic. They
// record the tick values and hand ticks and labels to a painter in drawing
// order; they never draw themselves.

#include "scale/ScaleSettings.h"
#include "scale/ScaleTypes.h"

// Always ends, whatever the range (NaN and infinities included).
void LinearTickPass(const TScaleSettings& in, TTickRecord& record, TTickPainter& painter);

// Returns false, drawing nothing, when the range spans less than one decade;
// the linear pass then draws instead.
bool LogTickPass(const TScaleSettings& in, TTickRecord& record, TTickPainter& painter);

// The numeric pass the scale's settings ask for (logarithmic, falling back to
// linear).
void NumericTickPass(const TScaleSettings& in, TTickRecord& record, TTickPainter& painter);
