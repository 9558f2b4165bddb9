#include "ViewerHandle.h"

#include "host/Tutorix.h"
#include "support/Registry.h"

#include <QDir>
#include <QSettings>

namespace {

QString ValueKey()
{
    QString key = kDemonRegistryKey + u'\\' + kViewerHandleValue;
    key.replace(u'\\', u'/');
    while (key.startsWith(u'/'))
        key.remove(0, 1);
    return key;
}

} // namespace

TViewerHandlePublication::TViewerHandlePublication(QString suffix)
    : suffix_(std::move(suffix))
{
    published_ = Write(suffix_);
}

TViewerHandlePublication::~TViewerHandlePublication()
{
    if (published_ && ReadRegistryString(rrLocalMachine, kDemonRegistryKey, kViewerHandleValue) == suffix_)
        Write(QStringLiteral("00000000"));
}

QString TViewerHandlePublication::StorePath() const
{
    return RegistryDirectory() + QStringLiteral("/HKEY_LOCAL_MACHINE.ini");
}

bool TViewerHandlePublication::Write(const QString& value)
{
    if (!QDir().mkpath(RegistryDirectory()))
        return false;
    QSettings store(StorePath(), QSettings::IniFormat);
    // The registry ignores case: an existing spelling of the key is kept.
    QString key = ValueKey();
    const QStringList keys = store.allKeys();
    for (const QString& k : keys)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            key = k;
    store.setValue(key, value);
    store.sync();
    return store.status() == QSettings::NoError;
}
