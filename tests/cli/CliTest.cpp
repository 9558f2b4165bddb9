// ionpath-cli's commands over a small library of known lines and over the
// shipped one: their output, their errors with message and exit status, and
// the rendered charts, which must be the main window's pictures.
#include "CliCommands.h"
#include "app/FieldScan.h"
#include "app/MainWindow.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "chart/RChart.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/resource.h>

namespace {

struct Result {
    int status = -1;
    QString out, err;
};

Result Cli(QStringList arguments)
{
    Result r;
    QTextStream out(&r.out), err(&r.err);
    arguments.prepend(QStringLiteral("ionpath-cli"));
    r.status = RunCli(arguments, out, err);
    out.flush();
    err.flush();
    return r;
}

QByteArray Record(const QByteArray& name, const QByteArray& columns,
                  const QByteArray& credit = " (by courtesy of the test)")
{
    return "/NAME\r\n" + name + credit + "\r\nnote\r\nnote\r\nnote\r\n" + columns + "\r\n/PHYSP\r\n";
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A library of known lines, written once. At 5000 V a line of mass M has the
// radius sqrt(M) * 30543 / Bp, so 14 is in focus at the scan positions 1411
// to 1441, 28 at 2001 to 2041, 51 near 2700, 77 and 78 near 3350 (each also
// alone at the ends of its range).
const QString& TestLibrary()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("test.tra"));
        WriteFile(p, "Test library\r\n\r\n" + Record("Testgas", "   28.0  100.0   14.0   20.0")
                         + Record("Heavy gas", "   51.0   12.5   77.0   30.5\r\n   78.0  100.0")
                         + Record("Damaged", "   14.0  100.0   1x.0   50.0")
                         + Record("Orphan", "   14.0  100.0", " (by someone else)"));
        return p;
    }();
    return path;
}

QString Shipped()
{
    return QStringLiteral(IONPATH_SHIPPED_LIBRARY);
}

QStringList Lines(const QString& text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// "key: value" lines of the focus command.
std::map<QString, QString> Fields(const QString& text)
{
    std::map<QString, QString> fields;
    for (const QString& line : Lines(text))
        fields[line.section(QStringLiteral(": "), 0, 0)] = line.section(QStringLiteral(": "), 1);
    return fields;
}

QStringList TableRows(const QString& csv)
{
    QStringList rows;
    for (const QString& line : Lines(csv))
        if (!line.startsWith(QLatin1Char('#')))
            rows << line;
    return rows;
}

} // namespace

TEST(Cli, ListAndLines)
{
    const QString lib = TestLibrary();
    struct Row {
        QStringList arguments;
        const char* out;
    };
    const Row rows[] = {
        {{"list", "--library", lib}, "Testgas\nHeavy gas\nDamaged\nOrphan\n"},
        {{"lines", "Testgas", "--library", lib}, "mass,abundance\n14,20\n28,100\n"},
        // by the loader's rule: any case, lines by ascending mass over both data lines
        {{"lines", "HEAVY GAS", "--library", lib}, "mass,abundance\n51,12.5\n77,30.5\n78,100\n"},
        {{"--library", lib, "lines", "Testgas"}, "mass,abundance\n14,20\n28,100\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.arguments.join(QLatin1Char(' ')).toStdString());
        const Result res = Cli(r.arguments);
        EXPECT_EQ(res.status, 0);
        EXPECT_EQ(res.out.toStdString(), r.out);
        EXPECT_EQ(res.err, QString());
    }
}

// The reference values of the model (U, Bp -> F, mass in focus) and the
// line that is in focus there.
TEST(Cli, Focus)
{
    const QString lib = TestLibrary();
    struct Row {
        const char* voltage;
        int volts;
        const char* field;
        const char* fieldText;
        double F, focus;
        const char* display;
        const char* line; // its beginning
    };
    const Row rows[] = {
        {"5000", 5000, "200", "200.0 mT", 15.272, 27.44, "27.4", "mass 28, abundance 100, radius 80.8"},
        {"5000", 5000, "142.1mT", "142.1 mT", 21.494, 13.853, "13.9", "mass 14, abundance 20, radius 80.4"},
        {"5000", 5000, "0.1", "0.1 mT", 30543.2, 6.86e-6, "0.0", "none"},
        {"3000 V", 3000, "0.5T", "500.0 mT", 4.7317, 285.85, "285.9", "none"},
        {"8000", 8000, "500", "500.0 mT", 7.7269, 107.19, "107.2", "none"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.voltage) + " " + r.field);
        const Result res = Cli({"focus", "Testgas", "--voltage", r.voltage, "--field", r.field, "--library", lib});
        ASSERT_EQ(res.status, 0) << res.err.toStdString();
        auto f = Fields(res.out);
        EXPECT_EQ(f["substance"], QStringLiteral("Testgas"));
        EXPECT_EQ(f["voltage"], QStringLiteral("%1 V").arg(r.volts));
        EXPECT_EQ(f["field"].toStdString(), r.fieldText);
        EXPECT_NEAR(f["F"].toDouble(), r.F, r.F * 5e-5);
        EXPECT_NEAR(f["mass in focus"].toDouble(), r.focus, std::max(r.focus * 2e-4, 1e-3));
        EXPECT_EQ(f["display"].toStdString(), r.display);
        EXPECT_TRUE(f["line in focus"].startsWith(QString::fromLatin1(r.line))) << f["line in focus"].toStdString();
    }
}

