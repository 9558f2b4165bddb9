// The user's spectrum library: records in the shipped library's format that
// the library's own reader gives back, where the file is kept, and what
// happens to it when the disk, the file or a record does not cooperate.
#include "app/Substance.h"
#include "app/UserSpectrumLibrary.h"
#include "support/Errors.h"

#include "../TestFiles.h"
#include "../faults/AsOtherUser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TLibraryRecord Simple(const QString& name, std::vector<TSpectralLine> lines = {{18, 100}, {17, 21}})
{
    return {name, QStringLiteral("the test"), {QStringLiteral("note")}, std::move(lines)};
}

QByteArray Formatted(const QString& name)
{
    return FormatLibraryRecord(Simple(name));
}

// An environment variable set for one test and put back afterwards.
class TEnvironment {
public:
    TEnvironment(const char* name, const char* value) : name_(name), had_(qEnvironmentVariableIsSet(name))
    {
        old_ = qgetenv(name);
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~TEnvironment()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

const QFile::Permissions kOpenFolder =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
    QFile::ExeOther;

} // namespace

// The columns written by hand from the rule: the mass with one decimal; the
// abundance with as many decimals as fit six characters (a blank stays
// before it), seven when six keep fewer than three significant digits.
//   100     -> "100.00" (6)          0.298   -> "0.2980" (6)
//   10.22   -> "10.220" (6)          0.0123  -> "0.0123" (6, 3 digits)
//   0.00123 -> "0.0012" keeps 2 digits, so "0.00123" (7, no blank before)
//   1234.5  -> "1234.5" (6)
// Five pairs to a line; the missing third note is an empty line.
TEST(UserSpectrumLibrary, FormatsARecordInTheLibrarysColumns)
{
    const TLibraryRecord r{QStringLiteral("Test gas"),
                           QStringLiteral("the test"),
                           {QStringLiteral("first note"), QStringLiteral("second note")},
                           {{20, 100}, {21, 0.298}, {22, 10.22}, {36, 0.0123}, {38, 0.00123}, {40, 1234.5}}};
    EXPECT_EQ(FormatLibraryRecord(r).toStdString(),
              "/NAME\r\n"
              "Test gas (by courtesy of the test)\r\n"
              "first note\r\n"
              "second note\r\n"
              "\r\n"
              "   20.0 100.00   21.0 0.2980   22.0 10.220   36.0 0.0123   38.00.00123\r\n"
              "   40.0 1234.5\r\n"
              "/PHYSP\r\n"
              "\r\n");
}

// What the shipped library's reader makes of formatted records: the names in
// the selector, the lines of each, small abundances to three significant
// digits (the column rounds them to at most half a unit of the third digit,
// 0.5 % of the value).
TEST(UserSpectrumLibrary, FormattedRecordsReadBackThroughTheLibrary)
{
    const std::vector<TLibraryRecord> records = {
        {QStringLiteral("Chloromethane (isotope pattern)"),
         QStringLiteral("the calculator"),
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
         {{50, 100}, {51, 1.1364}, {52, 31.98}, {53, 0.35437}, {54, 0.012345}}},
        {QStringLiteral("Wasser-Dampf ü"), QStringLiteral("the test"), {}, {{18, 100}, {19, 0.0012345}, {20, 0.2049}}},
        {QStringLiteral("Heavy"),
         QStringLiteral("the test"),
         {},
         {{99999.9, 100}, {7, 1234567}, {1, 0.001}, {2, 0.5}, {3, 3}, {4, 4}, {5, 5}}},
    };
    QByteArray content = "Header text of the file\r\n\r\n";
    for (const TLibraryRecord& r : records)
        content += FormatLibraryRecord(r);
    TSpectrumLibrary library;
    library.SetContent(content);
    ASSERT_EQ(library.SubstanceNames(),
              (QStringList{records[0].Name, records[1].Name, records[2].Name}));
    for (const TLibraryRecord& r : records) {
        SCOPED_TRACE(r.Name.toStdString());
        const std::optional<TSubstance> s = LoadSubstance(library, r.Name);
        ASSERT_TRUE(s);
        ASSERT_EQ(s->Lines.size(), r.Lines.size());
        std::vector<TSpectralLine> expected = r.Lines;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const TSpectralLine& a, const TSpectralLine& b) { return a.Abundance < b.Abundance; });
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(s->Lines[i].Mass, expected[i].Mass);
            EXPECT_NEAR(s->Lines[i].Abundance, expected[i].Abundance, expected[i].Abundance * 0.005)
                << "line " << expected[i].Mass;
        }
        // The loader's axis: the last mass read, truncated, plus 10.
        EXPECT_EQ(s->MassAxisEnd, std::trunc(r.Lines.back().Mass) + 10);
    }
}

