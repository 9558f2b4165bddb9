#include "support/Registry.h"

#include "support/Errors.h"

#include <QFileInfo>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace {

QMutex gDirectoryMutex;
QString gDirectory;

QString RootName(quint32 rootKey)
{
    switch (rootKey) {
    case rrDefault:
    case rrCurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case rrClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case rrLocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case rrUsers: return QStringLiteral("HKEY_USERS");
    default: return {};
    }
}

// "\Software\Vendor\" -> "Software/Vendor"
QString NormalisedPath(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('/'));
}

#ifndef Q_OS_WIN
QVariant FindValue(QSettings& settings, const QString& keyPath, const QString& valueName)
{
    const QString key = NormalisedPath(keyPath);
    const QString wanted = valueName.isEmpty() ? key : (key.isEmpty() ? valueName : key + QLatin1Char('/') + valueName);
    if (wanted.isEmpty())
        return {};
    // The registry ignores case; QSettings on an INI file does not.
    const QStringList keys = settings.allKeys();
    for (const QString& k : keys)
        if (k.compare(wanted, Qt::CaseInsensitive) == 0)
            return settings.value(k);
    return {};
}
#endif

} // namespace

QString RegistryDirectory()
{
    QMutexLocker lock(&gDirectoryMutex);
    if (gDirectory.isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Ionpath/registry");
    return gDirectory;
}

void SetRegistryDirectory(const QString& directory)
{
    QMutexLocker lock(&gDirectoryMutex);
    gDirectory = directory;
}

QString ReadRegistryString(quint32 rootKey, const QString& keyPath, const QString& valueName)
{
    const QString root = RootName(rootKey);
    if (root.isEmpty())
        return {};
#ifdef Q_OS_WIN
    QSettings settings(root + QLatin1Char('\\') + NormalisedPath(keyPath).replace(QLatin1Char('/'), QLatin1Char('\\')),
                       QSettings::NativeFormat);
    const QVariant value = settings.value(valueName);
#else
    const QString file = RegistryDirectory() + QLatin1Char('/') + root + QStringLiteral(".ini");
    if (!QFileInfo::exists(file))
        return {};
    QSettings settings(file, QSettings::IniFormat);
    const QVariant value = FindValue(settings, keyPath, valueName);
#endif
    if (!value.isValid())
        return {};
    if (value.typeId() != QMetaType::QString)
        throw Exception(QStringLiteral("Invalid data type for '%1'").arg(valueName));
    return value.toString();
}
