#include "app/SpectrumLibrary.h"
#include "support/ConvertError.h"
#include "support/Matrix.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<double, double>>;

// Lines joined with `end` after every line.
QByteArray Lines(std::initializer_list<const char*> lines, const QByteArray& end = "\r\n")
{
    QByteArray text;
    for (const char* l : lines)
        text += QByteArray(l) + end;
    return text;
}

const std::initializer_list<const char*> kMethane = {
    "/NAME",
    "Methane (by courtesy of a contributor)",
    "(any text)",
    "(any text)",
    "(any text)",
    "   14.0  100.0   15.0   85.5   16.0   88.0",
    "   17.0    1.2   18.0    0.1",
    "/PHYSP",
};

// The matrix rows 1..NrOfRows as (mass, abundance).
Pairs Rows(const TMatrix& m)
{
    Pairs rows;
    for (int r = 1; r <= m.NrOfRows(); ++r)
        rows.emplace_back(m.Cell(1, r), m.Cell(2, r));
    return rows;
}

class SpectrumLibraryTest : public ::testing::Test {
protected:
    SpectrumLibraryTest() { matrix.SetNrOfColumns(2); }

    TSpectrumLoad Load(const QByteArray& content, const QString& name)
    {
        library.SetContent(content);
        return library.LoadSpectrum(name, matrix);
    }

    TSpectrumLibrary library;
    TMatrix matrix;
};

} // namespace

TEST_F(SpectrumLibraryTest, LoadsTheWorkedExampleSortedByAbundance)
{
    library.SetContent(Lines(kMethane));
    EXPECT_EQ(library.SubstanceNames(), QStringList{"Methane"});
    const TSpectrumLoad load = library.LoadSpectrum("Methane", matrix);
    EXPECT_TRUE(load.Found);
    EXPECT_EQ(load.LineCount, 5);
    EXPECT_EQ(library.LineCount(), 5);
    EXPECT_EQ(Rows(matrix), (Pairs{{18, 0.1}, {17, 1.2}, {15, 85.5}, {16, 88.0}, {14, 100.0}}));
    EXPECT_EQ(load.LastMass, 18.0);
    EXPECT_EQ(load.MassAxisEnd(), 28.0);
}

TEST_F(SpectrumLibraryTest, LineEndsCrCrLfAndMixedReadAlike)
{
    const QByteArray crlf = Lines(kMethane, "\r\n");
    const QByteArray cr = Lines(kMethane, "\r");
    QByteArray mixed = Lines(kMethane, "\r");
    mixed.replace("(any text)\r", "(any\ntext)\r\n"); // and a lone LF, which is dropped
    mixed.replace("88.0\r", "88.0\r\n");
    for (const QByteArray& content : {crlf, cr, mixed}) {
        library.SetContent(content);
        EXPECT_EQ(library.SubstanceNames(), QStringList{"Methane"}) << content.toHex().constData();
        EXPECT_EQ(library.LoadSpectrum("methane", matrix).LineCount, 5);
        EXPECT_EQ(Rows(matrix), (Pairs{{18, 0.1}, {17, 1.2}, {15, 85.5}, {16, 88.0}, {14, 100.0}}));
    }
    // A lone LF inside a data line joins its two halves.
    const TSpectrumLoad load = Load(Lines({"/NAME", "X (by courtesy)", "", "", "", "   14.0 \n 100.0", "/PHYSP"}), "X");
    EXPECT_EQ(load.LineCount, 1);
}

TEST_F(SpectrumLibraryTest, NamesAreCutOneCharacterBeforeTheCredit)
{
    library.SetContent(Lines({
        "/NAME", "  Benzene   (by courtesy of A)",
        "/NAME", "Benzene(by courtesy of A)",          // no blank: the "e" goes
        "/name", "Toluene (by someone else)",          // lower-case marker
        "/NAMES and more", "Benzene (by courtesy of B)", // a longer word counts, duplicates stay
        "/NAM", "Not a marker (by courtesy)",
        "/NAME", "No credit at all",
        "/NAME", "(by courtesy of nobody)",
        "/NAME", "X(by courtesy)",
        " /NAME", "Indented marker (by courtesy)",
        "/NAME", "Neon (natural isotopes) (by courtesy of C)",
    }));
    EXPECT_EQ(library.SubstanceNames(), (QStringList{"Benzene", "Benzen", "Toluene", "Benzene", "", "", "",
                                                     "Neon (natural isotopes)"}));
}