TEST(UserSpectrumLibrary, WhatTheFormatCannotHoldIsRefusedWithTheReason)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto with = [](std::vector<TSpectralLine> lines) { return Simple(QStringLiteral("Gas"), std::move(lines)); };
    TLibraryRecord fourNotes = Simple(QStringLiteral("Gas"));
    fourNotes.Notes = QStringList{"1", "2", "3", "4"};
    TLibraryRecord nameNote = Simple(QStringLiteral("Gas"));
    nameNote.Notes = QStringList{"/name of another"};
    TLibraryRecord longCredit = Simple(QStringLiteral("Gas"));
    // "(by courtesy of " (16) + 239 + ")" = 256 bytes: one more than the
    // reader cuts off the name line.
    longCredit.Credit = QString(239, QLatin1Char('c'));
    TLibraryRecord brokenCredit = Simple(QStringLiteral("Gas"));
    brokenCredit.Credit = QStringLiteral("two\nlines");
    struct Row {
        const char* what;
        TLibraryRecord record;
        const char* message;
    };
    const Row rows[] = {
        {"mass beyond the column", with({{99999.96, 100}}), "The mass 100000.0 does not fit"},
        {"negative mass", with({{-1, 100}}), "a mass is a number from 0 up"},
        {"mass not a number", with({{nan, 100}}), "The mass nan cannot be stored"},
        // "0.00012" keeps two significant digits in seven characters
        {"abundance too small", with({{18, 0.000123}}), "The abundance 0.000123 does not fit the library's 7-character column with 3 significant digits"},
        {"abundance too large", with({{18, 12345678}}), "The abundance 12345678 does not fit"},
        {"negative abundance", with({{18, -0.5}}), "an abundance is a percentage from 0 up"},
        {"infinite abundance", with({{18, std::numeric_limits<double>::infinity()}}), "The abundance inf cannot be stored"},
        {"too many lines", with(std::vector<TSpectralLine>(501, TSpectralLine{18, 1})), "\"Gas\" has 501 lines; the spectrum library keeps at most 500"},
        {"no name", Simple(QStringLiteral("  ")), "needs a name"},
        {"name with (by", Simple(QStringLiteral("Gas (by me)")), "cannot hold \"(by\""},
        {"name of two lines", Simple(QStringLiteral("Gas\r\nX")), "must be one line each"},
        {"credit of two lines", brokenCredit, "must be one line each"},
        {"four notes", fourNotes, "has 4 notes lines; it holds 3"},
        {"note that starts a record", nameNote, "cannot begin with \"/NAME\""},
        {"credit too long", longCredit, "is too long: 256 bytes, at most 255"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        try {
            FormatLibraryRecord(r.record);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(r.message))) << e.Message().toStdString();
        }
    }
    // The edges that still fit: seven characters of mass, 239 - 1 of credit.
    longCredit.Credit.chop(1);
    EXPECT_NO_THROW(FormatLibraryRecord(longCredit));
    EXPECT_NO_THROW(FormatLibraryRecord(with({{99999.9, 100}, {1, 0.001}})));
    EXPECT_NO_THROW(FormatLibraryRecord(with(std::vector<TSpectralLine>(500, TSpectralLine{18, 1}))));
}

TEST(UserSpectrumLibrary, DefaultPathFollowsTheXdgRules)
{
    TEnvironment home("HOME", "/home/learner");
    struct Row {
        const char* xdgDataHome; // nullptr: unset
        const char* path;
    };
    const Row rows[] = {
        {"/data/share", "/data/share/ionpath/user_spectra.tra"},
        {"/data/share/", "/data/share/ionpath/user_spectra.tra"},
        {nullptr, "/home/learner/.local/share/ionpath/user_spectra.tra"},
        {"", "/home/learner/.local/share/ionpath/user_spectra.tra"},
        // a relative path is to be ignored
        {"relative/share", "/home/learner/.local/share/ionpath/user_spectra.tra"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.xdgDataHome ? r.xdgDataHome : "(unset)");
        TEnvironment xdg("XDG_DATA_HOME", r.xdgDataHome);
        EXPECT_EQ(DefaultUserLibraryPath().toStdString(), r.path);
        EXPECT_EQ(TUserSpectrumLibrary().Path().toStdString(), r.path);
    }
}

