// Imported spectra as records of the user's library: the record of one
// spectrum from each format, the credit within the library's limit, the
// import of several files with one write or none, and taking a record out.
#include "app/SpectrumFileImport.h"
#include "app/Substance.h"

#include "../analysis/ImportSamples.h"
#include "../TestFiles.h"
#include "../faults/AsOtherUser.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace import_samples;

namespace {

TImportedSpectrum Only(const QByteArray& content, const QString& file)
{
    const TImportResult r = ReadSpectrumFile(content, file);
    EXPECT_EQ(r.Spectra.size(), 1u);
    EXPECT_TRUE(r.Refusals.empty());
    return r.Spectra.empty() ? TImportedSpectrum() : r.Spectra.front();
}

// The record's lines of the file: name line, notes, columns.
QList<QByteArray> RecordLines(const TLibraryRecord& record)
{
    return FormatLibraryRecord(record).split('\n');
}

} // namespace

TEST(SpectrumFileImport, OneSpectrumInThreeFormatsIsOneLibraryRecord)
{
    // The columns by the library's rule (mass to 0.1, abundance with as
    // many decimals as fit six characters), written out by hand.
    const QList<QByteArray> columns = {
        "   14.0 3.0000   15.0 12.000   16.0 0.5000   27.0 9.0000   28.0 6.0000\r",
        "   29.0 23.000   30.0 4.0000   31.0 100.00   32.0 1.0000   45.0 51.000\r",
        "   46.0 22.000\r",
        "/PHYSP\r",
    };
    struct Case {
        QByteArray Content;
        const char* File;
        const char* NameLine;
        const char* Notes[3];
    } cases[] = {
        {kMassBank, "probanol.txt",
         "Probanol (by courtesy of Doe J, Roe R, Teaching Lab; MassBank record XY012345; licence CC BY-SA)\r",
         {"C2H6O, mass spectrum imported from MassBank\r", "Record: MassBank XY012345; licence: CC BY-SA\r",
          "11 lines (of 13 listed), m/z 14 to 46; columns: mass, abundance in % of the base peak\r"}},
        {kMsp, "probanol.msp",
         "Probanol (by courtesy of authors not named; MSP record XY012345; licence not stated)\r",
         {"C2H6O, mass spectrum imported from MSP\r", "Record: MSP XY012345; licence: not stated\r",
          "11 lines (of 15 listed), m/z 14 to 46; columns: mass, abundance in % of the base peak\r"}},
        {kJcamp, "probanol.jdx",
         "Probanol (by courtesy of Teaching Lab, owner Doe J; JCAMP-DX record; licence not stated)\r",
         {"C2H6O, mass spectrum imported from JCAMP-DX\r", "Record: JCAMP-DX (no accession); licence: not stated\r",
          "11 lines (of 36 listed), m/z 14 to 46; columns: mass, abundance in % of the base peak\r"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        const QList<QByteArray> lines = RecordLines(ImportedRecord(Only(c.Content, QString::fromLatin1(c.File))));
        ASSERT_EQ(lines.size(), 11); // ten lines, each ending in CR LF
        EXPECT_EQ(lines[1], c.NameLine);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(lines[2 + i], c.Notes[i]);
        EXPECT_EQ(lines.mid(5, 4), columns);
    }
}

TEST(SpectrumFileImport, TheCreditKeepsWithinTheLibrarysLimit)
{
    TImportedSpectrum s = Only(kMassBank, QStringLiteral("probanol.txt"));
    s.Name = QStringLiteral("Probanol (by GC) \u00e9thyl");
    QStringList authors;
    for (int i = 1; i <= 40; ++i)
        authors << QStringLiteral("M\u00fcller%1 A").arg(i);
    s.Authors = authors.join(QStringLiteral(", "));
    const TLibraryRecord record = ImportedRecord(s);
    // Whole names from the front, then "et al."; the notes name them all.
    EXPECT_TRUE(record.Credit.startsWith(QStringLiteral("M\u00fcller1 A, M\u00fcller2 A, "))) << record.Credit.toStdString();
    EXPECT_TRUE(record.Credit.endsWith(QStringLiteral(" A et al.; MassBank record XY012345; licence CC BY-SA")))
        << record.Credit.toStdString();
    EXPECT_LE(QStringLiteral("(by courtesy of %1)").arg(record.Credit).toUtf8().size(), 255);
    EXPECT_GT(QStringLiteral("(by courtesy of %1)").arg(record.Credit).toUtf8().size(), 200) << "as much as fits";
    EXPECT_TRUE(record.Notes[1].endsWith(QStringLiteral("; authors: ") + s.Authors));
    EXPECT_EQ(record.Name, QStringLiteral("Probanol [by GC] \u00e9thyl"));

    // The library finds the record by that name and gives back its lines.
    TSpectrumLibrary library;
    library.SetContent(FormatLibraryRecord(record));
    EXPECT_EQ(library.SubstanceNames(), QStringList{record.Name});
    const std::optional<TSubstance> loaded = LoadSubstance(library, record.Name);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Lines.size(), kProbanolLines.size());

    // A record number and licence of any length still leave a name.
    s.Accession = QString(300, QLatin1Char('X'));
    s.Licence = QString(300, QLatin1Char('L'));
    const TLibraryRecord huge = ImportedRecord(s);
    EXPECT_NO_THROW(FormatLibraryRecord(huge));
    EXPECT_TRUE(huge.Credit.startsWith(QStringLiteral("M\u00fcller1 A"))) << huge.Credit.toStdString();
    EXPECT_TRUE(huge.Notes[1].contains(s.Licence));
}

namespace {

// A user library in a folder of its own, and files to import beside it.
class TImportFolder {
public:
    QString LibraryPath() const { return dir_.filePath(QStringLiteral("data/ionpath/user_spectra.tra")); }
    QString File(const QString& name, const QByteArray& bytes) const
    {
        const QString path = dir_.filePath(name);
        WriteTestFile(path, bytes);
        return path;
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace

TEST(SpectrumFileImport, FilesGoInTogetherAndNothingTwice)
{
    TImportFolder folder;
    const QString msp = folder.File(QStringLiteral("probanol.msp"),
                                    kMsp + "\nName: Other\nNum Peaks: 2\n20 10\n21 zz\n\nName: Second\nNum Peaks: 1\n22 5\n");
    const QString txt = folder.File(QStringLiteral("probanol.txt"), kMassBank);
    const QString notes = folder.File(QStringLiteral("notes.txt"), "Just notes.\n");
    const QString missing = folder.Path(QStringLiteral("missing.jdx"));
    TUserSpectrumLibrary library(folder.LibraryPath());

    const TImportReport first = ImportSpectrumFiles(library, {msp, txt, notes, missing});
    EXPECT_EQ(first.Lines, (QStringList{
                               msp + QStringLiteral(": 2 imported, 1 refused; line 17: \"zz\" is not a number"),
                               // The same spectrum from MassBank: its name and its lines.
                               txt + QStringLiteral(": 0 imported, 1 already in the library"),
                               notes + QStringLiteral(": not a spectrum file this program reads (a MassBank record, "
                                                      "MSP text or JCAMP-DX)"),
                               missing + QStringLiteral(": the file does not exist"),
                           }));
    EXPECT_EQ(first.Imported, 2);
    EXPECT_EQ(first.AlreadyThere, 1);
    EXPECT_EQ(first.Refused, 1);
    EXPECT_EQ(first.FailedFiles, 2);
    EXPECT_TRUE(first.Written);
    EXPECT_EQ(library.SubstanceNames(), (QStringList{"Probanol", "Second"}));

    // Again: nothing new. The JCAMP-DX Probanol has the same lines too; one
    // of the name with other lines gets a name of its own.
    const QString jdx = folder.File(QStringLiteral("probanol.jdx"), kJcamp);
    const QString other = folder.File(QStringLiteral("other.msp"), "Name: probanol\nDB#: QQ7\nNum Peaks: 1\n50 1\n");
    const QByteArray before = ReadTestFile(folder.LibraryPath());
    const TImportReport again = ImportSpectrumFiles(library, {msp, jdx, other});
    EXPECT_EQ(again.Lines, (QStringList{
                               msp + QStringLiteral(": 0 imported, 2 already in the library, 1 refused; line 17: \"zz\" "
                                                    "is not a number"),
                               jdx + QStringLiteral(": 0 imported, 1 already in the library"),
                               other + QStringLiteral(": 1 imported; line 1: \"probanol\" is in the library with other "
                                                      "lines, imported as \"probanol [QQ7]\""),
                           }));
    EXPECT_TRUE(ReadTestFile(folder.LibraryPath()).startsWith(before));
    EXPECT_EQ(library.SubstanceNames(), (QStringList{"Probanol", "Second", "probanol [QQ7]"}));
}

TEST(SpectrumFileImport, ALibraryThatCannotBeWrittenTakesNothing)
{
    TImportFolder folder;
    // A regular file where the library's folder would have to be.
    WriteTestFile(folder.Path(QStringLiteral("data")), "in the way");
    const QString msp = folder.File(QStringLiteral("probanol.msp"), kMsp);
    const QString jdx = folder.File(QStringLiteral("second.jdx"), QByteArray(kJcamp).replace("Probanol", "Second"));
    TUserSpectrumLibrary library(folder.LibraryPath());
    const TImportReport report = ImportSpectrumFiles(library, {msp, jdx});
    EXPECT_FALSE(report.Written);
    EXPECT_EQ(report.Imported, 0);
    ASSERT_EQ(report.Lines.size(), 2);
    for (const QString& line : report.Lines)
        EXPECT_TRUE(line.contains(QStringLiteral(": nothing imported, the spectrum library could not be written: "
                                                 "Nothing was added to")))
            << line.toStdString();
    EXPECT_EQ(ReadTestFile(folder.Path(QStringLiteral("data"))), QByteArray("in the way"));
    EXPECT_TRUE(library.SubstanceNames().isEmpty());
}

TEST(SpectrumFileImport, RemoveTakesOutOneRecordsBytes)
{
    TImportFolder folder;
    const auto record = [](const char* name) {
        return FormatLibraryRecord({QString::fromLatin1(name), QStringLiteral("the test"), {}, {{14, 100}}});
    };
    const QByteArray head = "A library of three\r\n\r\n";
    QDir().mkpath(QFileInfo(folder.LibraryPath()).path());
    WriteTestFile(folder.LibraryPath(), head + record("Alpha") + record("Beta") + record("Gamma"));
    TUserSpectrumLibrary library(folder.LibraryPath());
    ASSERT_TRUE(library.Load());

    QString error;
    EXPECT_TRUE(library.Remove(QStringLiteral(" BETA "), &error)) << error.toStdString();
    EXPECT_EQ(ReadTestFile(folder.LibraryPath()), head + record("Alpha") + record("Gamma"));
    EXPECT_EQ(library.SubstanceNames(), (QStringList{"Alpha", "Gamma"}));
    EXPECT_TRUE(library.Remove(QStringLiteral("Gamma"), &error));
    EXPECT_EQ(ReadTestFile(folder.LibraryPath()), head + record("Alpha"));

    EXPECT_FALSE(library.Remove(QStringLiteral("Beta"), &error));
    EXPECT_EQ(error, QStringLiteral("\"Beta\" is not in \"%1\".").arg(folder.LibraryPath()));
    EXPECT_EQ(ReadTestFile(folder.LibraryPath()), head + record("Alpha"));

    // A folder the user may not write in: the file stays as it was.
    const QString ionpath = QFileInfo(folder.LibraryPath()).path();
    const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder.Path(QStringLiteral(".")), open));
    ASSERT_TRUE(QFile::setPermissions(QFileInfo(ionpath).path(), open));
    ASSERT_TRUE(QFile::setPermissions(ionpath, readOnly));
    ASSERT_TRUE(QFile::setPermissions(folder.LibraryPath(), QFile::ReadOwner | QFile::ReadOther));
    const TChildResult child = RunAsOtherUser([&] {
        TUserSpectrumLibrary user(folder.LibraryPath());
        QString why;
        const bool removed = user.Remove(QStringLiteral("Alpha"), &why);
        return QStringLiteral("%1|%2").arg(removed).arg(why);
    });
    ASSERT_TRUE(child.ran);
    EXPECT_TRUE(child.text.startsWith(QStringLiteral("0|Nothing was removed from \"%1\": ").arg(folder.LibraryPath())))
        << child.text.toStdString();
    ASSERT_TRUE(QFile::setPermissions(ionpath, open));
    EXPECT_EQ(ReadTestFile(folder.LibraryPath()), head + record("Alpha"));
}
