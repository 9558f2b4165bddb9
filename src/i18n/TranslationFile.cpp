#include "i18n/TranslationFile.h"

#include "i18n/Lexifer2000.h"
#include "support/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool IsReadableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

} // namespace

QString FindTranslationFile(const QString& executablePath, const QStringList& uiLanguages)
{
    const QFileInfo exe(executablePath);
    const QDir dir = exe.absoluteDir();
    const QString name = ItlFileName(exe.fileName());
    const QString base = name.left(name.size() - 4); // without ".itl"
    for (const QString& language : uiLanguages) {
        const QString ll = AsciiLower(language.section(u'-', 0, 0).section(u'_', 0, 0));
        if (ll.isEmpty())
            continue;
        const QString localized = dir.filePath(base + u'.' + ll + QStringLiteral(".itl"));
        if (IsReadableFile(localized))
            return localized;
    }
    // A language file that cannot be read gives way to the plain one rather
    // than leaving the window with bare keys.
    const QString plain = dir.filePath(name);
    return IsReadableFile(plain) ? plain : QString();
}

bool LoadTranslationFile(TLexifer2000& lexifer, const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    // A read error (a failing disk, a vanished network share) is a file
    // that cannot be used, like one that cannot be opened: the window then
    // shows its texts without the key prefix instead of the program ending.
    try {
        lexifer.LoadFromStream(file);
    } catch (const Exception&) {
        return false;
    }
    return true;
}
