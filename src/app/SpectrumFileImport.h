#pragma once
// Spectra from other collections' files (MassBank, MSP, JCAMP-DX) into the
// user's spectrum library: each record becomes a library record that reads
// like the shipped ones, with its authors, source and licence on the name
// line and in the notes.
//
// An import is all or nothing for the library: every new record of every
// file goes in with one write of the whole file, or, when that write fails,
// none does. A record the library already holds (the same name and the
// same lines) is not written twice; one of the same name with other lines
// is imported under a name of its own ("Benzene [MSBNK-XX-000002]"),
// because the library only ever loads the first record of a name.

#include "analysis/SpectrumImport.h"
#include "app/UserSpectrumLibrary.h"

#include <QString>
#include <QStringList>

// The library record of an imported spectrum:
//   name line  <Name> (by courtesy of <Authors>; <Format> record <Accession>; licence <Licence>)
//   notes      formula and source format; record and licence (and the
//              authors in full where the credit names only the first);
//              "N lines, m/z A to B; columns: mass, abundance in % of the base peak"
// A missing field is said to be missing ("authors not named", "licence not
// stated"). The credit keeps within the library's limit: a long list of
// authors is cut after a name and ends "et al.". "(by" in a name becomes
// "[by" (the library's names end at "(by"). Masses are kept to the 0.1 the
// library writes; lines that fall on one mass then keep the stronger.
TLibraryRecord ImportedRecord(const TImportedSpectrum& spectrum);

struct TImportReport {
    // One line per file, in the order given: "exampol.msp: 3 imported, 1
    // already in the library, 1 refused; line 12: \"abc\" is not a number".
    QStringList Lines;
    int Imported = 0;    // records written to the library
    int AlreadyThere = 0; // records the library already held
    int Refused = 0;     // records that could not be read
    int FailedFiles = 0; // files that could not be read or hold no spectra this program reads
    bool Written = true; // false: the library could not be written, nothing was imported
};

// Imports the files into the library (read afresh from its file first).
TImportReport ImportSpectrumFiles(TUserSpectrumLibrary& library, const QStringList& paths);
