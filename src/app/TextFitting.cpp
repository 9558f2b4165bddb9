#include "app/TextFitting.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

int FittingPixelSize(const QFont& font, const std::function<bool(const QFont&)>& fits)
{
    QFont f = font;
    if (f.pixelSize() <= 0)
        return f.pixelSize();
    for (; f.pixelSize() > kSmallestCaptionPixels; f.setPixelSize(f.pixelSize() - 1))
        if (fits(f))
            break;
    return f.pixelSize();
}

bool ButtonCaptionFits(const QPushButton& button, const QFont& font)
{
    const int room = button.width() - 2 * button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    int needed = QFontMetrics(font).horizontalAdvance(button.text());
    if (!button.icon().isNull())
        needed += button.iconSize().width() + 4; // and the gap between icon and text
    return needed <= room;
}

bool LabelTextFits(const QLabel& label, const QFont& font, const QSize& room)
{
    int flags = Qt::TextExpandTabs;
    if (label.wordWrap())
        flags |= Qt::TextWordWrap;
    if (label.buddy())
        flags |= Qt::TextShowMnemonic;
    // A word longer than the line stands out of the rectangle: the width
    // says so as well as the height.
    const QSize needed = QFontMetrics(font).boundingRect(QRect(0, 0, room.width(), 100000), flags, label.text()).size();
    return needed.width() <= room.width() && needed.height() <= room.height();
}

void FitLabelText(QLabel& label, const QFont& base, const QSize& room)
{
    QFont f = label.font();
    const int pixels = FittingPixelSize(base, [&](const QFont& candidate) {
        return LabelTextFits(label, candidate, room);
    });
    if (pixels > 0)
        f.setPixelSize(pixels);
    label.setFont(f);
}
