// Lookups in a large translation table, and the translation of the whole
// main window as done once at start.
#include "app/MainWindow.h"
#include "i18n/Lexifer2000.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 10000;

void LoadTable(TLexifer2000& lex)
{
    QByteArray file;
    for (int i = 0; i < kEntries; ++i)
        file += "[Key number " + QByteArray::number(i) + "]=Translation " + QByteArray::number(i) + "|$$\r\n";
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    lex.LoadFromStream(buffer);
}

void BM_LoadTable(benchmark::State& state)
{
    for (auto _ : state) {
        TLexifer2000 lex;
        LoadTable(lex);
        benchmark::DoNotOptimize(lex.Keys().size());
    }
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMillisecond);

void BM_Lookup(benchmark::State& state)
{
    TLexifer2000 lex;
    LoadTable(lex);
    QStringList keys;
    for (int i = 0; i < kEntries; i += 97)
        keys.append(QStringLiteral("KEY NUMBER %1").arg(i));
    keys.append(QStringLiteral("not in the table"));
    qsizetype k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lex.Translate(keys[k]));
        k = (k + 1) % keys.size();
    }
}
BENCHMARK(BM_Lookup);

void BM_TranslateMainWindow(benchmark::State& state)
{
    QFile file(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data/ionpath.de.itl")));
    file.open(QIODevice::ReadOnly);
    TLexifer2000 lex;
    lex.LoadFromStream(file);
    for (auto _ : state) {
        state.PauseTiming();
        auto* window = new TfrmExample;
        state.ResumeTiming();
        lex.TranslateForm(window);
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TranslateMainWindow)->Unit(benchmark::kMicrosecond);

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