TEST_F(SpectrumLibraryTest, ANameListedWithoutTheBlankIsNeverFound)
{
    matrix.SetNrOfRows(2);
    matrix.SetCell(1, 1, 7.0);
    matrix.SetCell(2, 1, 5.0);
    const TSpectrumLoad load = Load(Lines({"/NAME", "Benzene(by courtesy)", "", "", "", "   78.0  100.0", "/PHYSP"}), "Benzen");
    EXPECT_FALSE(load.Found);
    EXPECT_EQ(load.LineCount, 0);
    EXPECT_FALSE(load.MassAxisEnd()); // the axis stays as it was
    EXPECT_EQ(matrix.NrOfRows(), 500);
    EXPECT_EQ(Rows(matrix).front(), (std::pair<double, double>(7.0, 5.0))); // rows as they were
}

TEST_F(SpectrumLibraryTest, AnEarlierLineThatDiffersOnlyInCaseIsTakenAsTheName)
{
    // The loader compares every line, so the free text of the first record
    // already matches "Methane".
    const TSpectrumLoad load = Load(Lines({
        "/NAME", "Decoy (by courtesy of A)",
        "  METHANE  ", "one", "two", "three",
        "   40.0   10.0",
        "/PHYSP",
        "/NAME", "Methane (by courtesy of B)", "", "", "",
        "   16.0  100.0",
        "/PHYSP",
    }), "Methane");
    EXPECT_EQ(load.LineCount, 1);
    EXPECT_EQ(Rows(matrix), (Pairs{{40.0, 10.0}}));
    // Only A to Z fold: an accented capital does not match its small letter.
    library.SetContent(Lines({"/NAME", "Benzène (by courtesy)", "", "", "", "   78.0  100.0", "/PHYSP"}));
    EXPECT_EQ(library.LoadSpectrum("BENZèNE", matrix).LineCount, 1);
    EXPECT_FALSE(library.LoadSpectrum("BENZÈNE", matrix).Found);
}

TEST_F(SpectrumLibraryTest, ARecordWithoutEndLineRunsToTheEndOfTheFile)
{
    const QByteArray record = Lines({"/NAME", "Air (by courtesy)", "", "", "", "   28.0  100.0   32.0   27.0"}) + "   40.0    1.2";
    for (const QByteArray& content : {record, record + "\r", record + "\r\n"}) {
        const TSpectrumLoad load = Load(content, "Air");
        EXPECT_EQ(load.LineCount, 3) << content.right(4).toHex().constData();
        EXPECT_EQ(load.MassAxisEnd(), 50.0);
    }
}

TEST_F(SpectrumLibraryTest, TheLastMassSetsTheAxisEnd)
{
    const TSpectrumLoad load = Load(Lines({"/NAME", "Benzene (by courtesy)", "", "", "", "   51.0   18.0   77.9   20.0", "/PHYSP"}), "Benzene");
    EXPECT_EQ(load.MassAxisEnd(), 87.0);
    // A trailing unpaired mass is read too.
    EXPECT_EQ(Load(Lines({"/NAME", "B (by courtesy)", "", "", "", "   51.0   18.0   99.0", "/PHYSP"}), "B").LastMass, 99.0);
}

TEST_F(SpectrumLibraryTest, ANonNumberStopsTheLoadAndKeepsThePairsRead)
{
    const struct {
        const char* dataLine;
        const char* message;
    } cases[] = {
        {"   14.0  100.0   15.0   50.0   16.0    abc", "'abc' is not a valid floating point value"},
        {"   14.0  100.0   15.0   50.0   16.0       ", "'' is not a valid floating point value"},
        {"   14.0  100.0   15.0   50.0  1 6.0   20.0", "'  1 6.0' is not a valid floating point value"},
        {"   14.0  100.0   15.0   50.0\t  16.0   20.0", "'\t  16.0' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        try {
            Load(Lines({"/NAME", "Bad (by courtesy)", "", "", "", c.dataLine, "/PHYSP"}), "Bad");
            ADD_FAILURE() << "no error for " << c.dataLine;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.message));
        }
        EXPECT_EQ(library.LineCount(), 2);
        EXPECT_EQ(matrix.NrOfRows(), 500);
        // Not sorted: still in file order.
        EXPECT_EQ(Rows(matrix).at(0), (std::pair<double, double>(14.0, 100.0)));
        EXPECT_EQ(Rows(matrix).at(1), (std::pair<double, double>(15.0, 50.0)));
    }
}

