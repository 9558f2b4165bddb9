#pragma once
// How a client finds its host and which command-line parameters it keeps.

#include <QString>
#include <QStringList>

// The host's suffix: the registry value unless it is empty or "00000000";
// then the rest of the last parameter (0 excluded) that begins with
// "/serverhandle=" in any letter case, lower-cased; otherwise the registry
// value as it was.
QString ServerSuffix(const QString& viewerHandle, const QStringList& arguments);
// The registry value "ViewerHandle" of the host's key; empty when missing.
QString ReadViewerHandle();
QString ServerWindowClassName(const QString& suffix);
QString ServerWindowName(const QString& suffix);

// The command line without the parameters that begin with "/serverhandle="
// exactly (case-sensitive): those are for finding the host only. Entry 0,
// the program, is kept.
QStringList ParamsFromCommandLine(const QStringList& arguments);
