// Reads the JSON results of the benchmark programs and prints the tables
// that matter: the chart scenes side by side with the floor and the peers,
// the simulation figures, and every performance target with its measured
// figure and whether it is met.
//
//   benchtable bench/results/*.json
//
// Times are CPU times of one paint or call (the median where a benchmark
// was repeated), except for the field scan and the start-up, which are wall
// times because other processes (the X server) take part.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextStream>
#include <cmath>
#include <map>
#include <optional>

namespace {

struct Result {
    double CpuMs = 0;
    double RealMs = 0;
    QJsonObject Raw;
    QString Error; // a skipped run: why
};

// Results by plain name: "lines/RenderChart/1000", "FieldScan/xcb", ...
std::map<QString, Result> results;

double ToMs(double t, const QString& unit)
{
    if (unit == QLatin1String("ns"))
        return t / 1e6;
    if (unit == QLatin1String("us"))
        return t / 1e3;
    if (unit == QLatin1String("s"))
        return t * 1e3;
    return t;
}

// Drops the settings Google Benchmark adds to a name (min_time, repeats,
// the aggregate's suffix).
QString PlainName(QString name)
{
    static const QRegularExpression settings(QStringLiteral("/(min_time|repeats|iterations|manual_time|real_time)[^/]*"));
    name.remove(settings);
    static const QRegularExpression aggregate(QStringLiteral("_(mean|median|stddev|cv)$"));
    name.remove(aggregate);
    return name;
}

void Read(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        QTextStream(stderr) << "benchtable: cannot read " << path << "\n";
        return;
    }
    // Google Benchmark writes NaN and inf for counters it cannot compute (the
    // spread of a counter that is 0 in every repetition), which is not JSON:
    // they become null, or the whole file would be refused.
    QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression notJson(QStringLiteral(":(\\s*)-?(nan|NaN|inf|Infinity)\\b"));
    text.replace(notJson, QStringLiteral(":\\1null"));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (doc.isNull()) {
        QTextStream(stderr) << "benchtable: " << path << " is not JSON: " << error.errorString() << "\n";
        return;
    }
    const QJsonArray runs = doc.object().value(QStringLiteral("benchmarks")).toArray();
    for (const QJsonValue& v : runs) {
        const QJsonObject o = v.toObject();
        const QString name = PlainName(o.value(QStringLiteral("name")).toString());
        const bool aggregate = o.value(QStringLiteral("run_type")).toString() == QLatin1String("aggregate");
        if (aggregate && o.value(QStringLiteral("aggregate_name")).toString() != QLatin1String("median"))
            continue;
        if (!aggregate && results.count(name) && results[name].Raw.value(QStringLiteral("run_type")).toString() == QLatin1String("aggregate"))
            continue; // the median wins over single repetitions
        Result r;
        const QString unit = o.value(QStringLiteral("time_unit")).toString();
        r.CpuMs = ToMs(o.value(QStringLiteral("cpu_time")).toDouble(), unit);
        r.RealMs = ToMs(o.value(QStringLiteral("real_time")).toDouble(), unit);
        r.Raw = o;
        if (o.value(QStringLiteral("error_occurred")).toBool())
            r.Error = o.value(QStringLiteral("error_message")).toString();
        results[name] = r;
    }
}

const Result* Find(const QString& name)
{
    const auto it = results.find(name);
    return it == results.end() ? nullptr : &it->second;
}

std::optional<double> Cpu(const QString& name)
{
    const Result* r = Find(name);
    if (!r || !r->Error.isEmpty())
        return std::nullopt;
    return r->CpuMs;
}

double Counter(const QString& name, const char* counter)
{
    const Result* r = Find(name);
    return r ? r->Raw.value(QLatin1String(counter)).toDouble() : 0;
}

QTextStream out(stdout);

