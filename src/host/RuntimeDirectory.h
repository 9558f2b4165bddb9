#pragma once
// The per-user folder that holds the message-window endpoints and the
// single-instance locks. It lives in the user's runtime directory
// ($XDG_RUNTIME_DIR, which the session manager gives only to this user and
// clears at logout), in "app/$FLATPAK_ID" under it inside a Flatpak sandbox,
// and in /tmp/ionpath-<uid> when no runtime directory is set.
//
// Every folder we make is created with mode 0700 and checked on each use:
// a real directory (not a symbolic link) owned by the effective user. A
// folder of ours with a wider mode is narrowed again.

#include <QString>

// "<base>/ionpath"; empty, with errno set, when it cannot be made safe.
QString HostRuntimeDirectory();
// "<base>/ionpath/ipc", the message-window endpoints.
QString EndpointDirectory();
// Creates the folder if needed (its parent must exist) and checks it as
// above; false with errno set (ELOOP for a link, ENOTDIR, EPERM for another
// owner) when it is not safe.
bool EnsurePrivateDirectory(const QString& path);
