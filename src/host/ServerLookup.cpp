#include "host/ServerLookup.h"

#include "host/Tutorix.h"
#include "i18n/Lexifer2000.h"
#include "support/Registry.h"

QString ServerSuffix(const QString& viewerHandle, const QStringList& arguments)
{
    if (!viewerHandle.isEmpty() && viewerHandle != QStringLiteral("00000000"))
        return viewerHandle;
    QString suffix = viewerHandle;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString lower = AsciiLower(arguments[i]);
        if (lower.startsWith(kServerHandleParam))
            suffix = lower.mid(kServerHandleParam.size());
    }
    return suffix;
}

QString ReadViewerHandle()
{
    return ReadRegistryString(rrLocalMachine, kDemonRegistryKey, kViewerHandleValue);
}

QString ServerWindowClassName(const QString& suffix)
{
    return kServerWindowClass + suffix;
}

QString ServerWindowName(const QString& suffix)
{
    return kServerWindowName + suffix;
}

QStringList ParamsFromCommandLine(const QStringList& arguments)
{
    QStringList params;
    for (const QString& argument : arguments)
        if (!argument.startsWith(kServerHandleParam, Qt::CaseSensitive))
            params.append(argument);
    return params;
}
