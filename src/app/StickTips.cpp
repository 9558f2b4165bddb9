#include "app/StickTips.h"

#include "app/SpectrumCsv.h"
#include "chart/RChart.h"
#include "i18n/Lexifer2000.h"

#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QRect>
#include <QToolTip>
#include <algorithm>

QString StickTipText(TLexifer2000& lexifer, const TSpectralLine& stick, int charge)
{
    const bool charged = charge > 1;
    const QString key = charged ? QStringLiteral("StickTipCharged") : QStringLiteral("StickTip");
    const QStringList numbers{CsvNumber(stick.Mass), CsvNumber(stick.Abundance), QString::number(charge)};
    const QString text = lexifer.Translate(key, numbers);
    // The key is a name, not the English text: shown as it is it would say nothing.
    if (text == key)
        return charged ? QStringLiteral("m/z %1 (z = %3), abundance %2 %").arg(numbers[0], numbers[1], numbers[2])
                       : QStringLiteral("Mass %1, abundance %2 %").arg(numbers[0], numbers[1]);
    return text;
}

std::vector<TStickSpot> StickSpots(const TRChart& spectrum)
{
    const int left = spectrum.MarginLeft(), right = left + spectrum.DataWidth();
    const int top = spectrum.MarginTop(), bottom = top + spectrum.DataHeight();
    std::vector<TStickSpot> spots;
    for (int i = 0; i < spectrum.ItemCount(); ++i) {
        const TChartItem& it = spectrum.Item(i);
        if (it.Kind != ikLine || !spectrum.LayerVisible(it.Layer) || !spectrum.ClassVisible(it.ItemClass))
            continue;
        int x = 0, x2 = 0, from = 0, to = 0;
        spectrum.WorldToPixel(it.Layer, it.X1, it.Y1, x, from);
        spectrum.WorldToPixel(it.Layer, it.X2, it.Y2, x2, to);
        // A stick from 0 on a logarithmic axis starts below the data area,
        // where the picture cuts it off: it stands on the axis all the same.
        const int base = std::min(std::max(from, to), bottom);
        const int tip = std::max(std::min(from, to), top);
        if (tip > base || x < left || x > right)
            continue;
        spots.push_back({{it.X1, it.Y2}, x, base, tip});
    }
    return spots;
}

TStickTips::TStickTips(TRChart& spectrum, TTipText text)
    : QObject(&spectrum), chart_(spectrum), text_(std::move(text))
{
    setObjectName(QStringLiteral("StickTips"));
    // The chart tracks the mouse already; this only listens.
    chart_.installEventFilter(this);
}

bool TStickTips::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &chart_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* e = static_cast<QMouseEvent*>(event);
        PointAt(e->position().toPoint(), e->globalPosition().toPoint());
        break;
    }
    case QEvent::Leave:
    case QEvent::Hide:
        PointAt(std::nullopt, {});
        break;
    case QEvent::ToolTip:
        // The tip shown on a stick times out; resting on the stick brings it back.
        if (hovered_) {
            ShowTip(static_cast<QHelpEvent*>(event)->globalPos());
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

void TStickTips::PointAt(std::optional<QPoint> at, QPoint global)
{
    std::optional<TStickSpot> now;
    if (at)
        now = StickAt(StickSpots(chart_), at->x(), at->y());
    const auto same = [](const TStickSpot& a, const TStickSpot& b) {
        return a.Stick.Mass == b.Stick.Mass && a.Stick.Abundance == b.Stick.Abundance && a.X == b.X
               && a.Base == b.Base && a.Top == b.Top;
    };
    if (now && hovered_ && same(*now, *hovered_))
        return;
    if (now) {
        // The chart's own description comes back when the mouse leaves the sticks.
        if (!hovered_)
            ownDescription_ = chart_.accessibleDescription();
        hovered_ = now;
        tip_ = text_ ? text_(now->Stick) : QString();
        chart_.setToolTip(tip_);
        // Qt tells assistive tools of the new description itself.
        chart_.setAccessibleDescription(tip_);
        ShowTip(global);
        return;
    }
    if (!hovered_)
        return;
    hovered_.reset();
    chart_.setToolTip(QString());
    chart_.setAccessibleDescription(ownDescription_);
    if (QToolTip::isVisible() && QToolTip::text() == tip_)
        QToolTip::hideText();
    tip_.clear();
}

void TStickTips::ShowTip(QPoint global) const
{
    if (!hovered_ || tip_.isEmpty())
        return;
    // Qt hides the tip by itself once the mouse leaves the stick's reach.
    const TStickSpot& s = *hovered_;
    const QRect reach(QPoint(s.X - kStickReachSideways, s.Top - kStickReachAbove),
                      QPoint(s.X + kStickReachSideways, s.Base));
    QToolTip::showText(global, tip_, &chart_, reach);
}

TStickTips* InstallStickTips(TRChart& spectrum, TStickTips::TTipText text)
{
    return new TStickTips(spectrum, std::move(text));
}
