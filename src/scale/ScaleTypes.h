#pragma once
// The kinds of scales, the record of the ticks drawn and the painter the tick
// passes hand their ticks to.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Orientation of a scale and the side of its axis line: horizontal with the
// line at the bottom or top, vertical with the line at the left or right.
enum TScaleType : std::uint8_t { sctXB, sctXT, sctYL, sctYR };
inline bool IsVertical(TScaleType t) { return t == sctYL || t == sctYR; }

// What the labels show.
enum TFigType : std::uint8_t { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };

// Where the caption is anchored along the axis.
enum TScaleUnitAnchor : std::uint8_t { uaSclTopLft, uaSclCenter, uaSclBotRgt };

// The values of the ticks of the last drawing, at most 50; further ticks are
// drawn but not recorded.
class TTickRecord {
public:
    static constexpr int kCapacity = 50;
    void Reset() { count_ = 0; }
    void Add(double v)
    {
        if (count_ < kCapacity)
            values_[count_++] = v;
    }
    int Count() const { return count_; }
    // 1-based; 0.0 outside 1..Count().
    double Value(int index) const { return index >= 1 && index <= count_ ? values_[index - 1] : 0.0; }

private:
    std::array<double, kCapacity> values_{};
    int count_ = 0;
};

// Receives the ticks, labels and messages of a pass in drawing order. The
// scale implements it with pixels; tests record the calls.
class TTickPainter {
public:
    virtual ~TTickPainter() = default;
    // A short or main tick line at the value.
    virtual void DrawTick(double value, bool mainTick) = 0;
    // After a tick has been handled: the scale's tick-drawn event.
    virtual void TickDrawn(double value) = 0;
    // A tick label, placed by the label rules of the scale type.
    virtual void PlaceLabel(double value, const QString& text) = 0;
    // The date line that goes with a time label (one line further out).
    virtual void PlaceDateLine(double value, const QString& text) = 0;
    // A message drawn instead of ticks at the mid value: in one line on
    // horizontal scales, as the given lines on vertical ones.
    virtual void PlaceMessage(double value, const QString& oneLine, const QStringList& lines) = 0;
};
