#include "app/Exercise.h"

#include "analysis/ExerciseDraw.h"

TExercise DrawExercise(const QStringList& shippedNames, const QString& seed)
{
    TExercise e;
    e.Seed = seed;
    for (const int i : DrawExerciseSamples(ExerciseSeed(seed), int(shippedNames.size()), kExerciseSamples))
        e.Substances.append(shippedNames.at(i));
    return e;
}

QString SampleLetter(int sample)
{
    return QString(QChar(u'A' + sample % 26));
}
