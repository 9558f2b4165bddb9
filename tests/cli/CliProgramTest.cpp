// The ionpath-cli program itself, started as a script starts it: without a
// display, from an unrelated folder, with its output going nowhere.
#include "app/SpectrumLibrary.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TRun {
    int status = -1;
    QByteArray out, err;
};

TRun Start(const QStringList& arguments, const QString& outputFile = {})
{
    QTemporaryDir folder; // an unrelated working folder
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // No display and no platform given: the tool chooses its own.
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=" IONPATH_LSAN_SUPPRESSIONS));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder.path());
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    p.start(QStringLiteral(IONPATH_CLI), arguments);
    TRun r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace

TEST(CliProgram, ListsTheLibraryBesideItselfWithoutADisplay)
{
    TSpectrumLibrary library;
    ASSERT_TRUE(library.Open(QStringLiteral(IONPATH_SHIPPED_LIBRARY)));
    const TRun r = Start({QStringLiteral("list")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out), library.SubstanceNames().join(QLatin1Char('\n')) + QLatin1Char('\n'));
    EXPECT_EQ(r.err, QByteArray());
}

TEST(CliProgram, OutputThatCannotBeWrittenIsAFailure)
{
    for (const QStringList& arguments : {QStringList{"list"}, QStringList{"scan", "Benzene", "--voltage", "5000"}}) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const TRun r = Start(arguments, QStringLiteral("/dev/full"));
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("ionpath-cli: the output could not be written")) << r.err.toStdString();
    }
    // A failure keeps its own status and message.
    const TRun unknown = Start({"lines", "Nothing"}, QStringLiteral("/dev/full"));
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains("unknown substance \"Nothing\""));
    const TRun usage = Start({"frobnicate"}, QStringLiteral("/dev/full"));
    EXPECT_EQ(usage.status, 2);
}
