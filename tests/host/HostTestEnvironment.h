#pragma once
// Each test gets its own runtime folder (endpoints and locks) and registry
// store, so tests running side by side never see each other's windows and a
// host running on the machine is never found.

#include "support/Registry.h"

#include <QByteArray>
#include <QDir>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <sys/stat.h>

class THostTestEnvironment {
public:
    THostTestEnvironment()
        : oldRuntime_(qgetenv("XDG_RUNTIME_DIR")), oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldRegistry_(RegistryDirectory())
    {
        QDir().mkpath(RuntimeDir());
        chmod(RuntimeDir().toLocal8Bit().constData(), 0700);
        QDir().mkpath(ConfigDir());
        qputenv("XDG_RUNTIME_DIR", RuntimeDir().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", ConfigDir().toLocal8Bit());
        SetRegistryDirectory(ConfigDir() + QStringLiteral("/Ionpath/registry"));
    }
    ~THostTestEnvironment()
    {
        qputenv("XDG_RUNTIME_DIR", oldRuntime_);
        qputenv("XDG_CONFIG_HOME", oldConfig_);
        SetRegistryDirectory(oldRegistry_);
    }

    QString Root() const { return dir_.path(); }
    QString RuntimeDir() const { return dir_.path() + QStringLiteral("/run"); }
    QString ConfigDir() const { return dir_.path() + QStringLiteral("/config"); }
    QString EndpointDir() const { return RuntimeDir() + QStringLiteral("/ionpath/ipc"); }

    // The environment for programs the test starts.
    QProcessEnvironment ChildEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeDir());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), ConfigDir());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
#ifdef IONPATH_LSAN_SUPPRESSIONS
        // The programs are built with the sanitizers too; their leak check
        // skips the same system libraries as ours.
        env.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=" IONPATH_LSAN_SUPPRESSIONS));
#endif
        return env;
    }

private:
    QTemporaryDir dir_;
    QByteArray oldRuntime_;
    QByteArray oldConfig_;
    QString oldRegistry_;
};