TEST(Cli, ScanPrintsTheRecordedSpectrum)
{
    const QString lib = TestLibrary();
    struct Row {
        QStringList arguments;
        const char* field; // the header's field line
        QStringList rows;
    };
    const Row rows[] = {
        {{"scan", "Testgas", "--voltage", "5000"}, "# field: 0.1 mT to 500.0 mT", {"mass,abundance", "14,20", "28,100"}},
        // from 150 mT on, 14 (in focus at 141 to 144 mT) is passed already
        {{"scan", "Testgas", "--voltage", "5000", "--from", "150"}, "# field: 150.0 mT to 500.0 mT", {"mass,abundance", "28,100"}},
        {{"scan", "Heavy gas", "--voltage", "5000"}, "# field: 0.1 mT to 500.0 mT",
         {"mass,abundance", "51,12.5", "77,30.5", "78,100"}},
        // at 8000 V even 500 mT brings only up to mass 107 into focus
        {{"scan", "Testgas", "--voltage", "8000", "--from", "300"}, "# field: 300.0 mT to 500.0 mT", {"mass,abundance"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.arguments.join(QLatin1Char(' ')).toStdString());
        const Result res = Cli(r.arguments + QStringList{"--library", lib});
        ASSERT_EQ(res.status, 0) << res.err.toStdString();
        const QStringList lines = Lines(res.out);
        ASSERT_GE(lines.size(), 6);
        EXPECT_EQ(lines[0], QStringLiteral("# Ionpath mass spectrum"));
        EXPECT_EQ(lines[1], QStringLiteral("# substance: ") + r.arguments[1]);
        EXPECT_EQ(lines[2], QStringLiteral("# voltage: ") + r.arguments[3] + QStringLiteral(" V"));
        EXPECT_EQ(lines[3].toStdString(), r.field);
        ASSERT_TRUE(lines[4].startsWith(QStringLiteral("# date: ")));
        EXPECT_TRUE(QDateTime::fromString(lines[4].mid(8), Qt::ISODate).isValid()) << lines[4].toStdString();
        EXPECT_EQ(TableRows(res.out), r.rows);
    }
}

TEST(Cli, TheShippedLibrary)
{
    TSpectrumLibrary library;
    ASSERT_TRUE(library.Open(Shipped()));
    const QStringList names = library.SubstanceNames();
    ASSERT_GE(names.size(), 2);

    const Result list = Cli({"list", "--library", Shipped()});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(Lines(list.out), names);
    // Without --library the tool reads the library beside itself.
    const Result fromAnywhere = Cli({"list"});
    EXPECT_EQ(fromAnywhere.status, 0) << fromAnywhere.err.toStdString();
    EXPECT_EQ(fromAnywhere.out, list.out);

    for (const QString& name : {names.first(), names.last()}) {
        SCOPED_TRACE(name.toStdString());
        const std::optional<TSubstance> s = LoadSubstance(library, name);
        ASSERT_TRUE(s);
        const Result lines = Cli({"lines", name});
        ASSERT_EQ(lines.status, 0) << lines.err.toStdString();
        const QStringList rows = TableRows(lines.out);
        ASSERT_EQ(rows.size(), qsizetype(s->Lines.size()) + 1);
        double lastMass = -1;
        for (const QString& row : rows.mid(1)) {
            const double mass = row.section(u',', 0, 0).toDouble(), abundance = row.section(u',', 1).toDouble();
            EXPECT_GE(mass, lastMass) << "not by ascending mass";
            lastMass = mass;
            EXPECT_TRUE(std::any_of(s->Lines.begin(), s->Lines.end(),
                                    [&](const TSpectralLine& l) { return l.Mass == mass && l.Abundance == abundance; }))
                << row.toStdString();
        }

        // The scan's rows are the distinct sticks of the scan at 3000 V,
        // which reaches every mass up to 285.
        const Result scan = Cli({"scan", name, "--voltage", "3000"});
        ASSERT_EQ(scan.status, 0) << scan.err.toStdString();
        TFieldScan reference(s->Lines, 3000, kFieldMinimum);
        reference.Run();
        QStringList expected{QStringLiteral("mass,abundance")};
        for (const TSpectralLine& l : DistinctSticks(reference.Sticks()))
            expected << QString::number(l.Mass) + u',' + QString::number(l.Abundance);
        EXPECT_EQ(TableRows(scan.out), expected);
        EXPECT_TRUE(expected.contains(QStringLiteral("%1,100").arg(s->Lines.back().Mass))) << "the base peak is recorded";
    }
}

TEST(Cli, ErrorsSayWhatIsWrongAndEndWithTheirStatus)
{
    const QString lib = TestLibrary();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("none.tra"));
    struct Row {
        QStringList arguments;
        int status;
        const char* message;
    };
    const Row rows[] = {
        // the command line
        {{}, kExitUsage, "no command given"},
        {{"frobnicate"}, kExitUsage, "unknown command \"frobnicate\""},
        {{"lines"}, kExitUsage, "lines: no substance given"},
        {{"list", "Testgas"}, kExitUsage, "list: unexpected argument \"Testgas\""},
        {{"list", "--voltage", "5000"}, kExitUsage, "list does not take --voltage"},
        {{"focus", "Testgas", "--voltage", "5000"}, kExitUsage, "focus needs --field"},
        {{"scan", "Testgas"}, kExitUsage, "scan needs --voltage"},
        {{"scan", "Testgas", "--voltage", "5000", "--field", "100"}, kExitUsage, "scan does not take --field"},
        {{"list", "--bogus"}, kExitUsage, "Unknown option 'bogus'"},
        {{"focus", "Testgas", "--voltage"}, kExitUsage, "Missing value after '--voltage'"},
        // numbers (CliArgumentsTest has them all)
        {{"focus", "Testgas", "--voltage", "abc", "--field", "100"}, kExitUsage, "\"abc\" is not a voltage"},
        {{"focus", "Testgas", "--voltage", "2999", "--field", "100"}, kExitUsage, "the voltage 2999 V is outside 3000 to 8000 V"},
        {{"focus", "Testgas", "--voltage", "5000", "--field", "600mT"}, kExitUsage, "the field 600mT is outside 0.1 to 500 mT"},
        {{"focus", "Testgas", "--voltage", "5000", "--field", "0.15"}, kExitUsage, "the field 0.15 is not a multiple of 0.1 mT"},
        {{"scan", "Testgas", "--voltage", "5000", "--from", "-1"}, kExitUsage, "the field -1 is outside"},
        // a bad number is found before the library is read
        {{"focus", "Testgas", "--voltage", "1", "--field", "100", "--library", missing}, kExitUsage, "outside 3000 to 8000 V"},
        // the library and its substances
        {{"lines", "Nothing"}, kExitFailure, "unknown substance \"Nothing\""},
        {{"lines", "Orphan"}, kExitFailure, "unknown substance \"Orphan\""}, // listed, but its credit is not "(by courtesy"
        {{"lines", ""}, kExitFailure, "unknown substance \"\""},
        {{"lines", "Damaged"}, kExitFailure, "the record of \"Damaged\" is damaged: '   1x.0' is not a valid floating point value"},
        {{"scan", "Damaged", "--voltage", "5000"}, kExitFailure, "is damaged"},
        {{"list", "--library", missing}, kExitFailure, "cannot read the spectrum library: The file"},
        {{"list", "--library", dir.path()}, kExitFailure, "is not a file"},
        // render's files
        {{"render", "Testgas", "--voltage", "5000", "--field", "200"}, kExitUsage, "render needs --deflection FILE or --spectrum FILE"},
        {{"render", "Testgas", "--voltage", "5000", "--field", "200", "--spectrum", dir.filePath("s.jpg")}, kExitUsage,
         "the name must end in .png, .svg or .pdf"},
        {{"render", "Testgas", "--voltage", "5000", "--field", "200", "--spectrum", dir.filePath("same.png"), "--deflection",
          dir.filePath("same.png")},
         kExitUsage, "--deflection and --spectrum name the same file"},
        {{"render", "Testgas", "--voltage", "5000", "--field", "200", "--spectrum", dir.filePath("no/such/folder/s.png")},
         kExitFailure, "no/such/folder/s.png"},
        {{"render", "Testgas", "--voltage", "5000", "--field", "200", "--deflection", dir.path() + ".pdf/d.pdf"}, kExitFailure,
         ".pdf/d.pdf"},
    };
    for (const Row& r : rows) {
        QStringList arguments = r.arguments;
        if (!arguments.contains(QStringLiteral("--library")) && !arguments.isEmpty())
            arguments = QStringList{QStringLiteral("--library"), lib} + arguments;
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Result res = Cli(arguments);
        EXPECT_EQ(res.status, r.status);
        EXPECT_EQ(res.out, QString()) << "no output on failure";
        EXPECT_TRUE(res.err.startsWith(QStringLiteral("ionpath-cli: ")));
        EXPECT_TRUE(res.err.contains(QString::fromUtf8(r.message))) << res.err.toStdString();
        // A wrong command line points to the help.
        EXPECT_EQ(res.err.contains(QStringLiteral("Try 'ionpath-cli --help'.")), r.status == kExitUsage);
    }
    // Nothing was written for the failed renders.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST(Cli, HelpGivesTheUsage)
{
    for (const char* option : {"--help", "-h"}) {
        const Result res = Cli({option});
        EXPECT_EQ(res.status, 0);
        EXPECT_TRUE(res.out.startsWith(QStringLiteral("Usage: ionpath-cli "))) << res.out.toStdString();
        for (const char* word : {"list", "lines SUBSTANCE", "focus SUBSTANCE", "scan SUBSTANCE", "render SUBSTANCE",
                                 "--library", "--voltage", "--field", "--from", "--deflection", "--spectrum", "--no-scan",
                                 "Exit status"})
            EXPECT_TRUE(res.out.contains(QString::fromLatin1(word))) << word;
        EXPECT_EQ(res.err, QString());
    }
}

namespace {

struct Window {
    TfrmExample w;
    explicit Window(const QString& library)
    {
        w.SetLibraryPath(library);
        w.show();
        w.FormActivate();
    }
};

QImage Png(const QString& path)
{
    QImage image;
    image.load(path, "PNG");
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The tool's pictures are the window's: at 5000 V, after a whole scan (or
// none), with the field at 200 mT.
TEST(Cli, RenderDrawsTheWindowsCharts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString deflection = dir.filePath(QStringLiteral("deflection.png"));
    const QString spectrum = dir.filePath(QStringLiteral("spectrum.png"));
    WriteFile(spectrum, "an older file in the way"); // replaced

    std::map<bool, std::pair<QImage, QImage>> pictures;
    for (const bool scan : {true, false}) {
        SCOPED_TRACE(scan ? "after a scan" : "without a scan");
        QStringList arguments{"render", "Heavy gas", "--voltage", "5000", "--field", "337", "--library", TestLibrary(),
                              "--deflection", deflection, "--spectrum", spectrum};
        if (!scan)
            arguments << QStringLiteral("--no-scan");
        const Result res = Cli(arguments);
        ASSERT_EQ(res.status, 0) << res.err.toStdString();
        EXPECT_EQ(res.out, QString());

        Window win(TestLibrary());
        TfrmExample& w = win.w;
        w.spectrumbox->setCurrentIndex(1);
        w.spectrumboxChange();
        if (scan)
            w.ScStartBtnClick();
        w.TBMagnetic->setValue(3370);
        ASSERT_GT(w.RChart2->ItemCount(), 0);

        const QImage d = Png(deflection), s = Png(spectrum);
        EXPECT_EQ(d.size(), QSize(233, 246));
        EXPECT_EQ(s.size(), QSize(641, 217));
        const QImage windowD = w.RChart1->RenderPicture().convertToFormat(QImage::Format_RGB32);
        const QImage windowS = w.RChart2->RenderPicture().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(d == windowD) << "the deflection chart differs from the window's";
        EXPECT_TRUE(s == windowS) << "the spectrum chart differs from the window's";
        pictures[scan] = {d, s};
    }
    // The paths are those at the field alone; the spectrum holds the scan's
    // sticks only after one.
    EXPECT_TRUE(pictures[true].first == pictures[false].first);
    EXPECT_FALSE(pictures[true].second == pictures[false].second);
}

// The disk fills up while a picture is written (a file size limit stands in
// for it): the tool fails, and the file that was there stays as it was.
TEST(Cli, RenderOnAFullDiskFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"s.png", "s.svg", "s.pdf"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QString::fromLatin1(name));
        const QByteArray old(100, 'o');
        WriteFile(path, old);
        rlimit keep{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &keep), 0);
        const auto keepSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = keep;
        small.rlim_cur = 1000;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const Result res = Cli({"render", "Heavy gas", "--voltage", "5000", "--field", "337", "--library", TestLibrary(),
                                "--spectrum", path});
        setrlimit(RLIMIT_FSIZE, &keep);
        std::signal(SIGXFSZ, keepSignal);
        EXPECT_EQ(res.status, kExitFailure);
        EXPECT_TRUE(res.err.contains(QStringLiteral("Cannot write \"%1\"").arg(path))) << res.err.toStdString();
        EXPECT_EQ(ReadFile(path), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "a part of the new file is left";
        QFile::remove(path);
    }
}

TEST(Cli, RenderWritesSvgAndPdf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString svg = dir.filePath(QStringLiteral("d.SVG")), pdf = dir.filePath(QStringLiteral("s.pdf"));
    const Result res = Cli({"render", "Testgas", "--voltage", "5000", "--field", "200", "--library", TestLibrary(),
                            "--deflection", svg, "--spectrum", pdf});
    ASSERT_EQ(res.status, 0) << res.err.toStdString();
    const QByteArray svgBytes = ReadFile(svg), pdfBytes = ReadFile(pdf);
    EXPECT_TRUE(svgBytes.startsWith("<?xml")) << svgBytes.left(40).toStdString();
    EXPECT_TRUE(svgBytes.contains("<svg"));
    EXPECT_TRUE(svgBytes.trimmed().endsWith("</svg>"));
    EXPECT_TRUE(pdfBytes.startsWith("%PDF-")) << pdfBytes.left(10).toStdString();
    EXPECT_TRUE(pdfBytes.trimmed().endsWith("%%EOF"));
}
