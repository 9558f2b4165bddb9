// Time from process start to the first deflection picture: the program is
// started with IONPATH_FIRST_PICTURE_EXIT=1 under the offscreen platform in
// its own folder (where the library file lies beside it); it closes the
// About box as soon as it is shown, exits right after presenting the first
// deflection picture and prints "first picture after <N> ms". The benchmark
// times spawn to exit and reports the program's own figure beside it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <benchmark/benchmark.h>

namespace {

constexpr int kTimeoutMs = 30000;

void FirstPicture(benchmark::State& state)
{
    const QFileInfo program(QStringLiteral(IONPATH_PROGRAM));
    double reported = 0;
    for (auto _ : state) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("IONPATH_FIRST_PICTURE_EXIT"), QStringLiteral("1"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(program.absolutePath());
        QElapsedTimer t;
        t.start();
        p.start(program.absoluteFilePath(), {});
        const bool finished = p.waitForStarted(kTimeoutMs) && p.waitForFinished(kTimeoutMs);
        const double seconds = t.nsecsElapsed() / 1e9;
        if (!finished) {
            p.kill();
            p.waitForFinished();
            state.SkipWithError("the program did not exit after its first picture (IONPATH_FIRST_PICTURE_EXIT not supported?)");
            break;
        }
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            state.SkipWithError(("the program ended with status " + std::to_string(p.exitCode())).c_str());
            break;
        }
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("first picture after (\\d+) ms")).match(out);
        if (!m.hasMatch()) {
            state.SkipWithError("the program did not print \"first picture after <N> ms\"");
            break;
        }
        reported = m.captured(1).toDouble();
        state.SetIterationTime(seconds);
    }
    state.counters["reported_ms"] = reported;
}
BENCHMARK(FirstPicture)->UseManualTime()->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
