#pragma once
// Read-only access to the registry: on Windows the native one, elsewhere an
// INI store with one file per root, <directory>/<ROOT NAME>.ini, whose keys
// are the key path with "/" between the parts:
//
//   HKEY_LOCAL_MACHINE.ini
//     [Software]
//     Quillon\meridor\demon\ViewerHandle=0000012A
//
// Key paths may be written with "\" or "/" and with or without a leading
// separator; names compare without regard to case, as in the registry.

#include <QString>
#include <QtGlobal>

// The registry root handles; 0 is the default root, the current user's hive.
enum TRegistryRoot : quint32 {
    rrDefault = 0,
    rrClassesRoot = 0x80000000u,
    rrCurrentUser = 0x80000001u,
    rrLocalMachine = 0x80000002u,
    rrUsers = 0x80000003u,
};

// The folder of the INI store (not used on Windows). By default the user's
// configuration folder, ".../Ionpath/registry"; tests point it elsewhere.
QString RegistryDirectory();
void SetRegistryDirectory(const QString& directory);

// The string value ValueName under KeyPath of RootKey; empty when the key or
// the value does not exist or the root is unknown. A value that is not text
// (a list, binary data) raises Exception "Invalid data type for 'ValueName'".
QString ReadRegistryString(quint32 rootKey, const QString& keyPath, const QString& valueName);
