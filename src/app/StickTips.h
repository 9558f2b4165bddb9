#pragma once
// The mass and abundance of the stick under the mouse on the spectrum chart:
// the small sticks beside a strong line are a few pixels tall, and nothing
// else tells a learner what they stand for.
//
//     InstallStickTips(*RChart2, [this](const TSpectralLine& s) { return StickTipText(Lexifer(), s); });
//
// While the mouse points at a stick (StickHitTest.h) the chart's tool tip and
// its accessible description are the stick's text, and the tip is shown at
// once; away from the sticks the tool tip is empty and the chart's own
// description is back. The chart's own mouse handling is left as it is.

#include "app/SectorField.h"
#include "app/StickHitTest.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class TLexifer2000;
class TRChart;

// The translation of "StickTip" with the mass and the abundance written as
// the CSV export writes them ("." as the decimal point, as few digits as
// give the value back): "Mass 29, abundance 1.15 %". A table without the key
// gets that English text.
// For ions of charge 2 or 3 the stick stands at m/z, and the text
// ("StickTipCharged") says so: "m/z 65.5 (z = 2), abundance 78.91 %".
QString StickTipText(TLexifer2000& lexifer, const TSpectralLine& stick, int charge = 1);

// The sticks the chart shows, in the order they were added, with their
// pixels in the chart control as its layers map them now. A stick is cut to
// the data area; one that lies wholly outside it (below the low end of a
// logarithmic axis) is left out.
std::vector<TStickSpot> StickSpots(const TRChart& spectrum);

class TStickTips : public QObject {
    Q_OBJECT
public:
    using TTipText = std::function<QString(const TSpectralLine& stick)>;

    // A child of the chart, watching its mouse events; text is asked for
    // each stick pointed at.
    TStickTips(TRChart& spectrum, TTipText text);

    // The stick pointed at now, if any, with its pixels.
    const std::optional<TStickSpot>& Hovered() const { return hovered_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The mouse is at `at` in the chart (global: on the screen); none: it
    // left the chart.
    void PointAt(std::optional<QPoint> at, QPoint global);
    void ShowTip(QPoint global) const;

    TRChart& chart_;
    TTipText text_;
    std::optional<TStickSpot> hovered_;
    QString tip_;
    QString ownDescription_;
};

TStickTips* InstallStickTips(TRChart& spectrum, TStickTips::TTipText text);
