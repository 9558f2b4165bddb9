#pragma once
// Smaller fonts for translated captions in places of fixed size. The
// classic windows keep their layout in every language: where a translation
// is too long for its place, the caption is set in a smaller font instead of
// being cut.
//
//   const int pixels = FittingPixelSize(window.font(), [&](const QFont& f) {
//       return ButtonCaptionFits(button, f);
//   });

#include <QFont>
#include <functional>

class QLabel;
class QPushButton;
class QSize;

// Below this a caption is hard to read on a classroom projector; a text that
// does not fit even so needs a shorter translation.
inline constexpr int kSmallestCaptionPixels = 9;

// The largest pixel size from font's own down to kSmallestCaptionPixels at
// which fits holds, kSmallestCaptionPixels when none does. A font that is
// not sized in pixels keeps its size: the answer is then its pixelSize()
// (-1).
int FittingPixelSize(const QFont& font, const std::function<bool(const QFont&)>& fits);

// Whether the button's caption with its icon fits, at font, in the room its
// style leaves inside its margins.
bool ButtonCaptionFits(const QPushButton& button, const QFont& font);

// Whether the label's text, laid out as the label lays it out (line breaks,
// and word wrap when it wraps), fits at font in room.
bool LabelTextFits(const QLabel& label, const QFont& font, const QSize& room);

// Sets the label in the largest font, from base down, at which its text
// fits in room. The label keeps its geometry.
void FitLabelText(QLabel& label, const QFont& base, const QSize& room);
