// Date and time labels over any day value and any pattern.
//
// Rules checked: a value with a date in the years 1 to 9999 writes a full
// date and time that reads back as the value (to the millisecond), and one
// without writes nothing; day numbers and calendar dates convert both ways
// without loss; clock times add up to the seconds they show; the date line
// shows its separator; no pattern makes a text much longer than itself.
#include "FuzzApplication.h"

#include "scale/DateTimeLabels.h"
#include "support/DayNumbers.h"
#include "support/Errors.h"

#include <QRegularExpression>
#include <cmath>

namespace {

QString Show(double v)
{
    return QString::number(v, 'g', 17);
}

double ConsumeDayValue(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
        return ConsumeInterestingDouble(in);
    case 1: // near the ends of the calendar and the epoch
        return in.PickValueInArray({kFirstDayNumber, kLastDayNumber, 0.0, -1.0}) +
               in.ConsumeFloatingPointInRange<double>(-2.0, 2.0);
    default:
        return in.ConsumeFloatingPointInRange<double>(kFirstDayNumber - 10, kLastDayNumber + 10);
    }
}

void CheckFullDateTime(double x)
{
    static const QString kPattern = QStringLiteral("yyyy\"-\"mm\"-\"dd\" \"hh\":\"nn\":\"ss\".\"zzz");
    static const QRegularExpression kRead(QStringLiteral("^(\\d{4})-(\\d\\d)-(\\d\\d) (\\d\\d):(\\d\\d):(\\d\\d)\\.(\\d{3})$"));
    const QString text = FormatDateTimePattern(kPattern, x);
    const double v = std::fabs(x) < 1e-8 ? 0.0 : x;
    TDateTimeParts parts;
    const bool hasDate = DecodeDayNumber(v, parts);
    FUZZ_CHECK(hasDate == !text.isEmpty(), Show(x) + u' ' + text);
    if (!hasDate)
        return;
    const auto m = kRead.match(text);
    FUZZ_CHECK(m.hasMatch(), text);
    auto n = [&](int i) { return m.captured(i).toInt(); };
    FUZZ_CHECK(n(1) == parts.Date.Year && n(2) == parts.Date.Month && n(3) == parts.Date.Day, text);
    double back = 0;
    try {
        back = EncodeDayNumber(n(1), n(2), n(3), n(4), n(5), n(6), n(7));
    } catch (const Exception& e) {
        FuzzFailure(text + QStringLiteral(": ") + e.Message());
    }
    // Half a millisecond of rounding, and the spacing of doubles near x.
    const double tolerance = 0.5 / 86400000.0 + 4 * std::fabs(v) * 2.2e-16 + 1e-12;
    FUZZ_CHECK(std::fabs(back - v) <= tolerance, text + u' ' + Show(x) + u' ' + Show(back));
}

void CheckCalendar(FuzzedDataProvider& in)
{
    const qint64 day = in.ConsumeIntegralInRange<qint64>(qint64(kFirstDayNumber), qint64(kLastDayNumber));
    const TCalendarDate d = DateOfDay(day);
    FUZZ_CHECK(d.Year >= 1 && d.Year <= 9999, QString::number(day));
    FUZZ_CHECK(DayOfDate(d.Year, d.Month, d.Day) == day, QString::number(day));
    // And any triple: refused, or the same date back.
    const int y = in.ConsumeIntegralInRange<int>(-2, 10001);
    const int mo = in.ConsumeIntegralInRange<int>(-1, 14);
    const int dd = in.ConsumeIntegralInRange<int>(-1, 33);
    try {
        const TCalendarDate back = DateOfDay(DayOfDate(y, mo, dd));
        FUZZ_CHECK(back.Year == y && back.Month == mo && back.Day == dd, QStringLiteral("%1-%2-%3").arg(y).arg(mo).arg(dd));
    } catch (const Exception&) {
        FUZZ_CHECK(y < 1 || y > 9999 || mo < 1 || mo > 12 || dd < 1 || dd > 28, QStringLiteral("%1-%2-%3").arg(y).arg(mo).arg(dd));
    }
}

void CheckClockTime(double seconds, bool withMs)
{
    const QString text = FormatClockTime(withMs, seconds);
    if (!std::isfinite(seconds)) {
        FUZZ_CHECK(text.isEmpty(), text);
        return;
    }
    static const QRegularExpression kRead(QStringLiteral("^([ -])(\\d+):(\\d\\d):(\\d\\d)(\\.(\\d{3}))?$"));
    const auto m = kRead.match(text);
    FUZZ_CHECK(m.hasMatch(), text);
    FUZZ_CHECK(m.captured(5).isEmpty() != withMs, text);
    if (std::fabs(seconds) >= 9e15)
        return; // no milliseconds left in such a value
    const double shown = m.captured(2).toDouble() * 3600 + m.captured(3).toInt() * 60 + m.captured(4).toInt() +
                         (withMs ? m.captured(6).toInt() / 1000.0 : 0.0);
    const double c = std::fabs(seconds);
    const double eps = c * 4e-16 + 1e-9;
    if (withMs)
        FUZZ_CHECK(std::fabs(shown - c) <= 0.0005 + eps, text + u' ' + Show(seconds));
    else
        FUZZ_CHECK(shown <= c + 0.0005 + eps && shown > c - 1.0 - eps, text + u' ' + Show(seconds));
    FUZZ_CHECK(m.captured(3).toInt() < 60 && m.captured(4).toInt() < 60, text);
    if (m.captured(1) == QLatin1String("-"))
        FUZZ_CHECK(seconds < 0, text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const double x = ConsumeDayValue(in);
    CheckFullDateTime(x);
    CheckCalendar(in);
    CheckClockTime(ConsumeInterestingDouble(in), in.ConsumeBool());

    const bool monthName = in.ConsumeBool();
    const auto yearLength = TYearLength(in.ConsumeIntegralInRange<int>(ylNone, ylYYYY));
    const auto order = TDateOrder(in.ConsumeIntegralInRange<int>(doMMDDYY, doYYMMDD));
    const QChar separator(in.ConsumeIntegralInRange<char16_t>(1, 0xD7FF));
    const QString date = FormatDateLabel(monthName, yearLength, order, separator, x);
    if (!date.isEmpty())
        FUZZ_CHECK(date.contains(separator), date);

    const QString pattern = QString::fromStdString(in.ConsumeRemainingBytesAsString());
    const QString text = FormatDateTimePattern(pattern, x);
    FUZZ_CHECK(text.size() <= 4 * pattern.size() + 16, text);
    return 0;
}