TEST_F(SpectrumLibraryTest, AbundanceMayCarryControlCharacters)
{
    const TSpectrumLoad load = Load(Lines({"/NAME", "C (by courtesy)", "", "", "", "   14.0\t 100.0   15.0  50.0\x01"}), "C");
    EXPECT_EQ(load.LineCount, 2);
    EXPECT_EQ(Rows(matrix), (Pairs{{15.0, 50.0}, {14.0, 100.0}}));
}

TEST_F(SpectrumLibraryTest, ARecordOf600PairsKeepsTheFirst500)
{
    QByteArray content = Lines({"/NAME", "Big (by courtesy)", "", "", ""});
    for (int line = 0; line < 200; ++line) {
        for (int k = 1; k <= 3; ++k) {
            const int pair = line * 3 + k;
            content += QByteArray::number(double(pair), 'f', 1).rightJustified(7);
            content += QByteArray::number(double(pair % 97), 'f', 1).rightJustified(7);
        }
        content += "\r\n";
    }
    content += "/PHYSP\r\n";
    const TSpectrumLoad load = Load(content, "Big");
    EXPECT_EQ(load.LineCount, 500);
    EXPECT_EQ(matrix.NrOfRows(), 500);
    EXPECT_EQ(load.LastMass, 500.0);
    EXPECT_EQ(load.MassAxisEnd(), 510.0);
    double lowestMass = 1e9;
    for (const auto& [mass, abundance] : Rows(matrix))
        lowestMass = std::min(lowestMass, mass);
    EXPECT_EQ(lowestMass, 1.0); // no phantom rows of mass 0
}

TEST_F(SpectrumLibraryTest, EmptyLibrariesAndNamesLoadNothingAndDoNotFail)
{
    for (const QByteArray& content : {QByteArray(), QByteArray("just text\r\n"), Lines({"/NAME"})}) {
        library.SetContent(content);
        const QStringList names = library.SubstanceNames();
        EXPECT_LE(names.size(), 1);
        const TSpectrumLoad load = library.LoadSpectrum(names.value(0), matrix);
        EXPECT_FALSE(load.Found);
        EXPECT_EQ(load.LineCount, 0);
    }
    // An empty name never matches an empty line.
    EXPECT_FALSE(Load(Lines({"", "/NAME", "(by courtesy)", "", "", "", "   14.0   10.0"}), "").Found);
}

TEST_F(SpectrumLibraryTest, ARecordFoundWithoutDataHasNoLines)
{
    const TSpectrumLoad load = Load(Lines({"/NAME", "Empty (by courtesy)", "", "", "", "/PHYSP"}), "Empty");
    EXPECT_TRUE(load.Found);
    EXPECT_EQ(load.LineCount, 0);
    EXPECT_EQ(matrix.NrOfRows(), 1);
    EXPECT_FALSE(load.MassAxisEnd());
}

TEST_F(SpectrumLibraryTest, NamesInEitherEncodingLoad)
{
    const QByteArray utf8 = Lines({"/NAME", "Benz\xC3\xA8ne (by courtesy)", "", "", "", "   78.0  100.0", "/PHYSP"});
    const QByteArray latin = Lines({"/NAME", "Benz\xE8ne (by courtesy)", "", "", "", "   78.0  100.0", "/PHYSP"});
    for (const QByteArray& content : {utf8, latin}) {
        library.SetContent(content);
        ASSERT_EQ(library.SubstanceNames(), QStringList{QStringLiteral("Benzène")});
        EXPECT_EQ(library.LoadSpectrum(QStringLiteral("Benzène"), matrix).LineCount, 1);
    }
}

