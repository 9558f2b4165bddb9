#pragma once
// What a tool beside the main window may know of the instrument and do with
// it: read the substance, its lines, the voltage, the field and the recorded
// spectrum, and change them only as the window's own controls do. The
// Laboratory's pages see the window through this alone, so the window never
// knows the pages and the pages never reach into the window's widgets.

#include "analysis/LibrarySearch.h"
#include "analysis/SectorInstrument.h"
#include "app/SpectrumFileImport.h"
#include "support/SpectralLine.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

class TInstrumentLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QString SubstanceName() const = 0;
    // The substance's lines as the library holds them: masses, not m/z.
    virtual std::vector<TSpectralLine> SubstanceLines() const = 0;
    virtual int Voltage() const = 0;       // V
    virtual int FieldPosition() const = 0; // tenths of a millitesla
    // The sticks the spectrum chart holds, at m/z, in the order recorded;
    // none with a slit or a plate, whose recordings are no sticks.
    virtual std::vector<TSpectralLine> RecordedLines() const = 0;
    // The slit's samples of the last scan, by rising field.
    virtual const std::vector<TTraceSample>& RecordedTrace() const = 0;

    // The detector and the beam (classic unless a tool set another). Setting
    // them clears the recorded spectrum; ignored during a scan.
    virtual const TInstrumentSettings& Detector() const = 0;
    virtual void SetDetector(const TInstrumentSettings& settings) = 0;
    virtual bool Scanning() const = 0;

    // In a class exercise the substances go by "Sample A" ...:
    // SubstanceName() is the sample's, RevealedName() the real one.
    virtual bool InExercise() const = 0;
    virtual QString RevealedName() const = 0;

    // The ions' charge, 1 to 3; 1 unless a tool set another. Setting it
    // clears the recorded spectrum (its sticks stand at the old m/z) and
    // draws the paths anew.
    virtual int Charge() const = 0;
    virtual void SetCharge(int charge) = 0;

    // Every substance the program knows with its lines, shipped ones first,
    // then the user's (none in an exercise or without the user's library):
    // what a recorded spectrum is compared with.
    virtual std::vector<TLibrarySpectrum> LibrarySpectra() = 0;

    // False when the program runs without the user's library.
    virtual bool HasUserLibrary() const = 0;
    // Appends a record (in the library's format) of the substance `name` to
    // the user's library, lists it in the selector and selects it. A user's
    // substance of that name (as the loader compares names) is selected
    // instead of being added twice. False with the reason when the library
    // could not be written; nothing is changed then.
    virtual bool AddUserSubstance(const QByteArray& record, const QString& name, QString* error) = 0;
    // The user's substances, in the selector's order.
    virtual QStringList UserSubstanceNames() const = 0;
    // Imports spectrum files into the user's library (app/SpectrumFileImport.h)
    // and lists what is new; the report says per file what became of it.
    virtual TImportReport ImportSpectra(const QStringList& paths) = 0;
    // Takes a substance out of the user's library (and the selector). False
    // with the reason when it is not there or the library cannot be written.
    virtual bool RemoveUserSubstance(const QString& name, QString* error) = 0;

signals:
    // Another substance was loaded (its lines, the recorded spectrum cleared).
    void SubstanceChanged();
    // A scan ended, or the recorded spectrum was cleared.
    void SpectrumChanged();
    // The voltage, the field or the charge moved.
    void SettingsChanged();
    // Substances were added to the user's library or taken out of it.
    void UserLibraryChanged();
};
