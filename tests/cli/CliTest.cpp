// ionpath-cli's commands over a small library of known lines and over the
// shipped one: their output, their errors with message and exit status, and
// the rendered charts, which must be the main window's pictures.
#include "CliRun.h"
#include "app/FieldScan.h"
#include "app/MainWindow.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "app/UserSpectrumLibrary.h"
#include "chart/RChart.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSlider>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sys/resource.h>

namespace {

// Every command reads the user's own library too. The tests must not see
// the one of whoever runs them: the user data folder is an empty one of
// their own (the tool started as a program inherits it).
class TEmptyUserData : public ::testing::Environment {
public:
    void SetUp() override
    {
        had_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        old_ = qgetenv("XDG_DATA_HOME");
        dir_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", dir_->path().toUtf8());
    }
    void TearDown() override
    {
        if (had_)
            qputenv("XDG_DATA_HOME", old_);
        else
            qunsetenv("XDG_DATA_HOME");
        dir_.reset();
    }

private:
    bool had_ = false;
    QByteArray old_;
    std::unique_ptr<QTemporaryDir> dir_;
};

[[maybe_unused]] ::testing::Environment* const kEmptyUserData = ::testing::AddGlobalTestEnvironment(new TEmptyUserData);

// A user data folder of one test, holding `library` as the user's library
// (none when null), in force while the object lives.
class TUserData {
public:
    explicit TUserData(const QByteArray& library)
    {
        old_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir_.path().toUtf8());
        if (library.isNull())
            return;
        QDir().mkpath(QFileInfo(DefaultUserLibraryPath()).path());
        QFile f(DefaultUserLibraryPath());
        if (f.open(QIODevice::WriteOnly))
            f.write(library);
    }
    ~TUserData() { qputenv("XDG_DATA_HOME", old_); }
    QString LibraryPath() const { return DefaultUserLibraryPath(); }

private:
    QTemporaryDir dir_;
    QByteArray old_;
};

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
        // formulas and charges
        {{"lines", "--formula", "C(H"}, kExitFailure, "the formula \"C(H\": Unclosed parenthesis at position 2"},
        {{"mass", "--formula", "", "--voltage", "5000"}, kExitFailure, "the formula \"\": The formula is empty"},
        {{"lines", "Testgas", "--formula", "Cl2"}, kExitUsage, "lines: give a substance or --formula, not both"},
        {{"list", "--formula", "Cl2"}, kExitUsage, "list does not take --formula"},
        {{"focus", "--voltage", "5000", "--field", "200"}, kExitUsage, "focus: no substance given (or --formula FORMULA)"},
        {{"focus", "Testgas", "--voltage", "5000", "--field", "200", "--charge", "4"}, kExitUsage,
         "the charge \"4\" is not 1, 2 or 3"},
        {{"lines", "Testgas", "--charge", "2"}, kExitUsage, "lines does not take --charge"},
        {{"mass", "Testgas"}, kExitUsage, "mass needs --voltage"},
        {{"mass", "Testgas", "--voltage", "5000", "--field", "200"}, kExitUsage, "mass does not take --field"},
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
                                 "mass SUBSTANCE", "pattern FORMULA", "--library", "--voltage", "--field", "--from",
                                 "--deflection", "--spectrum", "--no-scan", "--formula", "--charge", "--no-user-library",
                                 "user_spectra.tra", "Exit status"})
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