TEST(UserSpectrumLibrary, AMissingFileIsAnEmptyLibrary)
{
    QTemporaryDir dir;
    TUserSpectrumLibrary user(dir.filePath(QStringLiteral("no/such/user_spectra.tra")));
    QString error = QStringLiteral("untouched");
    EXPECT_TRUE(user.Load(&error));
    EXPECT_EQ(error, QStringLiteral("untouched"));
    EXPECT_EQ(user.SubstanceNames(), QStringList());
}

// Append creates the folders and the file, and adds to the file as it is
// on the disk at the time, byte for byte.
TEST(UserSpectrumLibrary, AppendCreatesTheFileAndAddsToIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("share/ionpath/user_spectra.tra"));
    TUserSpectrumLibrary user(path);
    ASSERT_TRUE(user.Load());
    QString error = QStringLiteral("untouched");
    ASSERT_TRUE(user.Append(Formatted(QStringLiteral("Water")), &error)) << error.toStdString();
    EXPECT_EQ(error, QString());
    EXPECT_EQ(user.SubstanceNames(), QStringList{QStringLiteral("Water")});
    const QByteArray first = ReadTestFile(path);
    EXPECT_TRUE(first.endsWith(Formatted(QStringLiteral("Water"))));

    // Another copy of the program adds a record meanwhile; it is kept.
    WriteTestFile(path, first + Formatted(QStringLiteral("Argon")));
    ASSERT_TRUE(user.Append(Formatted(QStringLiteral("Neon")) + Formatted(QStringLiteral("Xenon")), &error));
    EXPECT_EQ(ReadTestFile(path), first + Formatted(QStringLiteral("Argon")) + Formatted(QStringLiteral("Neon")) +
                              Formatted(QStringLiteral("Xenon")));
    EXPECT_EQ(user.SubstanceNames(), (QStringList{"Water", "Argon", "Neon", "Xenon"}));
    const std::optional<TSubstance> neon = LoadSubstance(user.Library(), QStringLiteral("Neon"));
    ASSERT_TRUE(neon);
    EXPECT_EQ(neon->Lines.size(), 2u);

    // A file edited by hand whose last line has no line end: the new record
    // still begins on a line of its own.
    WriteTestFile(path, "/NAME\r\nOld (by courtesy of me)\r\n\r\n\r\n\r\n   40.0  100.0\r\n/PHYSP");
    ASSERT_TRUE(user.Append(Formatted(QStringLiteral("New")), &error));
    EXPECT_EQ(user.SubstanceNames(), (QStringList{"Old", "New"}));
}

TEST(UserSpectrumLibrary, AFileThatVanishedBeforeAppendCountsAsEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("user_spectra.tra"));
    WriteTestFile(path, Formatted(QStringLiteral("Water")));
    TUserSpectrumLibrary user(path);
    ASSERT_TRUE(user.Load());
    ASSERT_EQ(user.SubstanceNames(), QStringList{QStringLiteral("Water")});
    ASSERT_TRUE(QFile::remove(path));
    QString error;
    ASSERT_TRUE(user.Append(Formatted(QStringLiteral("Neon")), &error)) << error.toStdString();
    EXPECT_EQ(user.SubstanceNames(), QStringList{QStringLiteral("Neon")});
    EXPECT_FALSE(ReadTestFile(path).contains("Water"));
}

