#include "app/StartOptions.h"

namespace {

bool IsClassic(const QString& a)
{
    return a == QLatin1String("--classic") || a.compare(QLatin1String("/classic"), Qt::CaseInsensitive) == 0;
}

bool IsNoUserLibrary(const QString& a)
{
    return a == QLatin1String("--no-user-library");
}

} // namespace

TStartOptions StartOptionsFrom(const QStringList& arguments)
{
    TStartOptions o;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (IsClassic(arguments[i]))
            o.Classic = true;
        else if (IsNoUserLibrary(arguments[i]))
            o.UserLibrary = false;
    }
    if (o.Classic)
        o.UserLibrary = false;
    return o;
}

bool IsStartOption(const QString& argument)
{
    return IsClassic(argument) || IsNoUserLibrary(argument);
}
