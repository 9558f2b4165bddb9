#pragma once
// The widths of the dialog buttons, measured once per run.
//
// A caption is measured the first time its button is needed and the width is
// kept for the rest of the run, also when the language changes later: the
// common button width leaves room for the longer German, French and Spanish
// captions anyway.

#include "dialogs/MessageDialogKinds.h"

#include <array>
#include <functional>

class TButtonWidthCache {
public:
    // The stored width of a button kind; 0 while it has not been measured.
    int Width(TMsgDlgBtn kind) const { return widths_.at(kind); }
    // Returns the stored width, measuring and storing it first if there is none.
    int Remember(TMsgDlgBtn kind, const std::function<int()>& measure);
    void Clear() { widths_.fill(0); }

private:
    std::array<int, MessageButtonKindCount> widths_{};
};

// The cache the program's dialogs share.
TButtonWidthCache& MessageDialogButtonWidths();
