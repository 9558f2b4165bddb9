// Reading the spectrum library: generated libraries of 1 MB and 20 MB on
// disk (records of 12 pairs with CR LF line ends and a credit on every name
// line, like the one we ship), beside the floor of reading the file into
// memory once.
//   ReadFile            open the file and read it whole into memory
//   BuildSubstanceList  what the main window does at start: read the file and
//                       list the substance names
//   LoadSpectrum        load the last substance (the loader compares every
//                       line from the start, so the last one is the slowest)
// Both passes let the window system process pending messages once per line
// read. The hook variants show what that costs: none, processEvents after
// every line (as the main window does it), and processEvents at most every
// 5 ms, which keeps the program as responsive to the user.
#include "app/MessagesDuringReads.h"
#include "app/SpectrumLibrary.h"
#include "support/Matrix.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <memory>

namespace {

struct Library {
    QString Path;
    int Records = 0;
    qint64 Bytes = 0;
};

QByteArray Record(int r)
{
    QByteArray text = "/NAME\r\n";
    text += "Substance " + QByteArray::number(r) + " (by courtesy of the benchmark, record " + QByteArray::number(r) + ")\r\n";
    text += "Formula C" + QByteArray::number(r % 40 + 1) + "H" + QByteArray::number(r % 80 + 2) + "\r\n";
    text += "Source: generated\r\n";
    text += "Peaks: 12\r\n";
    for (int line = 0; line < 4; ++line) {
        for (int k = 0; k < 3; ++k) {
            const int mass = 12 + line * 30 + k * 7 + r % 5;
            text += QByteArray::number(double(mass), 'f', 1).rightJustified(7);
            text += QByteArray::number(double((mass * 37 + r) % 1000) / 10.0, 'f', 2).rightJustified(7);
        }
        text += "\r\n";
    }
    text += "/PHYSP\r\n\r\n";
    return text;
}

// The library of about `megabytes` MB, written once per run.
const Library& GeneratedLibrary(int megabytes)
{
    static QTemporaryDir dir;
    static std::map<int, Library> made;
    Library& lib = made[megabytes];
    if (!lib.Path.isEmpty())
        return lib;
    QByteArray text;
    const qint64 target = qint64(megabytes) * 1024 * 1024;
    text.reserve(target + 1024);
    while (text.size() < target)
        text += Record(++lib.Records);
    lib.Path = dir.filePath(QStringLiteral("library_%1MB.tra").arg(megabytes));
    QFile f(lib.Path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    lib.Bytes = text.size();
    return lib;
}

enum class Hook { None, EveryLine, Every5ms };

void SetHook(TSpectrumLibrary& library, Hook hook)
{
    switch (hook) {
    case Hook::None: library.OnLineRead = nullptr; break;
    case Hook::EveryLine: library.OnLineRead = [] { QCoreApplication::processEvents(); }; break;
    case Hook::Every5ms: library.OnLineRead = ProcessMessagesEvery(5); break;
    }
}

void Finish(benchmark::State& state, const Library& lib)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * lib.Bytes);
    state.counters["MB"] = double(lib.Bytes) / (1024.0 * 1024.0);
}

void ReadFile(benchmark::State& state, int megabytes)
{
    const Library& lib = GeneratedLibrary(megabytes);
    for (auto _ : state) {
        QFile f(lib.Path);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(bytes.constData());
    }
    Finish(state, lib);
}

void BuildSubstanceList(benchmark::State& state, int megabytes, Hook hook)
{
    const Library& lib = GeneratedLibrary(megabytes);
    for (auto _ : state) {
        TSpectrumLibrary library;
        SetHook(library, hook);
        if (!library.Open(lib.Path)) {
            state.SkipWithError("cannot read the library");
            return;
        }
        const QStringList names = library.SubstanceNames();
        if (names.size() != lib.Records) {
            state.SkipWithError("wrong number of names");
            return;
        }
    }
    Finish(state, lib);
}

void LoadSpectrum(benchmark::State& state, int megabytes, Hook hook)
{
    const Library& lib = GeneratedLibrary(megabytes);
    TSpectrumLibrary library;
    library.Open(lib.Path);
    SetHook(library, hook);
    const QString last = QStringLiteral("Substance %1").arg(lib.Records);
    TMatrix matrix;
    matrix.SetNrOfColumns(2);
    for (auto _ : state) {
        const TSpectrumLoad load = library.LoadSpectrum(last, matrix);
        if (load.LineCount != 12) {
            state.SkipWithError("the last substance did not load");
            return;
        }
    }
    Finish(state, lib);
}

void RegisterAll()
{
    const std::pair<Hook, const char*> hooks[] = {
        {Hook::None, "no_hook"}, {Hook::EveryLine, "events_every_line"}, {Hook::Every5ms, "events_every_5ms"}};
    for (int mb : {1, 20}) {
        const std::string size = std::to_string(mb) + "MB";
        benchmark::RegisterBenchmark(("ReadFile/" + size).c_str(), ReadFile, mb)->Unit(benchmark::kMillisecond)->MinTime(0.3);
        for (const auto& [hook, name] : hooks) {
            benchmark::RegisterBenchmark(("BuildSubstanceList/" + size + "/" + name).c_str(), BuildSubstanceList, mb, hook)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.3);
            benchmark::RegisterBenchmark(("LoadSpectrum/" + size + "/" + name).c_str(), LoadSpectrum, mb, hook)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.3);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