// Cl2 by hand: 35Cl 34.96885273 u, 37Cl 36.96590264 u, amount fractions
// 0.757595 and 0.242405 (r = 0.319967). 35Cl2 = 69.93770546 u at 100 %,
// 35Cl37Cl = 71.93475537 u at 2r = 63.993 %, 37Cl2 = 73.93180528 u at
// r^2 = 10.238 %.
TEST(Cli, PatternOfAFormula)
{
    for (const char* formula : {"Cl2", " Cl 2 "}) {
        SCOPED_TRACE(formula);
        const Result res = Cli({"pattern", formula});
        ASSERT_EQ(res.status, 0) << res.err.toStdString();
        EXPECT_EQ(res.err, QString());
        const QStringList rows = Lines(res.out);
        ASSERT_EQ(rows.size(), 4);
        EXPECT_EQ(rows[0], QStringLiteral("nominal mass,exact mass,abundance"));
        const char* const starts[] = {"70,69.937705,", "72,71.934755,", "74,73.931805,"};
        const double abundances[] = {100, 63.993, 10.238};
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(rows[i + 1].startsWith(QString::fromLatin1(starts[i]))) << rows[i + 1].toStdString();
            EXPECT_NEAR(rows[i + 1].section(u',', 2).toDouble(), abundances[i], 0.001);
        }
    }
    // A formula that cannot be read is bad data, not a bad command line.
    struct Row {
        QStringList arguments;
        int status;
        const char* message;
    };
    const Row rows[] = {
        {{"pattern", "Xy2"}, kExitFailure, "ionpath-cli: the formula \"Xy2\": Unknown element \"Xy\" at position 1\n"},
        {{"pattern", "CO0"}, kExitFailure, "ionpath-cli: the formula \"CO0\": Count 0 at position 3\n"},
        {{"pattern"}, kExitUsage, "ionpath-cli: pattern: no formula given\nTry 'ionpath-cli --help'.\n"},
        {{"pattern", "Cl2", "--library", TestLibrary()}, kExitUsage,
         "ionpath-cli: pattern does not take --library\nTry 'ionpath-cli --help'.\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.arguments.join(u' ').toStdString());
        const Result res = Cli(r.arguments);
        EXPECT_EQ(res.status, r.status);
        EXPECT_EQ(res.out, QString());
        EXPECT_EQ(res.err.toStdString(), r.message);
    }
}

// A formula's pattern wherever a substance is named, with the abundances as
// the library holds them ("100.00", "63.993", "10.238"). 70 u is in focus at
// 5000 V where B = (300 / 80) * sqrt(70 * 5000 V * k) = 319.4 mT
// (k = 2.0731e-8 kg/C).
TEST(Cli, FormulaInsteadOfASubstance)
{
    const Result lines = Cli({"lines", "--formula", "Cl2"});
    ASSERT_EQ(lines.status, 0) << lines.err.toStdString();
    EXPECT_EQ(lines.out.toStdString(), "mass,abundance\n70,100\n72,63.993\n74,10.238\n");

    const Result focus = Cli({"focus", "--formula", "Cl2", "--voltage", "5000", "--field", "319.4"});
    ASSERT_EQ(focus.status, 0) << focus.err.toStdString();
    auto f = Fields(focus.out);
    EXPECT_EQ(f["substance"], QStringLiteral("Cl2 (isotope pattern)"));
    EXPECT_TRUE(f["line in focus"].startsWith(QStringLiteral("mass 70, abundance 100,"))) << f["line in focus"].toStdString();

    const Result scan = Cli({"scan", "--formula", "Cl2", "--voltage", "5000"});
    ASSERT_EQ(scan.status, 0) << scan.err.toStdString();
    EXPECT_TRUE(scan.out.contains(QStringLiteral("# substance: Cl2 (isotope pattern)\n")));
    EXPECT_EQ(TableRows(scan.out), (QStringList{"mass,abundance", "70,100", "72,63.993", "74,10.238"}));

    // The mean of 69.937705, 71.934755 and 73.931805 weighted 100 : 63.993 :
    // 10.238 is 70.906; the standard molecular weight is 2 * 35.45295.
    const Result mass = Cli({"mass", "--formula", "Cl2", "--voltage", "5000"});
    ASSERT_EQ(mass.status, 0) << mass.err.toStdString();
    f = Fields(mass.out);
    EXPECT_EQ(f["mean mass"], QStringLiteral("70.91"));
    EXPECT_EQ(f["standard molecular weight"], QStringLiteral("70.906"));
    EXPECT_EQ(f.count("standard atomic weight"), 0u);
}

