#pragma once
// The printable worksheet of a class exercise: one A4 page per sample with
// its mass spectrum, recorded by a whole field scan and drawn by the
// program's own spectrum chart, and room for the learner's answer. The
// samples' names are on no page (the teacher's key is printed apart).

#include "app/Exercise.h"
#include "app/lab/LaboratoryTexts.h"

#include <QImage>
#include <QString>

class TSpectrumLibrary;

// The voltage a sample's sheet is recorded at: 5000 V, the program's start
// value, or lower when the substance's heaviest line needs it.
int SheetVoltage(double heaviestMass);

// One page as a picture (for the screen and docs/): the page of `sample`
// without the margins, at `dotsPerInch`.
QImage ExerciseSheetPicture(const TExercise& exercise, int sample, TSpectrumLibrary& shipped,
                            const TTranslate& translate, int dotsPerInch = 100);

// Writes the sheet as a PDF file (whole or not at all). Throws Exception
// naming the file and the reason when it cannot be written or a sample
// cannot be loaded from the library.
void WriteExerciseSheet(const TExercise& exercise, TSpectrumLibrary& shipped, const QString& path,
                        const TTranslate& translate);
