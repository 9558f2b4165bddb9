#include "chart/DisplayList.h"

#include <algorithm>

void TChartItem::SetText(const QString& s)
{
    TextLength = std::uint8_t(std::min<qsizetype>(s.size(), kItemTextLength));
    for (int i = 0; i < TextLength; ++i)
        Text[i] = s[i].unicode();
}

TChartItem& TItemStore::Append(int allocSize, TItemKind kind)
{
    if (ItemCount >= Capacity())
        Items.resize(size_t(Capacity()) + size_t(std::max(allocSize, 1)));
    TChartItem& item = Items[size_t(ItemCount)];
    item = TChartItem{};
    item.Kind = kind;
    if (kind < kKindCounters)
        ++KindCount[kind];
    ++ItemCount;
    return item;
}

void TItemStore::Clear()
{
    Items.clear();
    Items.shrink_to_fit();
    ItemCount = 0;
    NewItemsFrom = 0;
    KindCount.fill(0);
}
