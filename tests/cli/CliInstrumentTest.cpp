// ionpath-cli scan with the instrument's slit and plate detectors over the
// shipped library, and the classic detector of the instrument against the
// classic model itself.
#include "CliRun.h"
#include "analysis/SectorInstrument.h"
#include "app/FieldScan.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

// The shipped library alone, as CliTest.cpp runs the tool.
Result ShippedCli(const QStringList& arguments)
{
    return Cli(arguments
               + QStringList{QStringLiteral("--library"), QStringLiteral(IONPATH_SHIPPED_LIBRARY),
                             QStringLiteral("--no-user-library")});
}

const QString kXenon = QStringLiteral("Xenon (natural isotopes)");

// The CSV rows after the header row `header`, split at the commas.
std::vector<QStringList> Rows(const QString& out, const QString& header)
{
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::vector<QStringList> rows;
    const qsizetype at = lines.indexOf(header);
    EXPECT_GE(at, 0) << header.toStdString();
    for (qsizetype i = at + 1; at >= 0 && i < lines.size(); ++i)
        rows.push_back(lines[i].split(QLatin1Char(',')));
    return rows;
}

} // namespace

// The instrument's classic detector and its m/z axis are the classic
// model's, at every field position: the same sticks, the same mass in focus.
TEST(CliInstrument, ClassicDetectorIsTheClassicModel)
{
    const std::vector<TSpectralLine> lines = {{128, 7.1}, {129, 98.11}, {130, 15.13}, {131, 78.91}, {132, 100}};
    TInstrumentSettings classic;
    classic.Detector = TDetectorKind::Classic;
    const double k = SectorFieldConstant();
    for (const int volts : {3000, 5000}) {
        const TSectorInstrument instrument(classic, volts, k);
        int sticks = 0;
        for (int p = kFieldMinimum; p <= kFieldMaximum; ++p) {
            const TIonPaths model = ComputeIonPathModel(volts, p, k, lines);
            const auto stick = StickInFocus(model, lines);
            sticks += stick.has_value();
            ASSERT_EQ(instrument.Current(lines, p), stick ? stick->Abundance : 0) << volts << " V, " << p;
            ASSERT_EQ(MassInFocusAt(volts, p, k), model.MassInFocus) << volts << " V, " << p;
        }
        EXPECT_GT(sticks, 0) << volts;
    }
}

TEST(CliInstrument, SlitTraceHasASampleAtEveryFieldPosition)
{
    const Result r = ShippedCli({"scan", kXenon, "--voltage", "3000", "--detector", "slit", "--source-slit", "0.1",
                          "--detector-slit", "0.1"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("# Ionpath detector trace\n# substance: Xenon (natural isotopes)\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\n# detector slit: 0.1 mm\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\n# resolving power: ")));
    const std::vector<QStringList> rows = Rows(r.out, QStringLiteral("field,m/z,current"));
    ASSERT_EQ(rows.size(), 5000u);
    double top = 0, at = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 3);
        const int position = int(i) + 1;
        ASSERT_EQ(rows[i][0], QStringLiteral("%1.%2").arg(position / 10).arg(position % 10));
        ASSERT_NEAR(rows[i][1].toDouble(), ComputeIonPathModel(3000, position, SectorFieldConstant(), {}).MassInFocus,
                    1e-7 * rows[i][1].toDouble());
        if (rows[i][2].toDouble() > top)
            top = rows[i][2].toDouble(), at = rows[i][1].toDouble();
    }
    // 0.1 mm slits let xenon's 132 (100 %) through whole and alone.
    EXPECT_NEAR(top, 100, 1e-9);
    EXPECT_NEAR(at, 132, 0.05);
}

// At 3000 V and 500 mT the plate spans m/z 285.851 ((40 + 2^2/160) / 80)^2
// = 71.552 at y = 2 to 285.851 (102.5 / 80)^2 = 469.253 at y = 100; xenon's
// lines stand about 0.35 units (1.2 mm) apart there, clear of the default
// 0.5 mm window.
TEST(CliInstrument, PlateShowsEveryLineAtOnce)
{
    const Result r = ShippedCli({"scan", kXenon, "--voltage", "3000", "--detector", "plate", "--field", "500"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("# Ionpath photographic plate\n")));
    const std::vector<QStringList> rows = Rows(r.out, QStringLiteral("m/z,blackening"));
    ASSERT_GT(rows.size(), 1000u);
    EXPECT_NEAR(rows.front()[0].toDouble(), 71.552, 1e-3);
    EXPECT_NEAR(rows.back()[0].toDouble(), 469.253, 1e-3);
    std::vector<double> darkest; // the m/z of the plate's local maxima above 0.05
    for (size_t i = 1; i + 1 < rows.size(); ++i) {
        const double d = rows[i][1].toDouble();
        ASSERT_GT(rows[i][0].toDouble(), rows[i - 1][0].toDouble());
        if (d > 0.05 && d > rows[i - 1][1].toDouble() && d >= rows[i + 1][1].toDouble())
            darkest.push_back(rows[i][0].toDouble());
    }
    const double lines[] = {128, 129, 130, 131, 132, 134, 136}; // those above 1 %
    ASSERT_EQ(darkest.size(), std::size(lines));
    for (size_t i = 0; i < darkest.size(); ++i)
        EXPECT_NEAR(darkest[i], lines[i], 0.15);
}