// Ions of charge z follow the path of mass m/z: at 142.1 mT, where 14 u is
// in focus, the doubly charged ions of Testgas's 28 u line arrive; its
// singly charged 14 u line does as z = 1.
TEST(Cli, ChargeDividesTheMassTheFieldSees)
{
    const QString lib = TestLibrary();
    struct Row {
        const char* charge;
        const char* field;
        const char* focusKey;
        const char* line; // its beginning
    };
    const Row rows[] = {
        {"1", "142.1", "mass in focus", "mass 14, abundance 20, radius 80.4"},
        {"2", "142.1", "m/z in focus", "m/z 14 (mass 28), abundance 100, radius 80.4"},
        // 28 u at z = 2 is at m/z 14: nothing is at 27.4 any more
        {"2", "200", "m/z in focus", "none"},
        {"1", "200", "mass in focus", "mass 28, abundance 100"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.charge) + " at " + r.field);
        const Result res =
            Cli({"focus", "Testgas", "--voltage", "5000", "--field", r.field, "--charge", r.charge, "--library", lib});
        ASSERT_EQ(res.status, 0) << res.err.toStdString();
        auto f = Fields(res.out);
        EXPECT_EQ(f.count(r.focusKey), 1u) << res.out.toStdString();
        EXPECT_EQ(f.count("charge"), std::string(r.charge) == "1" ? 0u : 1u);
        EXPECT_TRUE(f["line in focus"].startsWith(QString::fromLatin1(r.line))) << f["line in focus"].toStdString();
    }
    // The scan records the lines at half their masses, and says so.
    const Result scan = Cli({"scan", "Testgas", "--voltage", "5000", "--charge", "2", "--library", lib});
    ASSERT_EQ(scan.status, 0) << scan.err.toStdString();
    EXPECT_TRUE(scan.out.contains(QStringLiteral("\n# charge: 2\n")));
    EXPECT_EQ(TableRows(scan.out), (QStringList{"m/z,abundance", "7,20", "14,100"}));
}