QString Num(double v)
{
    if (v >= 100)
        return QString::number(v, 'f', 0);
    if (v >= 10)
        return QString::number(v, 'f', 1);
    if (v >= 1)
        return QString::number(v, 'f', 2);
    return QString::number(v, 'f', 3);
}

QString Cell(const std::optional<double>& v, int width = 10)
{
    return (v ? Num(*v) : QStringLiteral("-")).rightJustified(width);
}

QString Verdict(bool met) { return met ? QStringLiteral("met") : QStringLiteral("MISSED"); }

const QStringList kScenes = {QStringLiteral("lines"), QStringLiteral("circles"), QStringLiteral("marks"), QStringLiteral("mixed")};
const QStringList kVariants = {QStringLiteral("RenderChart"), QStringLiteral("ShowItems"), QStringLiteral("RawQPainter"),
                               QStringLiteral("QCustomPlot"), QStringLiteral("QtCharts")};
const int kSizes[] = {100, 1000, 10000, 100000, 1000000};

std::optional<double> Scene(const QString& scene, const QString& variant, int n)
{
    return Cpu(scene + QLatin1Char('/') + variant + QLatin1Char('/') + QString::number(n));
}

std::optional<double> Ratio(const std::optional<double>& a, const std::optional<double>& b)
{
    if (!a || !b || *b <= 0)
        return std::nullopt;
    return *a / *b;
}

void ChartTables()
{
    if (!Find(QStringLiteral("lines/RenderChart/100")))
        return;
    out << "\nChart scenes, 641 x 217, ms of CPU per full paint (median of 3 for ours and the floor)\n";
    for (const QString& scene : kScenes) {
        out << "\n" << scene.leftJustified(18);
        for (int n : kSizes)
            out << QStringLiteral("N=%1").arg(n).rightJustified(10);
        out << "\n";
        QStringList notes;
        for (const QString& v : kVariants) {
            out << v.leftJustified(18);
            for (int n : kSizes) {
                const Result* r = Find(scene + QLatin1Char('/') + v + QLatin1Char('/') + QString::number(n));
                if (r && !r->Error.isEmpty()) {
                    out << QStringLiteral("capped").rightJustified(10);
                    notes << QStringLiteral("%1 %2 N=%3: %4").arg(scene, v).arg(n).arg(r->Error);
                } else {
                    out << Cell(Scene(scene, v, n));
                }
            }
            out << "\n";
        }
        const std::pair<QString, QString> ratios[] = {{QStringLiteral("RenderChart"), QStringLiteral("RawQPainter")},
                                                      {QStringLiteral("QCustomPlot"), QStringLiteral("RenderChart")},
                                                      {QStringLiteral("QtCharts"), QStringLiteral("RenderChart")}};
        for (const auto& [a, b] : ratios) {
            out << (a + QLatin1Char('/') + b).left(17).leftJustified(18);
            for (int n : kSizes)
                out << Cell(Ratio(Scene(scene, a, n), Scene(scene, b, n)));
            out << "\n";
        }
        for (const QString& note : notes)
            out << "  " << note << "\n";
    }
}

