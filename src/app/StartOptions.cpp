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

const QLatin1String kExerciseOption("--exercise"), kExerciseJoined("--exercise="), kHostExercise("/exercise=");

// The seed an argument gives on its own ("--exercise=7", "/Exercise=7").
std::optional<QString> JoinedSeed(const QString& a)
{
    if (a.startsWith(kExerciseJoined))
        return a.mid(kExerciseJoined.size());
    if (a.startsWith(kHostExercise, Qt::CaseInsensitive))
        return a.mid(kHostExercise.size());
    return std::nullopt;
}

} // namespace

TStartOptions StartOptionsFrom(const QStringList& arguments)
{
    TStartOptions o;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (IsClassic(a))
            o.Classic = true;
        else if (IsNoUserLibrary(a))
            o.UserLibrary = false;
        else if (const auto seed = JoinedSeed(a))
            o.ExerciseSeed = *seed;
        else if (a == kExerciseOption && i + 1 < arguments.size())
            o.ExerciseSeed = arguments[++i];
    }
    // The samples come from the shipped library alone, and a classic
    // instrument has no user's substances either.
    if (o.Classic || o.ExerciseSeed)
        o.UserLibrary = false;
    return o;
}

bool IsStartOption(const QStringList& arguments, int index)
{
    if (index < 0 || index >= arguments.size())
        return false;
    const QString& a = arguments[index];
    if (IsClassic(a) || IsNoUserLibrary(a) || JoinedSeed(a) || a == kExerciseOption)
        return true;
    return index > 0 && arguments[index - 1] == kExerciseOption;
}
