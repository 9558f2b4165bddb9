// ionpath-cli import: spectrum files into the user's library, a line per
// file, and the exit status for files that cannot be read and a library
// that cannot be written.
#include "CliRun.h"
#include "app/UserSpectrumLibrary.h"

#include "../analysis/ImportSamples.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace import_samples;

namespace {

// A user data folder of one test (XDG_DATA_HOME), in force while it lives.
class TImportData {
public:
    TImportData() : old_(qgetenv("XDG_DATA_HOME")) { qputenv("XDG_DATA_HOME", dir_.filePath(QStringLiteral("data")).toUtf8()); }
    ~TImportData() { qputenv("XDG_DATA_HOME", old_); }

    QString File(const QString& name, const QByteArray& bytes) const
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

private:
    QTemporaryDir dir_;
    QByteArray old_;
};

} // namespace

TEST(CliImport, FilesGoIntoTheUsersLibrary)
{
    TImportData data;
    const QString msp = data.File(QStringLiteral("probanol.msp"), kMsp + "\nName: Broken\nNum Peaks: 1\n14 x\n");
    const QString jdx = data.File(QStringLiteral("second.jdx"), QByteArray(kJcamp).replace("Probanol", "Second"));
    const QString library = QDir::toNativeSeparators(DefaultUserLibraryPath());

    // A refused record is reported; the file was read, so the status is 0.
    const Result first = Cli({QStringLiteral("import"), msp, jdx});
    EXPECT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, QStringLiteral("%1: 1 imported, 1 refused; line 16: \"x\" is not a number\n"
                                        "%2: 1 imported\n"
                                        "2 imported in all into %3\n")
                             .arg(msp, jdx, library));
    const Result list = Cli({QStringLiteral("list")});
    EXPECT_TRUE(list.out.endsWith(QStringLiteral("\nProbanol\nSecond\n"))) << list.out.toStdString();
    const Result lines = Cli({QStringLiteral("lines"), QStringLiteral("Second")});
    EXPECT_TRUE(lines.out.startsWith(QStringLiteral("mass,abundance\n"))) << lines.out.toStdString();
    EXPECT_TRUE(lines.out.contains(QStringLiteral("\n31,100\n"))) << lines.out.toStdString();

    // A file that cannot be read fails the command; the rest is imported.
    const Result again = Cli({QStringLiteral("import"), msp, data.File(QStringLiteral("empty.jdx"), "")});
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_TRUE(again.out.contains(QStringLiteral(": 0 imported, 1 already in the library, 1 refused;")))
        << again.out.toStdString();
    EXPECT_TRUE(again.out.contains(QStringLiteral("empty.jdx: the file is empty\n"))) << again.out.toStdString();
    EXPECT_EQ(again.err, QStringLiteral("ionpath-cli: 1 of 2 files could not be read as spectrum files\n"));
}

TEST(CliImport, WhatImportRefuses)
{
    TImportData data;
    const QString msp = data.File(QStringLiteral("probanol.msp"), kMsp);
    struct Case {
        QStringList Arguments;
        int Status;
        const char* Err;
    } cases[] = {
        {{QStringLiteral("import")}, kExitUsage, "ionpath-cli: import: no file given\nTry 'ionpath-cli --help'.\n"},
        {{QStringLiteral("import"), msp, QStringLiteral("--no-user-library")},
         kExitUsage,
         "ionpath-cli: import adds to the user's own library, which --no-user-library leaves out\n"
         "Try 'ionpath-cli --help'.\n"},
        {{QStringLiteral("import"), msp, QStringLiteral("--voltage"), QStringLiteral("5000")},
         kExitUsage,
         "ionpath-cli: import does not take --voltage\nTry 'ionpath-cli --help'.\n"},
    };
    for (const Case& c : cases) {
        const Result r = Cli(c.Arguments);
        EXPECT_EQ(r.status, c.Status) << c.Arguments.join(u' ').toStdString();
        EXPECT_EQ(r.err, QString::fromUtf8(c.Err));
    }
    EXPECT_FALSE(QFile::exists(DefaultUserLibraryPath()));

    // The user data folder is a regular file: nothing can be written.
    const QString inTheWay = data.File(QStringLiteral("data"), "not a folder");
    const Result blocked = Cli({QStringLiteral("import"), msp});
    EXPECT_EQ(blocked.status, kExitFailure);
    EXPECT_TRUE(blocked.out.startsWith(msp + QStringLiteral(": nothing imported, the spectrum library could not be written")))
        << blocked.out.toStdString();
    EXPECT_TRUE(blocked.err.startsWith(QStringLiteral("ionpath-cli: nothing was imported"))) << blocked.err.toStdString();
    QFile f(inTheWay);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("not a folder"));
}