// A damaged record is named in the one report and left out; the others are
// offered, and its bytes stay in the file when records are added.
TEST(UserSpectrumLibrary, ADamagedRecordIsReportedAndKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("user_spectra.tra"));
    const QByteArray broken = "/NAME\r\nBroken (by courtesy of me)\r\n\r\n\r\n\r\n   14.0  100.0   1x.0   50.0\r\n/PHYSP\r\n";
    const QByteArray orphan = "/NAME\r\nOrphan (from nowhere)\r\n\r\n\r\n\r\n   14.0  100.0\r\n/PHYSP\r\n";
    const QByteArray bytes = Formatted(QStringLiteral("Water")) + broken + orphan + Formatted(QStringLiteral("Argon"));
    WriteTestFile(path, bytes);
    TUserSpectrumLibrary user(path);
    QString error;
    EXPECT_FALSE(user.Load(&error));
    EXPECT_EQ(user.SubstanceNames(), (QStringList{"Water", "Argon"}));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("\"Broken\" ('   1x.0' is not a valid floating point value)")))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("a record without a name"))) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("Water")));

    error.clear();
    ASSERT_TRUE(user.Append(Formatted(QStringLiteral("Neon")), &error));
    EXPECT_EQ(ReadTestFile(path), bytes + Formatted(QStringLiteral("Neon")));
    EXPECT_EQ(user.SubstanceNames(), (QStringList{"Water", "Argon", "Neon"}));
    EXPECT_TRUE(error.contains(QStringLiteral("\"Broken\""))) << "the damage is still reported";
}

TEST(UserSpectrumLibrary, AFolderThatCannotBeMadeChangesNothing)
{
    QTemporaryDir dir;
    // A regular file where the folder would have to be.
    const QString inTheWay = dir.filePath(QStringLiteral("share"));
    WriteTestFile(inTheWay, "not a folder");
    const QString path = inTheWay + QStringLiteral("/ionpath/user_spectra.tra");
    TUserSpectrumLibrary user(path);
    ASSERT_TRUE(user.Load());
    QString error;
    EXPECT_FALSE(user.Append(Formatted(QStringLiteral("Water")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Nothing was added to \"%1\"").arg(path))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("cannot be created"))) << error.toStdString();
    EXPECT_EQ(ReadTestFile(inTheWay), QByteArray("not a folder"));
    EXPECT_EQ(user.SubstanceNames(), QStringList());
}

// A folder the user may not write in and a file the user may not read
// (checked as another user where the tests run as root): Append fails with
// the reason, and the file and the library in memory stay as they were.
TEST(UserSpectrumLibrary, ReadOnlyFolderAndUnreadableFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), kOpenFolder));
    const QString folder = dir.filePath(QStringLiteral("ionpath"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/user_spectra.tra");
    const QByteArray bytes = Formatted(QStringLiteral("Water"));
    WriteTestFile(path, bytes);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                                  QFile::ReadOther | QFile::ExeOther));
    const TChildResult readOnly = RunAsOtherUser([&] {
        TUserSpectrumLibrary user(path);
        const bool loaded = user.Load();
        QString error;
        const bool appended = user.Append(Formatted(QStringLiteral("Neon")), &error);
        return QStringLiteral("%1 %2 %3|%4").arg(loaded).arg(appended).arg(user.SubstanceNames().join(u',')).arg(error);
    });
    ASSERT_TRUE(readOnly.ran);
    EXPECT_TRUE(readOnly.text.startsWith(QStringLiteral("1 0 Water|Nothing was added to \"%1\": ").arg(path)))
        << readOnly.text.toStdString();
    EXPECT_EQ(ReadTestFile(path), bytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("user_spectra.tra")}) << "no new file left";

    ASSERT_TRUE(QFile::setPermissions(folder, kOpenFolder));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner));
    const TChildResult unreadable = RunAsOtherUser([&] {
        TUserSpectrumLibrary user(path);
        QString loadError, appendError;
        const bool loaded = user.Load(&loadError);
        const bool appended = user.Append(Formatted(QStringLiteral("Neon")), &appendError);
        return QStringLiteral("%1 %2 %3|%4|%5")
            .arg(loaded)
            .arg(appended)
            .arg(user.SubstanceNames().size())
            .arg(loadError, appendError);
    });
    ASSERT_TRUE(unreadable.ran);
    EXPECT_TRUE(unreadable.text.startsWith(QStringLiteral("0 0 0|The file \"%1\" cannot be read: ").arg(path)))
        << unreadable.text.toStdString();
    EXPECT_TRUE(unreadable.text.contains(QStringLiteral("|Nothing was added to \"%1\": The file").arg(path)))
        << unreadable.text.toStdString();
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(ReadTestFile(path), bytes);
}