void ChartTargets()
{
    if (!Find(QStringLiteral("lines/RenderChart/100")))
        return;
    out << "\nTargets of the chart\n";
    for (const QString& scene : kScenes) {
        double worst = 0;
        QStringList figures;
        for (int n : {10000, 100000, 1000000}) {
            const auto r = Ratio(Scene(scene, QStringLiteral("RenderChart"), n), Scene(scene, QStringLiteral("RawQPainter"), n));
            if (r) {
                worst = std::max(worst, *r);
                figures << Num(*r);
            }
        }
        out << QStringLiteral("  RenderChart <= 1.3 x raw QPainter, N >= 10^4, %1: %2 -> %3\n")
                   .arg(scene.leftJustified(7), figures.join(QStringLiteral(" / ")), Verdict(!figures.isEmpty() && worst <= 1.3));
    }
    for (const QString& scene : kScenes)
        for (const QString& peer : {QStringLiteral("QCustomPlot"), QStringLiteral("QtCharts")}) {
            const Result* r = Find(scene + QLatin1Char('/') + peer + QStringLiteral("/100000"));
            if (!r)
                continue;
            const auto ours = Scene(scene, QStringLiteral("RenderChart"), 100000);
            QString text;
            if (!r->Error.isEmpty())
                text = QStringLiteral("peer capped (over the time limit) -> met");
            else if (const auto f = Ratio(Scene(scene, peer, 100000), ours))
                text = QStringLiteral("%1 x faster -> %2").arg(Num(*f), Verdict(*f >= 3));
            else
                text = QStringLiteral("no figure");
            out << QStringLiteral("  >= 3 x faster than %1 at N = 10^5, %2: %3\n").arg(peer.leftJustified(11), scene.leftJustified(7), text);
        }
    for (const QString& scene : kScenes)
        for (const QString& v : {QStringLiteral("RenderChart"), QStringLiteral("ShowItems")}) {
            const auto g = Ratio(Scene(scene, v, 1000000), Scene(scene, v, 100000));
            out << QStringLiteral("  growth t(10^6)/t(10^5) in 8..12, %1 %2: %3 -> %4\n")
                       .arg(v.leftJustified(11), scene.leftJustified(7), g ? Num(*g) : QStringLiteral("-"),
                            Verdict(g && *g >= 8 && *g <= 12));
        }
}

void SimulationTables()
{
    bool any = false;
    for (int lines : {10, 100, 500})
        if (const auto t = Cpu(QStringLiteral("ComputeIonPaths/%1").arg(lines))) {
            if (!any)
                out << "\nSimulation\n";
            any = true;
            out << QStringLiteral("  ComputeIonPaths with its repaints, %1 lines: %2 ms\n").arg(lines, 3).arg(Num(*t));
        }
    for (const auto& [name, r] : results) {
        if (!name.startsWith(QLatin1String("FieldScan/")))
            continue;
        if (!any)
            out << "\nSimulation\n";
        any = true;
        const double passes = Counter(name, "passes");
        const double wallPass = Counter(name, "ms_per_pass");
        const double cpuPass = passes > 0 ? r.CpuMs / passes : 0;
        out << QStringLiteral("  whole scan of %1 passes (%2 lines), platform %3: %4 ms wall, %5 ms CPU;"
                              " per pass %6 ms wall, %7 ms CPU\n")
                   .arg(passes)
                   .arg(Counter(name, "lines"))
                   .arg(name.mid(10), Num(r.RealMs), Num(r.CpuMs), Num(wallPass), Num(cpuPass));
        // "Far below" taken as a quarter of a 60 Hz frame, on the wall clock.
        out << QStringLiteral("    target: a pass (two computations with their paints) below a quarter of a 16.7 ms frame -> %1\n")
                   .arg(Verdict(wallPass > 0 && wallPass < 16.7 / 4));
    }
    for (const char* size : {"1MB", "20MB"}) {
        const auto read = Cpu(QStringLiteral("ReadFile/%1").arg(QLatin1String(size)));
        if (!read)
            continue;
        out << QStringLiteral("\n  Library of %1 (%2 MB): reading it into memory once %3 ms\n")
                   .arg(QLatin1String(size))
                   .arg(Num(Counter(QStringLiteral("ReadFile/%1").arg(QLatin1String(size)), "MB")))
                   .arg(Num(*read));
        for (const char* pass : {"BuildSubstanceList", "LoadSpectrum"}) {
            for (const char* hook : {"no_hook", "events_every_line", "events_every_5ms"}) {
                const auto t = Cpu(QStringLiteral("%1/%2/%3").arg(QLatin1String(pass), QLatin1String(size), QLatin1String(hook)));
                if (!t)
                    continue;
                out << QStringLiteral("    %1 %2: %3 ms = %4 x the read\n")
                           .arg(QString::fromLatin1(pass).leftJustified(18), QString::fromLatin1(hook).leftJustified(17), Num(*t), Num(*t / *read));
            }
        }
        const auto load = Cpu(QStringLiteral("LoadSpectrum/%1/no_hook").arg(QLatin1String(size)));
        if (load)
            out << QStringLiteral("    target: LoadSpectrum within 3 x the read: %1 x -> %2\n").arg(Num(*load / *read), Verdict(*load <= 3 * *read));
    }
    if (const Result* r = Find(QStringLiteral("FirstPicture"))) {
        if (!r->Error.isEmpty())
            out << "\n  Time to the first deflection picture: not measured (" << r->Error << ")\n";
        else
            out << QStringLiteral("\n  Time from process start to the first deflection picture: %1 ms (the program's own count: %2 ms)\n")
                       .arg(Num(r->RealMs), Num(Counter(QStringLiteral("FirstPicture"), "reported_ms")));
    }
}

