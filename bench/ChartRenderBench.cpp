// Full repaints of a chart the size of the simulation's spectrum chart
// (641 x 217) with N items of one kind, beside raw QPainter drawing the same
// primitives into an image of the same size: the floor for such pictures.
#include "chart/RChart.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <random>

namespace {

enum Kind { kLines, kEllipses, kMarks };

struct Scene {
    std::vector<double> x1, y1, x2, y2;
    explicit Scene(int n)
    {
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> u(0, 100), r(0.5, 10);
        for (int i = 0; i < n; ++i) {
            x1.push_back(u(rng));
            y1.push_back(u(rng));
            x2.push_back(u(rng));
            y2.push_back(r(rng));
        }
    }
};

void ChartRender(benchmark::State& state, Kind kind)
{
    const int n = int(state.range(0));
    const Scene s(n);
    TRChart chart;
    chart.SetControlBounds(0, 0, 641, 217);
    chart.SetLayerRange(1, 0, 100, 0, 100);
    chart.SetAllocSize(std::max(n, 1));
    chart.SetTransparentFill(true);
    for (int i = 0; i < n; ++i) {
        chart.SetDataColor(TColor(i * 2654435761u) & 0xFFFFFF);
        if (kind == kLines)
            chart.AddLine(s.x1[i], s.y1[i], s.x2[i], s.y2[i] * 10);
        else if (kind == kEllipses)
            chart.AddEllipse(s.x1[i], s.y1[i], s.y2[i], s.y2[i]);
        else
            chart.AddMark(s.x1[i], s.y1[i], 9);
    }
    chart.show();
    for (auto _ : state) {
        chart.RenderChart();
        benchmark::DoNotOptimize(chart.Presented().constBits());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void RawQPainter(benchmark::State& state, Kind kind)
{
    const int n = int(state.range(0));
    const Scene s(n);
    QImage image(641, 217, QImage::Format_RGB32);
    // the data area of the default layout, in pixels
    const double left = 50, top = 20, w = 641 - 70, h = 217 - 60;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < n; ++i) {
            p.setPen(QPen(QColor::fromRgb(QRgb(i * 2654435761u)), 1, Qt::SolidLine, Qt::FlatCap));
            const QPointF a(left + s.x1[i] / 100 * w, top + h - s.y1[i] / 100 * h);
            if (kind == kLines) {
                p.drawLine(a, QPointF(left + s.x2[i] / 100 * w, top + h - s.y2[i] * 10 / 100 * h));
            } else if (kind == kEllipses) {
                p.drawEllipse(a, s.y2[i] / 100 * w, s.y2[i] / 100 * h);
            } else {
                p.fillRect(QRectF(a.x() - 3, a.y() - 3, 7, 7), p.pen().color());
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int n : {1000, 10000, 100000, 1000000})
        b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(ChartRender, lines, kLines)->Apply(Sizes);
BENCHMARK_CAPTURE(RawQPainter, lines, kLines)->Apply(Sizes);
BENCHMARK_CAPTURE(ChartRender, ellipses, kEllipses)->Apply(Sizes);
BENCHMARK_CAPTURE(RawQPainter, ellipses, kEllipses)->Apply(Sizes);
BENCHMARK_CAPTURE(ChartRender, marks, kMarks)->Apply(Sizes);
BENCHMARK_CAPTURE(RawQPainter, marks, kMarks)->Apply(Sizes);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
