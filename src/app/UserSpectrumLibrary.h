#pragma once
// The user's own spectrum library: the substances a learner or teacher adds
// (isotope patterns from formulas, imported spectra), kept in a second file
// of the shipped library's format in the user's data folder and listed after
// the shipped substances.
//
// The file is only ever written whole: the new content goes to a new file
// beside it, which then replaces the old one, so a failure leaves the old
// file as it was. A record that cannot be read is reported and left out;
// its bytes stay in the file.

#include "app/SpectrumLibrary.h"
#include "support/SpectralLine.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// $XDG_DATA_HOME/ionpath/user_spectra.tra; with XDG_DATA_HOME unset, empty
// or not absolute, $HOME/.local/share/ionpath/user_spectra.tra.
QString DefaultUserLibraryPath();

// A substance's name as the loader compares it: outer blanks stripped, A to
// Z lower-cased. Two records with the same key are one substance to it.
QString LibraryNameKey(const QString& name);

// One record as the spectrum library holds it.
struct TLibraryRecord {
    QString Name;        // the selector's name: "CH3Cl (isotope pattern)"
    QString Credit;      // written after the name as "(by courtesy of <Credit>)"
    QStringList Notes;   // the three notes lines (fewer are padded with empty ones)
    std::vector<TSpectralLine> Lines;
};

// The record in the library's format, lines ending in CR LF: "/NAME", the
// name line, three notes lines, the pairs in 7-character columns (five
// pairs to a line), "/PHYSP" and an empty line. Throws Exception when a
// number does not fit its column or the record has more lines than the
// reader keeps (TSpectrumLibrary::kMaxLines).
QByteArray FormatLibraryRecord(const TLibraryRecord& record);

class TUserSpectrumLibrary {
public:
    explicit TUserSpectrumLibrary(QString path = DefaultUserLibraryPath());
    const QString& Path() const { return path_; }

    // Reads the file. A missing file is an empty library and no fault. False
    // when the file cannot be read or a record in it is damaged; `error` then
    // says which and why (for one report), and the readable records are
    // still offered.
    bool Load(QString* error = nullptr);

    // The names of the readable records, in file order.
    const QStringList& SubstanceNames() const { return names_; }
    // The library to load the substances from (TSpectrumLibrary::LoadSpectrum).
    TSpectrumLibrary& Library() { return library_; }

    // Appends records to the file as it is on the disk now (a vanished file
    // counts as empty), creating the folder when needed, and reads the result
    // back. False with the reason when the folder or file cannot be written
    // or the file cannot be read; the file is then as it was. True when the
    // records were added; `error` then holds the read-back's report on
    // damaged records already in the file, or is empty.
    bool Append(const QByteArray& records, QString* error = nullptr);

    // Takes the first record of the name (compared as LibraryNameKey does)
    // out of the file as it is on the disk now: its bytes from its "/NAME"
    // line up to the next "/NAME" line or the end, the rest byte for byte
    // as it was. Then reads the file back. False with the reason when no
    // record has the name or the file cannot be read or written; the file
    // is then as it was. True when the record was removed; `error` then
    // holds the read-back's report on damaged records, or is empty.
    bool Remove(const QString& name, QString* error = nullptr);

private:
    using TReadBackFault = std::function<QString(const QString& path, const QString& report)>;
    // Reads the file as it is on the disk now, lets `change` edit its bytes
    // (or say why it will not), writes the result whole and reads it back.
    // `nothingDone` ("%1": the path, "%2": the reason) is the fault when the
    // file cannot be read or written.
    bool Rewrite(const QString& nothingDone, const TReadBackFault& notReadBack,
                 const std::function<std::optional<QString>(QByteArray&)>& change, QString* error);

    QString path_;
    TSpectrumLibrary library_;
    QStringList names_;
};
