#include "host/ErrorText.h"

#include <cerrno>
#include <cstring>

namespace {
// strerror_r comes in two forms: the GNU one returns the text, the POSIX one
// fills the buffer and returns 0.
[[maybe_unused]] const char* Text(char* result, const char*) { return result; }
[[maybe_unused]] const char* Text(int result, const char* buffer) { return result == 0 ? buffer : nullptr; }
} // namespace

QString ErrorString(int errorCode)
{
    char buffer[256] = {};
    const char* text = Text(strerror_r(errorCode, buffer, sizeof buffer), buffer);
    if (!text || !*text)
        return QStringLiteral("(GetLastErrorString failed)");
    return QString::fromLocal8Bit(text);
}

QString GetLastErrorString()
{
    return ErrorString(errno);
}
