#include "dialogs/ButtonWidthCache.h"

int TButtonWidthCache::Remember(TMsgDlgBtn kind, const std::function<int()>& measure)
{
    int& width = widths_.at(kind);
    if (width == 0)
        width = measure();
    return width;
}

TButtonWidthCache& MessageDialogButtonWidths()
{
    static TButtonWidthCache cache;
    return cache;
}