// The mean mass from a whole scan. Neon by hand: 19.992440 * 100 +
// 20.993847 * 0.298 + 21.991385 * 10.22 = 2230.252 over 110.518 is 20.180;
// the shares are 100 / 110.518 = 90.48 %, 0.27 % and 9.25 %.
// The largest mass in focus at 500 mT is (80 * 0.5 / 300)^2 / (U k)
// = 857 548 V / U: 171.5 at 5000 V, 199.4 at 4300 V, 285.9 at 3000 V; the
// highest voltage that focuses 204 u is 857 548 / 204 = 4203 V.
TEST(Cli, MassOfASubstanceFromAScan)
{
    struct Row {
        QStringList arguments;
        const char* recorded;
        const char* mean;
        const char* standard; // atomic weight
        const char* warning;  // the whole of stderr
    };
    const Row rows[] = {
        {{"mass", "Neon (natural isotopes)", "--voltage", "5000"}, "3 of 3", "20.18", "20.180", ""},
        {{"mass", "Mercury (natural isotopes)", "--voltage", "4000"}, "7 of 7", "200.59", "200.599", ""},
        {{"mass", "Mercury (natural isotopes)", "--voltage", "5000"}, "0 of 7", "none (no line reached the detector)",
         "200.599",
         "ionpath-cli: warning: 7 of 7 lines (m/z 196 to 204) cannot reach the detector at 5000 V: at 500 mT the "
         "field focuses m/z up to 171.5 there. They would at 4203 V or below.\n"},
        {{"mass", "Mercury (natural isotopes)", "--voltage", "4300"}, "3 of 7", nullptr, "200.599",
         "ionpath-cli: warning: 4 of 7 lines (m/z 200 to 204) cannot reach the detector at 4300 V: at 500 mT the "
         "field focuses m/z up to 199.4 there. They would at 4203 V or below. The mean mass is that of the "
         "recorded lines only.\n"},
        // doubly charged: m/z 98 to 102 reach the detector at 5000 V
        {{"mass", "Mercury (natural isotopes)", "--voltage", "5000", "--charge", "2"}, "7 of 7", "200.59", "200.599", ""},
        // I3 (381 u) is beyond 285.9 even at 3000 V
        {{"mass", "--formula", "I3", "--voltage", "3000"}, "0 of 1", "none (no line reached the detector)", nullptr,
         "ionpath-cli: warning: 1 of 1 lines (m/z 381 to 381) cannot reach the detector at 3000 V: at 500 mT the "
         "field focuses m/z up to 285.9 there. No voltage from 3000 V up brings them there.\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.arguments.join(u' ').toStdString());
        const Result res = Cli(r.arguments);
        ASSERT_EQ(res.status, 0) << res.err.toStdString();
        EXPECT_EQ(res.err.toStdString(), r.warning);
        auto f = Fields(res.out);
        EXPECT_EQ(f["lines recorded"].toStdString(), r.recorded);
        if (r.mean) {
            EXPECT_EQ(f["mean mass"].toStdString(), r.mean);
        }
        if (r.standard) {
            EXPECT_EQ(f["standard atomic weight"].toStdString(), r.standard);
        }
    }
    const Result neon = Cli({"mass", "Neon (natural isotopes)", "--voltage", "5000"});
    const QStringList lines = Lines(neon.out);
    const qsizetype header = lines.indexOf(QStringLiteral("mass,exact mass,abundance,share %"));
    ASSERT_GE(header, 0) << neon.out.toStdString();
    EXPECT_EQ(lines.mid(header + 1, 3),
              (QStringList{"20,19.992440,100,90.48", "21,20.993847,0.298,0.27", "22,21.991385,10.22,9.25"}));
    // Doubly charged ions show their m/z beside the mass.
    const Result xenon = Cli({"mass", "Xenon (natural isotopes)", "--voltage", "5000", "--charge", "2"});
    EXPECT_TRUE(xenon.out.contains(QStringLiteral("\nm/z,mass,exact mass,abundance,share %\n62,124,123.905892,")))
        << xenon.out.toStdString();
    EXPECT_EQ(Fields(xenon.out)["mean mass"], QStringLiteral("131.29"));
}

// The user's own library: listed after the library's substances, looked up
// after them, left out on request; trouble with it is a warning only.
TEST(Cli, TheUserLibrary)
{
    const QString lib = TestLibrary();
    const QByteArray mine = FormatLibraryRecord({QStringLiteral("My gas"), QStringLiteral("me"), {}, {{44, 100}, {28, 10}}});
    // Of the same name as a substance of the library: never loaded.
    const QByteArray twin = FormatLibraryRecord({QStringLiteral("testgas"), QStringLiteral("me"), {}, {{99, 100}}});
    const QByteArray broken = "/NAME\r\nBroken (by courtesy of me)\r\n\r\n\r\n\r\n   14.0  1o0.0\r\n/PHYSP\r\n";
    const QString shipped = QStringLiteral("Testgas\nHeavy gas\nDamaged\nOrphan\n");
    {
        TUserData user(mine + twin);
        struct Row {
            QStringList arguments;
            int status;
            QString out;
        };
        const Row rows[] = {
            {{"list"}, 0, shipped + QStringLiteral("My gas\n")},
            {{"list", "--no-user-library"}, 0, shipped},
            {{"lines", "my gas"}, 0, QStringLiteral("mass,abundance\n28,10\n44,100\n")},
            {{"lines", "Testgas"}, 0, QStringLiteral("mass,abundance\n14,20\n28,100\n")},
            {{"lines", "My gas", "--no-user-library"}, kExitFailure, QString()},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.arguments.join(u' ').toStdString());
            const Result res = Cli(r.arguments + QStringList{"--library", lib});
            EXPECT_EQ(res.status, r.status);
            EXPECT_EQ(res.out, r.out);
            if (r.status == 0) {
                EXPECT_EQ(res.err, QString());
            }
        }
        const Result unknown = Cli({"lines", "Nothing", "--library", lib});
        EXPECT_TRUE(unknown.err.contains(QStringLiteral("unknown substance \"Nothing\" in \"%1\" or \"%2\"")
                                             .arg(lib, user.LibraryPath())))
            << unknown.err.toStdString();
        const Result without = Cli({"lines", "My gas", "--library", lib, "--no-user-library"});
        EXPECT_TRUE(without.err.contains(QStringLiteral("unknown substance \"My gas\" in \"%1\" (").arg(lib)))
            << without.err.toStdString();
    }
    {
        // A damaged record: one warning; the rest of both libraries works.
        TUserData user(broken + mine);
        for (const QStringList& arguments : {QStringList{"list"}, QStringList{"lines", "Testgas"}, QStringList{"lines", "My gas"}}) {
            SCOPED_TRACE(arguments.join(u' ').toStdString());
            const Result res = Cli(arguments + QStringList{"--library", lib});
            EXPECT_EQ(res.status, 0);
            EXPECT_EQ(res.err.toStdString(),
                      QStringLiteral("ionpath-cli: warning: The spectrum library \"%1\" has damaged records, which are "
                                     "left out: \"Broken\" ('1o0.0' is not a valid floating point value).\n")
                          .arg(user.LibraryPath())
                          .toStdString());
        }
        EXPECT_EQ(Cli({"list", "--library", lib}).out, shipped + QStringLiteral("My gas\n"));
        // Left out, nothing is said about it.
        EXPECT_EQ(Cli({"list", "--library", lib, "--no-user-library"}).err, QString());
    }
    {
        // A folder where the file should be: the library's substances still work.
        TUserData user{QByteArray()};
        ASSERT_TRUE(QDir().mkpath(user.LibraryPath()));
        const Result res = Cli({"list", "--library", lib});
        EXPECT_EQ(res.status, 0);
        EXPECT_EQ(res.out, shipped);
        EXPECT_EQ(res.err, QStringLiteral("ionpath-cli: warning: \"%1\" is not a file.\n").arg(user.LibraryPath()));
    }
}

