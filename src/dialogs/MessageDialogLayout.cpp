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
    l.Kind = kind;
    l.Text = text;

    const QSize letters = metrics.Extent(kAverageLetters);
    const int cx = letters.width() / 52;
    const int cy = letters.height();
    l.AverageChar = {cx, cy};
    l.HorzMargin = MulDiv(8, cx, 4);
    l.VertMargin = MulDiv(8, cy, 8);
    l.HorzSpacing = MulDiv(10, cx, 4);
    l.VertSpacing = MulDiv(10, cy, 8);
    l.ButtonWidth = MulDiv(50, cx, 4);
    l.ButtonHeight = MulDiv(14, cy, 8);
    l.ButtonSpacing = MulDiv(4, cx, 4);

    for (int b = 0; b < MessageButtonKindCount; ++b) {
        const auto kindOfButton = TMsgDlgBtn(b);
        if (!buttons.Contains(kindOfButton))
            continue;
        const int width = widths.Remember(kindOfButton, [&] {
            return metrics.CaptionWidth(MessageButtonCaption(kindOfButton, environment.Language)) + kCaptionPadding;
        });
        l.ButtonWidth = std::max(l.ButtonWidth, width);
    }

    l.TextSize = metrics.WrappedSize(text, environment.ScreenSize.width() / 2);

    l.HasIcon = kind != dkCustom;
    l.BlockSize = l.TextSize;
    if (l.HasIcon) {
        l.BlockSize.rwidth() += kIconSize + l.HorzSpacing;
        l.BlockSize.rheight() = std::max(l.BlockSize.height(), kIconSize);
    }

    const int count = buttons.Count();
    l.ButtonGroupWidth = count == 0 ? 0 : count * l.ButtonWidth + (count - 1) * l.ButtonSpacing;

    l.ClientSize = {std::max(l.BlockSize.width(), l.ButtonGroupWidth) + 2 * l.HorzMargin,
                    l.BlockSize.height() + l.ButtonHeight + l.VertSpacing + 2 * l.VertMargin};

    // Centred on the screen, but never pushed past its top-left corner: a
    // dialog larger than the screen keeps its title bar reachable.
    const QSize outer = l.ClientSize.grownBy(environment.Frame);
    l.Position = {std::max(0, environment.ScreenSize.width() / 2 - outer.width() / 2),
                  std::max(0, environment.ScreenSize.height() / 2 - outer.height() / 2)};

    l.Title = kind == dkCustom ? environment.ApplicationTitle : MessageKindTitle(kind, environment.Language);

    // Right-to-left reading mirrors icon and text together, so that the text
    // keeps its distance from the icon.
    const auto mirrored = [&](int left, int width) {
        return environment.RightToLeft ? l.ClientSize.width() - left - width : left;
    };
    if (l.HasIcon)
        l.ImageBounds = QRect(mirrored(l.HorzMargin, kIconSize), l.VertMargin, kIconSize, kIconSize);
    const int textLeft = l.BlockSize.width() - l.TextSize.width() + l.HorzMargin;
    l.MessageBounds = QRect(mirrored(textLeft, l.TextSize.width()), l.VertMargin, l.TextSize.width(),
                            l.TextSize.height());

    const auto defaultButton = FirstPresent(buttons, {dbOK, dbYes, dbRetry});
    const auto cancelButton = FirstPresent(buttons, {dbCancel, dbNo, dbOK});
    int x = (l.ClientSize.width() - l.ButtonGroupWidth) / 2;
    const int y = l.BlockSize.height() + l.VertMargin + l.VertSpacing;
    for (int b = 0; b < MessageButtonKindCount; ++b) {
        const auto kindOfButton = TMsgDlgBtn(b);
        if (!buttons.Contains(kindOfButton))
            continue;
        TMessageDialogButtonLayout button;
        button.Kind = kindOfButton;
        button.Name = MessageButtonName(kindOfButton);
        button.Caption = MessageButtonCaption(kindOfButton, environment.Language);
        button.ModalResult = MessageButtonResult(kindOfButton);
        button.Bounds = QRect(x, y, l.ButtonWidth, l.ButtonHeight);
        button.IsDefault = defaultButton == kindOfButton;
        button.IsCancel = cancelButton == kindOfButton;
        l.Buttons.push_back(button);
        x += l.ButtonWidth + l.ButtonSpacing;
    }
    return l;
}
