// Writing the collected translation file when the engine ends.
#include "i18n/Lexifer2000.h"

#include "support/Errors.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <cstdio>

namespace {

// Offscreen and minimal platforms have nobody to read a box (and a modal
// box there would hang a headless run).
bool HasWindowSystem()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void DefaultWriteFailureReport(const QString& message)
{
    if (HasWindowSystem()) {
        QMessageBox::critical(nullptr, QCoreApplication::applicationName(), message);
        return;
    }
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

std::function<void(const QString&)>& TLexifer2000::WriteFailureReport()
{
    static std::function<void(const QString&)> report = DefaultWriteFailureReport;
    return report;
}

QString ItlFileName(const QString& executableFileName)
{
    const QString name = QFileInfo(executableFileName).fileName();
    // A leading dot marks a hidden file, not an extension.
    if (name.lastIndexOf(u'.') <= 0)
        return name + QStringLiteral(".itl");
    return name.left(std::max<qsizetype>(0, name.size() - 3)) + QStringLiteral("itl");
}

void TLexifer2000::WriteItlFile(const QString& path) const
{
    QStringList entries = newEntries_;
    for (qsizetype i = 0; i < keys_.size(); ++i)
        entries.append(QLatin1Char('[') + keys_[i] + QStringLiteral("]=") + texts_[i] + QStringLiteral("|$$"));
    QString text;
    for (const QString& e : entries)
        text += e + QStringLiteral("\r\n");

    // A save file replaces an existing one only when the new one is complete,
    // so a failed write never leaves a translator with half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(EncodeText(text, encoding_)) < 0 || !file.commit())
        throw Exception(QStringLiteral("Cannot write the translation file \"%1\": %2").arg(path, file.errorString()));
}

TLexifer2000::~TLexifer2000()
{
    if (!autoCreateItlFile_)
        return;
    try {
        WriteItlFile(ItlFileName(QCoreApplication::applicationFilePath()));
    } catch (const Exception& e) {
        try {
            if (const auto& report = WriteFailureReport())
                report(e.Message());
        } catch (...) {
        }
    } catch (...) {
        try {
            if (const auto& report = WriteFailureReport())
                report(QStringLiteral("Cannot write the translation file."));
        } catch (...) {
        }
    }
}
