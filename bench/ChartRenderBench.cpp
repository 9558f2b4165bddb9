// The chart against the floor and its peers on the same scenes: N items of
// one kind (lines, circles, 7 x 7 marks) or of mixed kinds with changing
// colours, N = 10^2 .. 10^6, painted off-screen in full at every iteration by
//   RenderChart  our full repaint (background, axes, items, frame, window copy)
//   ShowItems    our item redraw with AutoRedraw (data area only)
//   RawQPainter  QPainter drawing the same primitives with the same pens
//   QCustomPlot, QtCharts  the peers, when their libraries are installed.
// Benchmark names are <scene>/<variant>/<N>; times are CPU times.
#include "ChartScenes.h"
#include "SceneRenderer.h"
#include "chart/RChart.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <map>

namespace {

class OurChart : public SceneRenderer {
public:
    OurChart(const Scene& scene, bool showItems) : showItems_(showItems)
    {
        chart_.SetControlBounds(0, 0, kChartWidth, kChartHeight);
        chart_.SetLayerRange(1, 0, 100, 0, 100);
        chart_.SetAllocSize(std::max(int(scene.Items.size()), 1));
        chart_.SetTransparentFill(true);
        for (const SceneItem& it : scene.Items) {
            chart_.SetDataColor(it.Color);
            switch (it.Shape) {
            case ItemShape::Line: chart_.AddLine(it.X1, it.Y1, it.X2, it.Y2); break;
            case ItemShape::Circle: chart_.AddEllipse(it.X1, it.Y1, it.X2, it.Y2); break;
            case ItemShape::Mark: chart_.AddMark(it.X1, it.Y1, kMarkSymbol); break;
            }
        }
        chart_.show();
    }
    void Paint() override
    {
        if (showItems_)
            chart_.ShowItems();
        else
            chart_.RenderChart();
        benchmark::DoNotOptimize(chart_.Presented().constBits());
    }

private:
    TRChart chart_;
    bool showItems_;
};

// The floor: QPainter on a QImage of the chart's size, the data area cleared
// and clipped, integer pixel positions, the pen changed only with the colour.
class RawQPainter : public SceneRenderer {
public:
    explicit RawQPainter(const Scene& scene) : scene_(scene), image_(kChartWidth, kChartHeight, QImage::Format_RGB32) {}
    void Paint() override
    {
        image_.fill(QColor(240, 240, 240));
        QPainter p(&image_);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QRect area(kDataLeft, kDataTop, kDataWidth + 1, kDataHeight + 1);
        p.fillRect(area, Qt::white);
        p.setClipRect(area);
        p.setBrush(Qt::NoBrush);
        TColor current = ~0u;
        QColor color;
        for (const SceneItem& it : scene_.Items) {
            if (it.Color != current) {
                current = it.Color;
                color = ToQColor(it.Color);
                p.setPen(QPen(color, 1, Qt::SolidLine, Qt::FlatCap));
            }
            const QPoint a = ScenePixel(it.X1, it.Y1);
            switch (it.Shape) {
            case ItemShape::Line: p.drawLine(a, ScenePixel(it.X2, it.Y2)); break;
            case ItemShape::Circle:
                p.drawEllipse(QRect(a.x() - it.Radius, a.y() - it.Radius, 2 * it.Radius + 1, 2 * it.Radius + 1));
                break;
            case ItemShape::Mark:
                p.fillRect(QRect(a.x() - kMarkSize / 2, a.y() - kMarkSize / 2, kMarkSize, kMarkSize), color);
                break;
            }
        }
        p.end();
        benchmark::DoNotOptimize(image_.constBits());
    }

private:
    const Scene& scene_;
    QImage image_;
};

// A peer's run is skipped when its run at the size before (set-up and one
// paint, scaled linearly) says it would take longer than this, and so is
// every larger one once a set-up has run out of time.
constexpr double kPeerRunLimitSeconds = 60;
constexpr double kPeerSetupLimitSeconds = 30;

struct LastRun {
    int N = 0;
    double Seconds = 0;
};

std::map<std::string, LastRun>& LastPeerRuns()
{
    static std::map<std::string, LastRun> runs;
    return runs;
}

void RunScene(benchmark::State& state, SceneKind kind, int n, const SceneVariant& variant)
{
    const std::string key = SceneName(kind).toStdString() + "/" + variant.Name;
    if (variant.Peer) {
        const auto last = LastPeerRuns().find(key);
        if (last != LastPeerRuns().end()) {
            const double estimate = last->second.Seconds * n / last->second.N;
            if (estimate > kPeerRunLimitSeconds) {
                state.SkipWithError(("capped: over " + std::to_string(int(kPeerRunLimitSeconds))
                                     + " s by the run with fewer items")
                                        .c_str());
                return;
            }
        }
    }
    const Scene scene = MakeScene(kind, n);
    QElapsedTimer setup;
    setup.start();
    const SetupDeadline deadline(kPeerSetupLimitSeconds);
    std::unique_ptr<SceneRenderer> renderer = variant.Make(scene, deadline);
    if (!renderer) {
        state.SkipWithError(("capped: setting the scene up took over " + std::to_string(int(deadline.LimitSeconds())) + " s").c_str());
        LastPeerRuns()[key] = {n, 1e9};
        return;
    }
    renderer->Paint(); // first paint: lazy layouts and caches of the peers
    const double setupSeconds = setup.elapsed() / 1000.0;
    QElapsedTimer run;
    run.start();
    for (auto _ : state)
        renderer->Paint();
    LastPeerRuns()[key] = {n, setupSeconds + run.elapsed() / 1000.0 / double(state.iterations())};
    state.SetItemsProcessed(int64_t(state.iterations()) * n);
    state.counters["setup_s"] = setupSeconds;
}

void RegisterAll()
{
    std::vector<SceneVariant> variants = {
        {"RenderChart", [](const Scene& s, const SetupDeadline&) { return std::make_unique<OurChart>(s, false); }, false},
        {"ShowItems", [](const Scene& s, const SetupDeadline&) { return std::make_unique<OurChart>(s, true); }, false},
        {"RawQPainter", [](const Scene& s, const SetupDeadline&) { return std::make_unique<RawQPainter>(s); }, false},
    };
    for (SceneVariant& peer : PeerVariants())
        variants.push_back(peer);
    for (SceneKind kind : {SceneKind::Lines, SceneKind::Circles, SceneKind::Marks, SceneKind::Mixed})
        for (int n : {100, 1000, 10000, 100000, 1000000})
            for (const SceneVariant& v : variants) {
                const std::string name = SceneName(kind).toStdString() + "/" + v.Name + "/" + std::to_string(n);
                auto* b = benchmark::RegisterBenchmark(name.c_str(), [kind, n, v](benchmark::State& st) {
                    RunScene(st, kind, n, v);
                });
                b->Unit(benchmark::kMillisecond)->MinTime(0.3);
                if (!v.Peer)
                    b->Repetitions(3)->ReportAggregatesOnly(true);
            }
}

// The offscreen platform says at every shown peer widget that it cannot
// propagate size hints; that line would drown the table.
QtMessageHandler previousHandler = nullptr;

void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(QuietOffscreenNotes);
    QApplication app(argc, argv);
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
