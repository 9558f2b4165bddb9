#pragma once
// A class exercise: five substances of the shipped library, drawn by a seed
// the teacher gives (`ionpath --exercise SEED`, the host's `/exercise=SEED`,
// `ionpath-cli exercise --seed SEED`), shown to learners as "Sample A" to
// "Sample E". Only the shipped library is drawn from, so that the samples
// are the same on every machine whatever its users added.

#include <QString>
#include <QStringList>

constexpr int kExerciseSamples = 5;

struct TExercise {
    QString Seed;          // as given
    QStringList Substances; // the samples' real names, sample A first
};

// shippedNames: the shipped library's substance names in file order.
TExercise DrawExercise(const QStringList& shippedNames, const QString& seed);

// "A", "B", ... for sample 0, 1, ...
QString SampleLetter(int sample);
