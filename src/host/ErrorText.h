#pragma once
// The system's text for the calling thread's last error (errno).

#include <QString>

// "(GetLastErrorString failed)" when the system has no text for it.
QString GetLastErrorString();
QString ErrorString(int errorCode);
