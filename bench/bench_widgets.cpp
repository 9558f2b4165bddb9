// Paint time of the display widgets: the dot-matrix read-out of the focused
// mass and a numeric read-out, each rendered into its off-screen picture as
// every change of the field slider does.
#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void RasterLabMass(benchmark::State& state)
{
    TRasterLab lab;
    lab.resize(113, 49);
    lab.SetAutoCenter(true);
    lab.SetText(QStringLiteral("220.8"));
    for (auto _ : state) {
        lab.Render();
        benchmark::DoNotOptimize(lab.Picture().Image().constBits());
    }
}
BENCHMARK(RasterLabMass)->Unit(benchmark::kMicrosecond);

void NumLabField(benchmark::State& state)
{
    TNumLab lab;
    lab.resize(96, 20);
    lab.SetPrecision(0);
    lab.SetLabelWidth(50);
    lab.SetRightText(QStringLiteral("[V]"));
    lab.SetValue(5000);
    for (auto _ : state) {
        lab.Render();
        benchmark::DoNotOptimize(lab.Picture().Image().constBits());
    }
}
BENCHMARK(NumLabField)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
