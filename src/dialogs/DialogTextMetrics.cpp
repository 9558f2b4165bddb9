#include "dialogs/DialogTextMetrics.h"

#include <QRect>

QSize TFontTextMetrics::Extent(const QString& text) const
{
    return {metrics_.horizontalAdvance(text), metrics_.height()};
}

int TFontTextMetrics::CaptionWidth(const QString& caption) const
{
    return metrics_.boundingRect(QRect(), Qt::TextSingleLine | Qt::TextShowMnemonic, caption).width();
}

QSize TFontTextMetrics::WrappedSize(const QString& text, int width) const
{
    return metrics_.boundingRect(QRect(0, 0, width, 0), Qt::AlignLeft | MessageTextFlags, text).size();
}
