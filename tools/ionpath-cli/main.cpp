// ionpath-cli: the simulation for worksheets and scripts (see CliCommands.h).
#include "CliCommands.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

namespace {

bool PlatformGiven(int argc, char** argv)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}

// Qt's own notes (a missing runtime folder, font fall-backs) are not for the
// scripts that read this tool's output; real failures still come through.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    // The charts are drawn off the screen: the tool needs no display.
    if (!PlatformGiven(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtNotes);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ionpath-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    int status = RunCli(QApplication::arguments(), out, err);
    // Output that did not arrive (a full disk, a closed pipe) is a failure,
    // not a result: a script must not take a cut-short spectrum for one.
    out.flush();
    if (out.status() != QTextStream::Ok || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        err << "ionpath-cli: the output could not be written\n";
        if (status == 0)
            status = kExitFailure;
    }
    err.flush();
    return status;
}
