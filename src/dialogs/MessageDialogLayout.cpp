#include "dialogs/MessageDialogLayout.h"

#include "support/Errors.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

// The average character is taken over the 52 letters, as the window system's
// dialog units are.
const QString kAverageLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

constexpr int kIconSize = 32;
constexpr int kCaptionPadding = 8;

std::optional<TMsgDlgBtn> FirstPresent(TMsgDlgButtons buttons, std::initializer_list<TMsgDlgBtn> order)
{
    for (TMsgDlgBtn kind : order)
        if (buttons.Contains(kind))
            return kind;
    return std::nullopt;
}

void Validate(TMsgDlgType kind, TMsgDlgButtons buttons)
{
    if (int(kind) < 0 || int(kind) >= MessageDialogKindCount)
        throw Exception(QStringLiteral("Message dialog: there is no dialog kind %1").arg(int(kind)));
    if (!buttons.IsValid())
        throw Exception(QStringLiteral("Message dialog: the button set 0x%1 names buttons that do not exist")
                            .arg(buttons.Bits(), 0, 16));
}

} // namespace

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t(number) * numerator;
    const std::int64_t magnitude = (product < 0 ? -product : product);
    const std::int64_t divisor = denominator < 0 ? -std::int64_t(denominator) : denominator;
    std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    if ((product < 0) != (denominator < 0))
        quotient = -quotient;
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min())
        return -1;
    return int(quotient);
}

TMessageDialogLayout LayoutMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                         const TMessageDialogEnvironment& environment,
                                         const TDialogTextMetrics& metrics, TButtonWidthCache& widths)
{
    Validate(kind, buttons);

    TMessageDialogLayout l;
    l.kind = kind;
    l.text = text;

    const QSize letters = metrics.Extent(kAverageLetters);
    const int cx = letters.width() / 52;
    const int cy = letters.height();
    l.averageChar = {cx, cy};
    l.horzMargin = MulDiv(8, cx, 4);
    l.vertMargin = MulDiv(8, cy, 8);
    l.horzSpacing = MulDiv(10, cx, 4);
    l.vertSpacing = MulDiv(10, cy, 8);
    l.buttonWidth = MulDiv(50, cx, 4);
    l.buttonHeight = MulDiv(14, cy, 8);
    l.buttonSpacing = MulDiv(4, cx, 4);

    for (int b = 0; b < MessageButtonKindCount; ++b) {
        const auto kindOfButton = TMsgDlgBtn(b);
        if (!buttons.Contains(kindOfButton))
            continue;
        const int width = widths.Remember(kindOfButton, [&] {
            return metrics.CaptionWidth(MessageButtonCaption(kindOfButton, environment.language)) + kCaptionPadding;
        });
        l.buttonWidth = std::max(l.buttonWidth, width);
    }

    l.textSize = metrics.WrappedSize(text, environment.screenSize.width() / 2);

    l.hasIcon = kind != dkCustom;
    l.blockSize = l.textSize;
    if (l.hasIcon) {
        l.blockSize.rwidth() += kIconSize + l.horzSpacing;
        l.blockSize.rheight() = std::max(l.blockSize.height(), kIconSize);
    }

    const int count = buttons.Count();
    l.buttonGroupWidth = count == 0 ? 0 : count * l.buttonWidth + (count - 1) * l.buttonSpacing;

    l.clientSize = {std::max(l.blockSize.width(), l.buttonGroupWidth) + 2 * l.horzMargin,
                    l.blockSize.height() + l.buttonHeight + l.vertSpacing + 2 * l.vertMargin};

    // Centred on the screen, but never pushed past its top-left corner: a
    // dialog larger than the screen keeps its title bar reachable.
    const QSize outer = l.clientSize.grownBy(environment.frame);
    l.position = {std::max(0, environment.screenSize.width() / 2 - outer.width() / 2),
                  std::max(0, environment.screenSize.height() / 2 - outer.height() / 2)};

    l.title = kind == dkCustom ? environment.applicationTitle : MessageKindTitle(kind, environment.language);

    // Right-to-left reading mirrors icon and text together, so that the text
    // keeps its distance from the icon.
    const auto mirrored = [&](int left, int width) {
        return environment.rightToLeft ? l.clientSize.width() - left - width : left;
    };
    if (l.hasIcon)
        l.imageBounds = QRect(mirrored(l.horzMargin, kIconSize), l.vertMargin, kIconSize, kIconSize);
    const int textLeft = l.blockSize.width() - l.textSize.width() + l.horzMargin;
    l.messageBounds = QRect(mirrored(textLeft, l.textSize.width()), l.vertMargin, l.textSize.width(),
                            l.textSize.height());

    const auto defaultButton = FirstPresent(buttons, {dbOK, dbYes, dbRetry});
    const auto cancelButton = FirstPresent(buttons, {dbCancel, dbNo, dbOK});
    int x = (l.clientSize.width() - l.buttonGroupWidth) / 2;
    const int y = l.blockSize.height() + l.vertMargin + l.vertSpacing;
    for (int b = 0; b < MessageButtonKindCount; ++b) {
        const auto kindOfButton = TMsgDlgBtn(b);
        if (!buttons.Contains(kindOfButton))
            continue;
        TMessageDialogButtonLayout button;
        button.kind = kindOfButton;
        button.name = MessageButtonName(kindOfButton);
        button.caption = MessageButtonCaption(kindOfButton, environment.language);
        button.modalResult = MessageButtonResult(kindOfButton);
        button.bounds = QRect(x, y, l.buttonWidth, l.buttonHeight);
        button.isDefault = defaultButton == kindOfButton;
        button.isCancel = cancelButton == kindOfButton;
        l.buttons.push_back(button);
        x += l.buttonWidth + l.buttonSpacing;
    }
    return l;
}
