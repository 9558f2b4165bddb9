// Text to real and the program's number formats over any input.
//
// Rules checked: the 16-bit and the 8-bit reader agree on every ASCII text;
// StrToFloat raises exactly when the reader refuses; a real written with 17
// significant digits ('e' and 'g') reads back as the same real; a fixed
// form reads back within half its last digit; integers read back in both
// bases; FormatReal fills at least its field and its overflow marker is all
// "*"; FloorToInt is the floor; Format raises nothing but its conversion
// error, whatever the pattern.
#include "FuzzApplication.h"

#include "support/ConvertError.h"
#include "support/FloatParse.h"
#include "support/FormatReal.h"
#include "support/NumberFormat.h"
#include "support/NumberRoutines.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

QString Show(double v)
{
    return QString::number(v, 'g', 17);
}

void CheckReading(const std::string& bytes, char separator)
{
    const QByteArrayView raw(bytes.data(), qsizetype(bytes.size()));
    double fromBytes = 0;
    const bool okBytes = TryStrToFloat(raw, separator, fromBytes);
    bool ascii = true;
    for (char c : bytes)
        ascii &= static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        const QString text = QString::fromLatin1(raw);
        double fromText = 0;
        const bool okText = TryStrToFloat(text, QLatin1Char(separator), fromText);
        FUZZ_CHECK(okText == okBytes, text);
        if (okText)
            FUZZ_CHECK(std::memcmp(&fromText, &fromBytes, sizeof fromText) == 0, text);
        bool raised = false;
        double thrown = 0;
        try {
            thrown = StrToFloat(text, QLatin1Char(separator));
        } catch (const EConvertError& e) {
            raised = true;
            FUZZ_CHECK(e.Message().contains(text), e.Message());
        }
        FUZZ_CHECK(raised == !okText, text);
        if (okText)
            FUZZ_CHECK(thrown == fromText || (std::isnan(thrown) && std::isnan(fromText)), text);
    }
    if (okBytes)
        FUZZ_CHECK(std::isfinite(fromBytes), QString::fromLatin1(raw));
}

double Read(const QString& text)
{
    double v = 0;
    FUZZ_CHECK(TryStrToFloat(text, QLatin1Char('.'), v), text);
    return v;
}

void CheckFormats(double v, int width, int precision)
{
    if (!std::isfinite(v)) {
        const QString expected = std::isnan(v) ? QStringLiteral("NAN") : v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
        FUZZ_CHECK(FormatFloat('f', 0, precision, v) == expected, Show(v));
        FUZZ_CHECK(FormatReal(0, precision, v) == expected, Show(v));
        return;
    }
    // Exact round trips with all the digits a double has.
    const QString e17 = FormatFloat('e', 0, 17, v);
    FUZZ_CHECK(Read(e17) == v, e17 + u' ' + Show(v));
    const QString g17 = FormatFloat('g', 0, 17, v);
    FUZZ_CHECK(Read(g17) == v, g17 + u' ' + Show(v));

    const QString e = FormatFloat('e', width, precision, v);
    FUZZ_CHECK(e.size() >= std::min(width, 65535), e);
    const int significant = precision < 0 ? 15 : std::max(precision, 1);
    // Fewer digits may round the largest reals beyond the range of a double.
    if (v != 0 && significant <= 17 && std::fabs(v) < 1e308)
        FUZZ_CHECK(std::fabs(Read(e) - v) <= std::fabs(v) * (0.5 * std::pow(10.0, 1 - significant) + 1e-15), e);

    const int decimals = std::min(precision < 0 ? 2 : precision, 40);
    const QString f = FormatFloat('f', width, decimals, v);
    FUZZ_CHECK(f.size() >= std::min(width, 65535), f);
    if (std::fabs(v) < 1e15) {
        const double halfDigit = 0.5 * std::pow(10.0, -decimals);
        FUZZ_CHECK(std::fabs(Read(f) - v) <= halfDigit + std::fabs(v) * 1e-15 + 1e-300, f + u' ' + Show(v));
    }
    (void)FormatFloat('g', width, precision, v);

    // FormatReal: a field of at least |width|, "*" only as a whole.
    const QString r = FormatReal(width, precision, v);
    const int field = std::min(std::abs(width), 65535);
    FUZZ_CHECK(r.size() >= field, r);
    if (width < 0)
        FUZZ_CHECK(!r.startsWith(u' '), r);
    const QString rexp = FormatReal(width, -2, v);
    if (rexp.contains(u'*'))
        FUZZ_CHECK(rexp.count(u'*') == rexp.size(), rexp);
    else if (width >= 0 && std::fabs(v) < 1e308)
        FUZZ_CHECK(std::fabs(Read(rexp.trimmed()) - v) <= std::fabs(v) * 0.5, rexp + u' ' + Show(v));
    if (precision >= 0 && precision <= 17 && std::fabs(v) < 1e15 && width >= 0) {
        const double back = Read(r.trimmed());
        FUZZ_CHECK(std::fabs(back - v) <= 0.5 * std::pow(10.0, -precision) + std::fabs(v) * 1e-15 + 1e-300, r);
    }

    // FloorToInt: the floor inside the 32-bit range, the nearest end outside.
    const std::int32_t fl = FloorToInt(v);
    if (v >= -2147483648.0 && v < 2147483648.0)
        FUZZ_CHECK(double(fl) == std::floor(v), Show(v));
    else
        FUZZ_CHECK(fl == (v < 0 ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max()), Show(v));
}

void CheckIntegers(qint64 n, int width, int precision)
{
    const QString d = FormatInteger('d', width, precision, n);
    bool ok = false;
    FUZZ_CHECK(d.trimmed().toLongLong(&ok) == n && ok, d);
    const QString x = FormatInteger('x', width, precision, n);
    FUZZ_CHECK(x.trimmed().toULongLong(&ok, 16) == quint64(n) && ok, x);
    FUZZ_CHECK(d.size() >= std::min(width, 65535) && x.size() >= std::min(width, 65535), d);
}

void CheckPattern(FuzzedDataProvider& in)
{
    const QString pattern = QString::fromStdString(in.ConsumeRandomLengthString(48));
    std::vector<TFormatArg> pool;
    for (int i = 0; i < 6; ++i) {
        switch (in.ConsumeIntegralInRange<int>(0, 2)) {
        case 0:
            pool.emplace_back(in.ConsumeIntegral<qint64>());
            break;
        case 1:
            pool.emplace_back(ConsumeInterestingDouble(in));
            break;
        default:
            pool.emplace_back(QString::fromStdString(in.ConsumeRandomLengthString(12)));
        }
    }
    try {
        (void)Format(pattern, {pool[0], pool[1], pool[2], pool[3], pool[4], pool[5]});
    } catch (const EConvertError&) {
    }
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
    const char separator = in.ConsumeBool() ? '.' : static_cast<char>(in.ConsumeIntegral<std::uint8_t>());
    const double v = ConsumeInterestingDouble(in);
    const int width = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-40, 40) : in.ConsumeIntegral<int>();
    const int precision = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-3, 20) : in.ConsumeIntegral<int>();
    const qint64 n = in.ConsumeIntegral<qint64>();
    CheckFormats(v, width, precision);
    CheckIntegers(n, width, precision);
    CheckPattern(in);
    CheckReading(in.ConsumeRemainingBytesAsString(), separator);
    return 0;
}