TEST_F(SpectrumLibraryTest, TheLineHookRunsDuringBothPasses)
{
    library.SetContent(Lines(kMethane));
    int calls = 0;
    library.OnLineRead = [&] { ++calls; };
    library.SubstanceNames();
    EXPECT_EQ(calls, 9); // eight lines and the empty one after the last line end
    calls = 0;
    library.LoadSpectrum("Methane", matrix);
    EXPECT_EQ(calls, 8); // up to the end line
}

TEST_F(SpectrumLibraryTest, ALoadStartedFromTheHookTakesOver)
{
    library.SetContent(Lines(kMethane) + Lines({"/NAME", "Neon (by courtesy)", "", "", "", "   20.0  100.0   22.0   10.2", "/PHYSP"}));
    bool switched = false;
    TSpectrumLoad inner;
    library.OnLineRead = [&] {
        // The user picks Neon while Methane is still being read.
        if (!switched && library.LineCount() == 3) {
            switched = true;
            inner = library.LoadSpectrum("Neon", matrix);
        }
    };
    const TSpectrumLoad outer = library.LoadSpectrum("Methane", matrix);
    EXPECT_TRUE(switched);
    EXPECT_TRUE(outer.Superseded);
    EXPECT_EQ(inner.LineCount, 2);
    EXPECT_EQ(library.LineCount(), 2);
    EXPECT_EQ(Rows(matrix), (Pairs{{22.0, 10.2}, {20.0, 100.0}}));
}

TEST_F(SpectrumLibraryTest, GarbageNeverCrashesOrHangsTheReader)
{
    QRandomGenerator random(20240611);
    QByteArray garbage(4 * 1024 * 1024, Qt::Uninitialized);
    for (char& c : garbage)
        c = static_cast<char>(random.bounded(256));
    // Sprinkle records into the noise, some cut short, so that loads really
    // parse garbage as data.
    for (int k = 0; k < 200; ++k) {
        const QByteArray record = Lines({"/NAME", "G (by courtesy)"}) + garbage.mid(k * 20, random.bounded(80));
        garbage.replace(random.bounded(garbage.size() - 200), record.size(), record);
    }
    library.SetContent(garbage);
    const QStringList names = library.SubstanceNames();
    EXPECT_GE(names.size(), 1);
    int loads = 0;
    for (const QString& name : names.mid(0, 20)) {
        try {
            library.LoadSpectrum(name, matrix);
        } catch (const EConvertError&) {
        }
        EXPECT_LE(library.LineCount(), 500);
        ++loads;
    }
    EXPECT_GT(loads, 0);

    // One data line of 16 MB: the load stops at 500 pairs.
    QByteArray huge = Lines({"/NAME", "H (by courtesy)", "", "", ""});
    huge += QByteArray("   14.0  100.0").repeated(16 * 1024 * 1024 / 14);
    library.SetContent(huge);
    EXPECT_EQ(library.SubstanceNames(), QStringList{"H"});
    EXPECT_EQ(library.LoadSpectrum("H", matrix).LineCount, 500);
}

TEST_F(SpectrumLibraryTest, OpenReadsAFileAndRefusesWhatIsNoLibrary)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath("ms_spec_sample.tra");
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Lines(kMethane));
    }
    QString error;
    EXPECT_TRUE(library.Open(good, &error));
    EXPECT_TRUE(library.IsOpen());
    EXPECT_EQ(library.SubstanceNames(), QStringList{"Methane"});

    // Larger than any library; sparse, so the test costs no disk space.
    const QString huge = dir.filePath("huge.tra");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(8) * 1024 * 1024 * 1024));
    }
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {dir.filePath("missing.tra"), "does not exist"},
        {dir.path(), "is not a file"},
        {huge, "too large"},
        {QStringLiteral("/dev/zero"), "is not a file"},
    };
    for (const auto& c : cases) {
        error.clear();
        EXPECT_FALSE(library.Open(c.path, &error)) << c.path.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
    }
    // What was read before stays.
    EXPECT_EQ(library.SubstanceNames(), QStringList{"Methane"});
}