// Doubly charged ions move the recorded sticks to half their masses and the
// spectrum's axis with them (to the largest m/z, 14, plus 10): the picture
// is not the one of singly charged ions.
TEST(Cli, RenderTakesTheCharge)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::map<QString, QByteArray> pictures;
    for (const char* charge : {"1", "2"}) {
        const QString path = dir.filePath(QStringLiteral("s%1.png").arg(QLatin1String(charge)));
        const Result res = Cli({"render", "Testgas", "--voltage", "5000", "--field", "142.1", "--charge", charge,
                                "--library", TestLibrary(), "--spectrum", path});
        ASSERT_EQ(res.status, 0) << res.err.toStdString();
        pictures[QLatin1String(charge)] = ReadFile(path);
        EXPECT_FALSE(pictures[QLatin1String(charge)].isEmpty());
    }
    EXPECT_NE(pictures[QStringLiteral("1")], pictures[QStringLiteral("2")]);
}

// identify: a recorded spectrum against both libraries, in any of the
// tables a learner may hand it.
TEST(Cli, IdentifyFindsTheRecordedSubstance)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Result scan = Cli({"scan", "Toluene", "--voltage", "3000"});
    ASSERT_EQ(scan.status, 0) << scan.err.toStdString();
    const QString scanned = dir.filePath(QStringLiteral("toluene.csv"));
    WriteFile(scanned, scan.out.toUtf8());
    // The strongest lines of toluene from a spreadsheet: no header, ';' and
    // decimal commas, CR LF.
    const QString typed = dir.filePath(QStringLiteral("typed.csv"));
    WriteFile(typed, "91;100\r\n92;87,05\r\n65;11,69\r\n39;8,37\r\n45,5;1\r\n");

    for (const QString& file : {scanned, typed}) {
        SCOPED_TRACE(file.toStdString());
        const Result res = Cli({"identify", file});
        ASSERT_EQ(res.status, 0) << res.err.toStdString();
        EXPECT_EQ(res.err, QString());
        const QStringList rows = Lines(res.out);
        ASSERT_EQ(rows.size(), 11);
        EXPECT_EQ(rows[0], QStringLiteral("rank,name,score"));
        EXPECT_TRUE(rows[1].startsWith(QStringLiteral("1,Toluene,9"))) << rows[1].toStdString();
        int last = 1000;
        for (int i = 1; i <= 10; ++i) {
            const QStringList fields = rows[i].split(u',');
            ASSERT_EQ(fields.size(), 3) << rows[i].toStdString();
            EXPECT_EQ(fields[0].toInt(), i);
            EXPECT_LE(fields[2].toInt(), last) << "not best first";
            last = fields[2].toInt();
        }
    }
    EXPECT_EQ(Lines(Cli({"identify", scanned}).out)[1], QStringLiteral("1,Toluene,999"));

    // Of the small library only Testgas shares a mass with it; the damaged
    // record is left out. The user's substances follow the library's.
    const QString testgas = dir.filePath(QStringLiteral("testgas.csv"));
    WriteFile(testgas, "m/z,abundance\n14,20\n28,100\n");
    TUserData user(FormatLibraryRecord({QStringLiteral("My, \"own\" gas"), QStringLiteral("me"), {}, {{28, 100}}}));
    const QStringList lib{"--library", TestLibrary()};
    const Result both = Cli(QStringList{"identify", testgas} + lib);
    EXPECT_EQ(both.status, 0) << both.err.toStdString();
    ASSERT_EQ(Lines(both.out).size(), 3) << both.out.toStdString();
    EXPECT_EQ(Lines(both.out)[1], QStringLiteral("1,Testgas,999"));
    EXPECT_TRUE(Lines(both.out)[2].startsWith(QStringLiteral("2,\"My, \"\"own\"\" gas\",")));
    EXPECT_EQ(Cli(QStringList{"identify", testgas, "--no-user-library"} + lib).out,
              QStringLiteral("rank,name,score\n1,Testgas,999\n"));
}

