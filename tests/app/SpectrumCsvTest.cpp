// The recorded spectrum as a CSV file: its header, its rows, its numbers and
// the safe writing of the file.
#include "app/FieldScan.h"
#include "app/MainWindow.h"
#include "app/SpectrumCsv.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "chart/ChartMenu.h"
#include "chart/RChart.h"
#include "support/Errors.h"
#include "support/NumberFormat.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSlider>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimeZone>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QDateTime May6()
{
    return QDateTime(QDate(2024, 5, 6), QTime(14, 3, 12), QTimeZone(2 * 3600));
}

TSpectrumCsvHeader Header(const QString& substance = QStringLiteral("Benzene"))
{
    return {substance, 5000, QStringLiteral("0.1 mT to 500.0 mT"), May6()};
}

QString Text(const TSpectrumCsvHeader& header, const std::vector<TSpectralLine>& sticks)
{
    return QString::fromUtf8(SpectrumCsv(header, sticks));
}

// The lines that are not comments: the table a CSV reader sees.
QStringList TableLines(const QString& text)
{
    QStringList table;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1Char('#')))
            table << line;
    return table;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The message of the Exception fn throws, or "" when it throws none.
template <typename Fn>
QString ErrorOf(Fn fn)
{
    try {
        fn();
    } catch (const Exception& e) {
        return e.Message().isEmpty() ? QStringLiteral("<empty message>") : e.Message();
    }
    return {};
}

} // namespace

TEST(SpectrumCsv, HeaderThenOneRowPerDistinctStickByAscendingMass)
{
    const std::vector<TSpectralLine> recorded{{78, 100}, {78, 100}, {50, 15.8}, {52, 19.4}, {50, 15.8}, {78, 100}};
    EXPECT_EQ(Text(Header(), recorded).toStdString(),
              "# Ionpath mass spectrum\n"
              "# substance: Benzene\n"
              "# voltage: 5000 V\n"
              "# field: 0.1 mT to 500.0 mT\n"
              "# date: 2024-05-06T14:03:12+02:00\n"
              "mass,abundance\n"
              "50,15.8\n"
              "52,19.4\n"
              "78,100\n");
    // An empty spectrum is the header alone; the field and date lines are
    // left out when they are not known.
    EXPECT_EQ(Text({QStringLiteral("Water"), 3000, {}, {}}, {}).toStdString(),
              "# Ionpath mass spectrum\n"
              "# substance: Water\n"
              "# voltage: 3000 V\n"
              "mass,abundance\n");
    // A date in UTC keeps its zone.
    const QString utc = Text({QStringLiteral("Water"), 3000, {}, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC)}, {});
    EXPECT_TRUE(utc.contains(QStringLiteral("# date: 2024-01-02T03:04:05Z\n"))) << utc.toStdString();
}

TEST(SpectrumCsv, NumbersWithAPointAndAsFewDigitsAsGiveTheValueBack)
{
    // Whatever the user's locale and the program's decimal separator.
    const QLocale keepLocale;
    const QChar keepSeparator = DecimalSeparator();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SetDecimalSeparator(QLatin1Char(','));

    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {{28, "28"}, {15.8, "15.8"}, {0.5, "0.5"}, {100, "100"}, {77.9, "77.9"},
                        {1234.5, "1234.5"}, {0.1 + 0.2, "0.30000000000000004"}, {1.0 / 3, "0.3333333333333333"}};
    for (const Row& r : rows) {
        const QStringList table = TableLines(Text(Header(), {{r.value, r.value}}));
        ASSERT_EQ(table.size(), 2);
        EXPECT_EQ(table[1].toStdString(), std::string(r.text) + "," + r.text);
        EXPECT_EQ(std::stod(r.text), r.value) << r.text;
    }
    QLocale::setDefault(keepLocale);
    SetDecimalSeparator(keepSeparator);
}

TEST(SpectrumCsv, ASubstanceNameCannotBreakTheTable)
{
    struct Row {
        QString name;
        const char* line; // the substance's comment line
    };
    const Row rows[] = {
        {QStringLiteral("Acetic acid, glacial"), "# substance: Acetic acid, glacial"},
        {QStringLiteral("\"Quoted\" name"), "# substance: \"Quoted\" name"},
        {QStringLiteral("Two\nlines"), "# substance: Two lines"},
        {QStringLiteral("x\r\nmass,abundance\r\n1,2"), "# substance: x  mass,abundance  1,2"},
        {QStringLiteral("tab\there"), "# substance: tab here"},
        {QString::fromUtf8("next\u0085line\u2028sep\u2029par"), "# substance: next line sep par"},
        {QString::fromUtf8("Äthanol"), "# substance: Äthanol"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        const QString text = Text(Header(r.name), {{18, 100}, {17, 21}});
        const QStringList lines = text.split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[1].toStdString(), r.line);
        EXPECT_EQ(TableLines(text), (QStringList{"mass,abundance", "17,21", "18,100"}));
    }
}