namespace {

// What one load gave, or the error it ended with.
struct TLoadOutcome {
    bool found = false;
    int lineCount = 0;
    std::optional<double> lastMass;
    Pairs rows;
    QString error;

    bool operator==(const TLoadOutcome&) const = default;
};

TLoadOutcome LoadOutcome(TSpectrumLibrary& library, const QString& name, TMatrix& matrix)
{
    TLoadOutcome outcome;
    try {
        const TSpectrumLoad load = library.LoadSpectrum(name, matrix);
        outcome = {load.Found, load.LineCount, load.LastMass, Rows(matrix), QString()};
    } catch (const EConvertError& e) {
        outcome.error = e.Message();
    }
    return outcome;
}

// A library of records in every form the reader must find: the marker in
// any case, names with credits, name lines cut by lone LFs or longer than
// the credit cut, long free-text lines (read past in bulk) and data lines.
QByteArray RandomLibrary(QRandomGenerator& random)
{
    static const char* const kMarkers[] = {"/NAME", "/name", "/NaMe", "/NAMES", "x/NAME"};
    static const char* const kNames[] = {"Neon", "neon", "NEON X", "Argon", "Ar gon", "Methane", "M"};
    static const char* const kEnds[] = {"\r\n", "\r", "\n", "\r\n"};
    QByteArray text;
    const int records = random.bounded(1, 12);
    for (int r = 0; r < records; ++r) {
        auto end = [&] { return QByteArray(kEnds[random.bounded(4)]); };
        const int filler = random.bounded(4);
        for (int f = 0; f < filler; ++f)
            text += QByteArray(random.bounded(200), 'a' + char(random.bounded(26))) + end();
        text += kMarkers[random.bounded(5)] + end();
        QByteArray name = kNames[random.bounded(7)];
        if (random.bounded(4) == 0)
            name.insert(random.bounded(name.size() + 1), '\n');
        QByteArray credit = " (by courtesy of someone";
        if (random.bounded(3) == 0)
            credit += QByteArray(random.bounded(200, 400), '.') + " tail " + kNames[random.bounded(7)];
        if (random.bounded(4) == 0) {
            // The credit cut joins the name's two parts: the cut takes
            // "(by courtesy" and the 254 bytes after it.
            const qsizetype split = random.bounded(name.size() + 1);
            text += name.left(split) + "(by courtesy" + QByteArray(243, '.') + name.mid(split) + end();
        } else {
            text += QByteArray(random.bounded(3), ' ') + name + credit + ")" + end();
        }
        for (int f = 0; f < 3; ++f)
            text += QByteArray(random.bounded(100), 'f') + end();
        const int data = random.bounded(4);
        for (int d = 0; d < data; ++d)
            text += (random.bounded(10) == 0 ? QByteArray("  1x.0   3.0") : QByteArray("   14.0  100.0   15.0   85.5")) + end();
        if (random.bounded(5) != 0)
            text += "/PHYSP" + end();
    }
    return text;
}

} // namespace

// The window reads with a line hook, a read without one passes over lines
// in bulk: both must list the same substances and load the same spectra.
TEST_F(SpectrumLibraryTest, ReadsWithAndWithoutTheLineHookAgree)
{
    QRandomGenerator random(20261208);
    for (int round = 0; round < 400; ++round) {
        const QByteArray content = RandomLibrary(random);
        SCOPED_TRACE(content.toStdString());
        library.SetContent(content);
        library.OnLineRead = nullptr;
        const QStringList quiet = library.SubstanceNames();
        int hookCalls = 0;
        library.OnLineRead = [&] { ++hookCalls; };
        ASSERT_EQ(library.SubstanceNames(), quiet);
        ASSERT_GT(hookCalls, 0);

        QStringList tried = quiet;
        tried << "Neon" << "NEON" << "Ar" << "tail Neon" << "Methane";
        for (const QString& name : tried) {
            library.OnLineRead = [] {};
            const TLoadOutcome withHook = LoadOutcome(library, name, matrix);
            library.OnLineRead = nullptr;
            ASSERT_EQ(LoadOutcome(library, name, matrix), withHook) << name.toStdString();
        }
    }
}
