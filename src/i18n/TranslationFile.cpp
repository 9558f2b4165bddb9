#include "i18n/TranslationFile.h"

#include "i18n/Lexifer2000.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
        if (QFileInfo(localized).isFile())
            return localized;
    }
    const QString plain = dir.filePath(name);
    return QFileInfo(plain).isFile() ? plain : QString();
}

bool LoadTranslationFile(TLexifer2000& lexifer, const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    lexifer.LoadFromStream(file);
    return true;
}