// bench_analysis: a pattern's and a formula reading's CPU time, in ms from
// 1 ms on and in microseconds below.
void AnalysisTables()
{
    const auto time = [](double ms) { return ms >= 1 ? Num(ms) + QStringLiteral(" ms") : Num(ms * 1000) + QStringLiteral(" us"); };
    bool any = false;
    for (const char* formula : {"C100H202", "C5000H5000", "Mo16", "Sm10000"}) {
        const QString name = QStringLiteral("IsotopePattern/") + QLatin1String(formula);
        const auto t = Cpu(name);
        if (!t)
            continue;
        if (!any)
            out << "\nIsotope patterns and formulas\n";
        any = true;
        out << QStringLiteral("  ComputeIsotopePattern %1 (%2 atoms, %3 lines): %4\n")
                   .arg(QString::fromLatin1(formula).leftJustified(10))
                   .arg(Counter(name, "atoms"))
                   .arg(Counter(name, "lines"))
                   .arg(time(*t));
    }
    if (const auto t = Cpu(QStringLiteral("ParseChemicalFormula/1000")))
        out << QStringLiteral("  ParseChemicalFormula of 1,000 atoms (%1 characters): %2\n")
                   .arg(Counter(QStringLiteral("ParseChemicalFormula/1000"), "characters"))
                   .arg(time(*t));
}

// bench_search: one search over 10,000 spectra against its target, and the
// preparation of the library for it.
void SearchTables()
{
    const auto search = Cpu(QStringLiteral("LibrarySearch/10000"));
    const auto prepare = Cpu(QStringLiteral("LibrarySearchPrepare/10000"));
    if (!search && !prepare)
        return;
    out << "\nLibrary search (10,000 generated spectra of 10 to 60 lines, an unknown of 30 lines)\n";
    if (search)
        out << QStringLiteral("  Search: %1 ms -> target 50 ms on one core: %2\n").arg(Num(*search), Verdict(*search < 50));
    if (prepare)
        out << QStringLiteral("  Preparing the library (once, when the search is made): %1 ms\n").arg(Num(*prepare));
}

// bench_import: a collection of 1,000 MSP records made library records.
void ImportTables()
{
    const QString name = QStringLiteral("ImportMspRecords/1000");
    const auto import = Cpu(name);
    if (!import)
        return;
    out << QStringLiteral("\nSpectrum import (1,000 generated MSP records of 50 peaks, %1 kB)\n").arg(Num(Counter(name, "kB")));
    out << QStringLiteral("  Read and made library records: %1 ms -> target under 1 s: %2\n").arg(Num(*import), Verdict(*import < 1000));
    if (const auto read = Cpu(QStringLiteral("ReadMsp/1000")))
        out << QStringLiteral("  of which reading: %1 ms\n").arg(Num(*read));
}

