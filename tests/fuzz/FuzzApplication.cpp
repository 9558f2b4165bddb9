#include "FuzzApplication.h"

#include <QApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

void StartFuzzApplication(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps the reference to argc for the life of the application.
    static int qtArgc = 1;
    static char* qtArgv[] = {*argc > 0 ? (*argv)[0] : const_cast<char*>("fuzz"), nullptr};
    static QApplication app(qtArgc, qtArgv);
}

void FuzzFailure(const QString& what)
{
    std::fprintf(stderr, "FUZZ FAILURE: %s\n", what.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

double ConsumeInterestingDouble(FuzzedDataProvider& in)
{
    using L = std::numeric_limits<double>;
    static const double kSpecial[] = {
        0.0, -0.0, 1.0, -1.0, 0.5, 1e-300, -1e-300, 1e-100, 1e-15, 1e15, 1e300, -1e300,
        L::max(), L::lowest(), L::min(), L::denorm_min(), L::infinity(), -L::infinity(),
        L::quiet_NaN(), 2147483647.0, 2147483648.0, -2147483649.0, 30000.0, 2958465.0, -693593.0, 3000000.0,
    };
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return kSpecial[in.ConsumeIntegralInRange<size_t>(0, std::size(kSpecial) - 1)];
    case 1: {
        const std::uint64_t bits = in.ConsumeIntegral<std::uint64_t>();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    case 2:
        return in.ConsumeFloatingPoint<double>();
    default: // ordinary magnitudes, where most rules are decided
        return in.ConsumeFloatingPointInRange<double>(-1e6, 1e6);
    }
}
