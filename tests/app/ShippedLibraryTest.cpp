// The spectrum library that ships with the program: every substance it lists
// must load, and load its own spectrum, for the simulation to show it.
#include "app/SpectrumLibrary.h"
#include "support/Matrix.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString ShippedLibraryPath()
{
    // tests/app/ShippedLibraryTest.cpp -> data/ms_spec_sample.tra
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/") + TSpectrumLibrary::kFileName);
}

} // namespace

TEST(ShippedLibrary, EverySubstanceLoadsItsOwnSpectrum)
{
    TSpectrumLibrary library;
    QString error;
    ASSERT_TRUE(library.Open(ShippedLibraryPath(), &error)) << error.toStdString();
    const QStringList names = library.SubstanceNames();
    ASSERT_GE(names.size(), 50);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "a name is listed twice";

    TMatrix matrix;
    matrix.SetNrOfColumns(2);
    QSet<QString> spectra;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const TSpectrumLoad load = library.LoadSpectrum(name, matrix);
        ASSERT_TRUE(load.Found);
        ASSERT_GE(load.LineCount, 1);
        ASSERT_TRUE(load.MassAxisEnd());
        QString fingerprint;
        for (int row = 1; row <= load.LineCount; ++row) {
            const double mass = matrix.Cell(1, row);
            const double abundance = matrix.Cell(2, row);
            EXPECT_GT(mass, 0.0);
            EXPECT_LE(mass, *load.MassAxisEnd() - 10.0) << "a line beyond the end of the mass axis";
            EXPECT_GT(abundance, 0.0);
            EXPECT_LE(abundance, 100.0);
            if (row > 1) {
                EXPECT_LE(matrix.Cell(2, row - 1), abundance) << "not sorted by abundance";
            }
            fingerprint += QString::number(mass) + QLatin1Char(':') + QString::number(abundance) + QLatin1Char(' ');
        }
        EXPECT_EQ(matrix.Cell(2, load.LineCount), 100.0) << "the base peak is 100 %";
        spectra.insert(fingerprint);
    }
    // Each name reached its own record, not the first one that happens to match.
    EXPECT_EQ(spectra.size(), names.size());
}