// bench_instrument: a slit scan's pass against an eighth of a frame (the
// window draws a sample per field position and must keep up), the whole
// scan, and the plate over the wall against a frame.
void InstrumentTables()
{
    bool any = false;
    for (const char* settings : {"typical", "widest", "finest"}) {
        const QString s = QLatin1String(settings);
        const auto pass = Cpu(QStringLiteral("SlitScanPass/") + s);
        const auto worst = Cpu(QStringLiteral("SlitScanPass/%1_worst").arg(s));
        const auto scan = Cpu(QStringLiteral("SlitScan/") + s);
        const auto plate = Cpu(QStringLiteral("PlateBlackening/") + s);
        if (!pass && !worst && !scan && !plate)
            continue;
        if (!any)
            out << QStringLiteral("\nInstrument with slits and beams (%1 lines, 3000 V)\n")
                       .arg(Counter(QStringLiteral("SlitScan/") + s, "lines"));
        any = true;
        out << "  " << s << ":\n";
        // A pass takes microseconds.
        if (pass)
            out << QStringLiteral("    slit scan pass, mean of all positions: %1 us -> target 2 ms: %2\n")
                       .arg(Num(*pass * 1000), Verdict(*pass < 2));
        if (worst)
            out << QStringLiteral("    slit scan pass with %1 lines at the slit: %2 us -> target 2 ms: %3\n")
                       .arg(Counter(QStringLiteral("SlitScanPass/%1_worst").arg(s), "lines_at_slit"))
                       .arg(Num(*worst * 1000), Verdict(*worst < 2));
        if (scan)
            out << QStringLiteral("    whole slit scan, 5000 positions: %1 ms\n").arg(Num(*scan));
        if (plate)
            out << QStringLiteral("    plate over the wall, %1 readings: %2 ms -> target one frame (16 ms): %3\n")
                       .arg(Counter(QStringLiteral("PlateBlackening/") + s, "readings"))
                       .arg(Num(*plate), Verdict(*plate < 16));
    }
    // The window with these instruments (bench_simulation): one picture with
    // every line's beam, and its whole slit scan.
    for (const char* kind : {"slit", "plate"})
        if (const auto t = Cpu(QStringLiteral("InstrumentPicture/") + QLatin1String(kind)))
            out << QStringLiteral("  window picture with the %1 (%2 lines' beams%3): %4 ms -> target one frame (16 ms): %5\n")
                       .arg(QLatin1String(kind))
                       .arg(Counter(QStringLiteral("InstrumentPicture/") + QLatin1String(kind), "lines"))
                       .arg(QLatin1String(qstrcmp(kind, "plate") == 0 ? ", the blackening" : ""))
                       .arg(Num(*t), Verdict(*t < 16));
    for (const auto& [name, r] : results)
        if (name.startsWith(QLatin1String("WindowSlitScan/")))
            out << QStringLiteral("  the window's whole slit scan, platform %1: %2 ms wall, %3 ms per pass of %4\n")
                       .arg(name.mid(15), Num(r.RealMs), Num(Counter(name, "ms_per_pass")))
                       .arg(Counter(name, "passes"));
}

void LaboratoryTables()
{
    bool any = false;
    for (const auto& [name, r] : results) {
        if (!name.startsWith(QLatin1String("BM_TypeFormula/")))
            continue;
        if (!any)
            out << "\nLaboratory: the Isotopes page as a formula is typed (the last keystroke)\n";
        any = true;
        out << QStringLiteral("  %1 (%2 lines): %3 ms -> target one frame (16 ms): %4\n")
                   .arg(name.mid(15).leftJustified(14))
                   .arg(Counter(name, "lines"))
                   .arg(Num(r.RealMs), Verdict(r.RealMs < 16));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream(stderr) << "usage: benchtable RESULT.json...\n";
        return 2;
    }
    for (const QString& path : args)
        Read(path);
    ChartTables();
    ChartTargets();
    SimulationTables();
    AnalysisTables();
    ImportTables();
    SearchTables();
    InstrumentTables();
    LaboratoryTables();
    out.flush();
    return 0;
}