TEST(SpectrumCsv, WritingReplacesAFileOnlyByACompleteOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("spectrum.csv"));
    std::vector<TSpectralLine> sticks;
    for (int m = 1; m <= 300; ++m)
        sticks.push_back({double(m), m / 3.0});

    // A new file, then the file replaced by another spectrum.
    EXPECT_EQ(ErrorOf([&] { WriteSpectrumCsv(path, Header(), {{28, 100}}); }), QString());
    EXPECT_EQ(ReadFile(path), SpectrumCsv(Header(), {{28, 100}}));
    EXPECT_EQ(ErrorOf([&] { WriteSpectrumCsv(path, Header(QStringLiteral("Water")), sticks); }), QString());
    EXPECT_EQ(ReadFile(path), SpectrumCsv(Header(QStringLiteral("Water")), sticks));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("spectrum.csv")});

    // The disk fills up in the middle of the write (a file size limit stands
    // in for it): the old file stays whole and no part of the new one is left.
    const QByteArray old = ReadFile(path);
    rlimit keep{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &keep), 0);
    const auto keepSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = keep;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString error = ErrorOf([&] { WriteSpectrumCsv(path, Header(QStringLiteral("Methane")), sticks); });
    setrlimit(RLIMIT_FSIZE, &keep);
    std::signal(SIGXFSZ, keepSignal);
    EXPECT_TRUE(error.contains(path)) << error.toStdString() << " size " << ReadFile(path).size();
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("spectrum.csv")});
}

TEST(SpectrumCsv, AnUnwritablePathThrowsAnErrorNamingTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    WriteFile(plain, "not a folder");
    const QString paths[] = {
        dir.filePath(QStringLiteral("missing/spectrum.csv")), // no such folder
        plain + QStringLiteral("/spectrum.csv"),               // a file where the folder should be
        dir.path(),                                           // a folder
    };
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QString error = ErrorOf([&] { WriteSpectrumCsv(path, Header(), {{28, 100}}); });
        EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write \"%1\"").arg(path))) << error.toStdString();
    }
    EXPECT_EQ(ReadFile(plain), QByteArray("not a folder"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"plain.txt"});
}

// The spectrum chart's menu exports what the chart holds when the user asks,
// under the substance and voltage of that moment.
TEST(SpectrumCsv, TheWindowsSpectrumChartExportsWhatItHolds)
{
    const QString library =
        QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/ms_spec_sample.tra"));
    TfrmExample w;
    w.SetLibraryPath(library);
    w.show();
    w.FormActivate();
    TChartMenu* menu = w.RChart2->findChild<TChartMenu*>();
    ASSERT_TRUE(menu);
    ASSERT_TRUE(menu->CsvAction());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("spectrum.csv"));
    menu->AskFileName = [&](QWidget*, const QString&, const QString&, const QString&, QString*) { return path; };
    QStringList errors;
    menu->ReportError = [&](QWidget*, const QString& message) { errors << message; };

    w.spectrumbox->setCurrentIndex(1);
    w.spectrumboxChange();
    w.Energy->setValue(4000);
    w.ScStartBtnClick();
    menu->ExportCsv();
    ASSERT_EQ(errors, QStringList());

    TSpectrumLibrary lib;
    ASSERT_TRUE(lib.Open(library));
    const QString name = w.spectrumbox->itemText(1);
    const std::optional<TSubstance> s = LoadSubstance(lib, name);
    ASSERT_TRUE(s);
    TFieldScan scan(s->Lines, 4000, kFieldMinimum);
    scan.Run();
    QStringList expected{QStringLiteral("mass,abundance")};
    for (const TSpectralLine& l : DistinctSticks(scan.Sticks()))
        expected << QString::number(l.Mass) + QLatin1Char(',') + QString::number(l.Abundance);
    const QString text = QString::fromUtf8(ReadFile(path));
    EXPECT_TRUE(text.startsWith(QStringLiteral("# Ionpath mass spectrum\n# substance: %1\n# voltage: 4000 V\n").arg(name)))
        << text.toStdString();
    EXPECT_GT(expected.size(), 1);
    EXPECT_EQ(TableLines(text), expected);

    // Cleared, the spectrum exports as the header alone.
    w.ClearBtnClick();
    menu->ExportCsv();
    EXPECT_EQ(TableLines(QString::fromUtf8(ReadFile(path))), QStringList{QStringLiteral("mass,abundance")});
    // A file that cannot be written is reported and names the file.
    const QString bad = dir.filePath(QStringLiteral("missing/spectrum.csv"));
    menu->AskFileName = [&](QWidget*, const QString&, const QString&, const QString&, QString*) { return bad; };
    menu->ExportCsv();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(bad)) << errors[0].toStdString();
}