TEST(CliInstrument, OptionsAreCheckedWithClearErrors)
{
    struct Row {
        QStringList arguments;
        const char* message;
    };
    const QStringList scan = {"scan", kXenon, "--voltage", "3000"};
    const QStringList slit = scan + QStringList{"--detector", "slit"};
    const Row rows[] = {
        {scan + QStringList{"--detector", "film"}, "the detector \"film\" is not classic, slit or plate"},
        {slit + QStringList{"--source-slit", "3"}, "the source slit width 3 mm is outside 0.05 to 2 mm"},
        {slit + QStringList{"--detector-slit", "6"}, "the detector slit width 6 mm is outside 0.05 to 5 mm"},
        {slit + QStringList{"--detector-slit", "wide"}, "\"wide\" is not a valid detector slit width; give mm"},
        {slit + QStringList{"--energy-spread", "150V"}, "the energy spread 150 V is outside 0 to 100 V"},
        {slit + QStringList{"--angular-spread", "11"}, "the angular spread 11 mrad is outside 0 to 10 mrad"},
        {slit + QStringList{"--angular-spread", "2deg"}, "\"2deg\" is not a valid angular spread; give mrad"},
        {scan + QStringList{"--source-slit", "1"}, "scan does not take --source-slit with the classic detector"},
        {slit + QStringList{"--field", "100"}, "scan does not take --field with the slit"},
        {scan + QStringList{"--detector", "plate"}, "scan --detector plate needs --field"},
        {scan + QStringList{"--detector", "plate", "--field", "100", "--from", "50"}, "does not take --from"},
        {{"focus", kXenon, "--voltage", "3000", "--field", "100", "--detector", "slit"}, "focus does not take --detector"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.arguments.join(QLatin1Char(' ')).toStdString());
        const Result res = ShippedCli(r.arguments);
        EXPECT_EQ(res.status, kExitUsage);
        EXPECT_EQ(res.out, QString());
        EXPECT_TRUE(res.err.contains(QString::fromUtf8(r.message))) << res.err.toStdString();
    }
    const Result help = ShippedCli({"--help"});
    for (const char* word : {"--detector", "classic|slit|plate", "--source-slit", "--detector-slit", "--energy-spread",
                             "--angular-spread", "blackening"})
        EXPECT_TRUE(help.out.contains(QString::fromLatin1(word))) << word;
}

// render draws what the window draws with a slit or a plate: the slit's jaws
// on the wall, which the classic picture does not have, and the plate's
// blackening where xenon's strongest line stands.
TEST(CliInstrument, RenderDrawsTheBeamsAndTheDetector)
{
    QTemporaryDir dir;
    const auto render = [&dir](const QString& name, QStringList extra) {
        const QString deflection = dir.filePath(name + QStringLiteral("-paths.png"));
        const QString spectrum = dir.filePath(name + QStringLiteral("-spectrum.png"));
        const Result r = ShippedCli(QStringList{"render", kXenon, "--voltage", "5000", "--field", "437", "--deflection",
                                         deflection, "--spectrum", spectrum}
                             + extra);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return std::pair{QImage(deflection), QImage(spectrum)};
    };
    const auto classic = render(QStringLiteral("classic"), {});
    const auto slit = render(QStringLiteral("slit"), {"--detector", "slit", "--detector-slit", "0.1", "--no-scan"});
    const auto plate = render(QStringLiteral("plate"), {"--detector", "plate", "--detector-slit", "0.1"});
    ASSERT_FALSE(classic.first.isNull());
    ASSERT_EQ(slit.first.size(), classic.first.size());
    // The jaws: a dark column just inside the data area's right edge, from
    // the bottom up to the slit (y = 80 of the isometric 0..100 view).
    const auto darkAtRightEdge = [](const QImage& paths) {
        int dark = 0;
        for (int y = paths.height() / 2; y < paths.height() - 4; ++y)
            for (int x = paths.width() - 6; x < paths.width() - 1; ++x)
                dark += qGray(paths.pixel(x, y)) < 60;
        return dark;
    };
    EXPECT_GT(darkAtRightEdge(slit.first), darkAtRightEdge(classic.first) + 50);
    // The plate's reading peaks at 132: its column is the darkest curve's top.
    const QImage& spectrum = plate.second;
    int top = spectrum.height(), topX = -1;
    for (int x = 40; x < spectrum.width() - 3; ++x)
        for (int y = 22; y < spectrum.height() - 22; ++y)
            if (qGray(spectrum.pixel(x, y)) < 60 && y < top) {
                top = y;
                topX = x;
            }
    // 641-pixel chart, data area from 30 to 639 for m/z 0 to 146.
    EXPECT_NEAR((topX - 30) * 146.0 / 609, 132, 1.5);
    EXPECT_EQ(ShippedCli({"render", kXenon, "--voltage", "5000", "--field", "437", "--spectrum", dir.filePath("x.png"),
                   "--source-slit", "1"})
                  .status,
              2); // widths belong to a slit or a plate
}