TEST(Cli, IdentifySaysWhichLineIsWrong)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Row {
        QByteArray content;
        const char* message; // after the file's name
    };
    const Row rows[] = {
        {"mass,abundance\n14,20\n2x,100\n", ", line 3: the mass \"2x\" is not a number"},
        {"# comment\n\n14;20;5\n", ", line 3: 3 fields where two, mass;abundance, are expected"},
        {"14,20\n28\n", ", line 2: one field where two, mass,abundance, are expected"},
        {"14,20\r\n28,-1\r\n", ", line 2: the abundance -1 is below 0"},
        {"14,20\n0,5\n", ", line 2: the mass 0 is not above 0"},
        {"14,20\n28,lots\n", ", line 2: the abundance \"lots\" is not a number"},
        {"mass,abundance\n14,0\n", ": no spectrum lines (rows of mass and abundance above 0)"},
        {"", ": no spectrum lines (rows of mass and abundance above 0)"},
    };
    const QString path = dir.filePath(QStringLiteral("bad.csv"));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.content.toStdString());
        WriteFile(path, r.content);
        const Result res = Cli({"identify", path});
        EXPECT_EQ(res.status, kExitFailure);
        EXPECT_EQ(res.out, QString());
        EXPECT_EQ(res.err.toStdString(), ("ionpath-cli: " + path + QString::fromUtf8(r.message) + u'\n').toStdString());
    }
    const Result missing = Cli({"identify", dir.filePath(QStringLiteral("none.csv"))});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("none.csv\" does not exist"))) << missing.err.toStdString();
    EXPECT_EQ(Cli({"identify"}).status, kExitUsage);
    EXPECT_TRUE(Cli({"identify", path, "--voltage", "5000"}).err.contains(QStringLiteral("identify does not take --voltage")));
    EXPECT_TRUE(Cli({"--help"}).out.contains(QStringLiteral("identify FILE.csv")));
}

TEST(Cli, ExerciseKeyMatchesTheWindowAndTheSheetHasAPagePerSample)
{
    const Result res = Cli({"exercise", "--seed", "class 7b", "--library", Shipped()});
    ASSERT_EQ(res.status, 0) << res.err.toStdString();
    const QStringList rows = Lines(res.out);
    ASSERT_EQ(rows.size(), 1 + kExerciseSamples);
    EXPECT_EQ(rows[0], QStringLiteral("sample,substance"));
    // The learners' window, started with the same seed, holds the same samples.
    TfrmExample w;
    w.SetLibraryPath(Shipped());
    w.SetExerciseSeed(QStringLiteral("class 7b"));
    w.show();
    w.FormActivate();
    ASSERT_TRUE(w.Exercise());
    for (int i = 0; i < kExerciseSamples; ++i)
        EXPECT_EQ(rows[i + 1], QStringLiteral("%1,%2").arg(QChar(u'A' + i)).arg(w.Exercise()->Substances.at(i)));
    EXPECT_NE(Cli({"exercise", "--seed", "class 7c", "--library", Shipped()}).out, res.out);

    QTemporaryDir dir;
    const QString sheet = dir.filePath(QStringLiteral("sheet.pdf"));
    const Result written = Cli({"exercise", "--seed", "class 7b", "--library", Shipped(), "--sheet", sheet});
    ASSERT_EQ(written.status, 0) << written.err.toStdString();
    const QByteArray pdf = ReadFile(sheet);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    EXPECT_EQ(QString::fromLatin1(pdf).count(page), kExerciseSamples);

    struct Row {
        QStringList Arguments;
        int Status;
    };
    const Row wrong[] = {
        {{"exercise", "--seed", "1", "--sheet", dir.filePath(QStringLiteral("sheet.png"))}, 2},
        {{"exercise"}, 2},
        {{"exercise", "--seed", "  "}, 2},
        {{"exercise", "--seed", "1", "--sheet", dir.filePath(QStringLiteral("no/folder/sheet.pdf"))}, 1},
    };
    for (const Row& r : wrong) {
        QStringList arguments = r.Arguments;
        arguments << QStringLiteral("--library") << Shipped();
        EXPECT_EQ(Cli(arguments).status, r.Status) << r.Arguments.join(' ').toStdString();
    }
}
