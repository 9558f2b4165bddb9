#pragma once
// The spectrum library: the text file of substances and their mass spectra,
// read into memory once and searched again for every substance the user picks.
//
// A record, as far as the reader relies on it:
//
//   /NAME
//   Methane (by courtesy of a contributor)
//   (three lines of any text)
//      14.0  100.0   15.0   85.5   16.0   88.0      <- 7-character columns:
//      17.0    1.2                                     mass, abundance, mass, ...
//   /PHYSP
//
// Lines end with CR, optionally followed by LF; a lone LF is dropped.
// Numbers always use "." as the decimal point.

#include "support/TextEncoding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class TMatrix;

// What one LoadSpectrum did.
struct TSpectrumLoad {
    bool Found = false;            // a line matched the name
    int LineCount = 0;             // (mass, abundance) pairs stored, rows 1..LineCount
    std::optional<double> LastMass; // the last mass column read, if any
    bool Superseded = false;       // a newer load started from the line hook took over

    // Where the spectrum chart's mass axis should end: MassAxisEndAfter(LastMass).
    std::optional<double> MassAxisEnd() const;
};

// The end of the spectrum chart's mass axis after a record whose last mass
// read is lastMass: that mass (at m/z for ions of `charge`), truncated toward
// zero, plus 10. None when no mass was read (the axis then stays as it was).
std::optional<double> MassAxisEndAfter(std::optional<double> lastMass, int charge = 1);

class TSpectrumLibrary {
public:
    static constexpr const char* kFileName = "ms_spec_sample.tra";
    // At most this many pairs are kept per record; the rest of the record is ignored.
    static constexpr int kMaxLines = 500;
    // A larger file is refused rather than read: no real library comes near it.
    static constexpr qint64 kMaxFileSize = qint64(256) * 1024 * 1024;

    // Reads the whole file. False when it cannot be read (missing, not a
    // regular file, unreadable, too large); `error` then says why. The content
    // read before stays.
    bool Open(const QString& path, QString* error = nullptr);
    // The library's bytes, as if read from a file.
    void SetContent(QByteArray content);
    bool IsOpen() const { return open_; }
    TTextEncoding Encoding() const { return encoding_; }

    // The names for the substance selector, in file order: for every line that
    // begins with "/NAME" (any case), the next line's text before the first
    // "(by", less the one character right before it, without outer blanks.
    // Duplicates and empty names are kept.
    QStringList SubstanceNames();

    // Loads the first record whose name line, with its "(by courtesy" credit
    // cut off, blanks stripped and A to Z lower-cased, equals the lower-cased
    // name; every line of the file is a candidate. Sets matrix rows to 500,
    // stores the pairs in columns 1 (mass) and 2 (abundance), then sets the
    // rows to the pair count and sorts by ascending abundance. When no line
    // matches (an empty name never does) the rows stay 500 and as they were.
    // A column that is not a number raises EConvertError; the pairs stored up
    // to there stay in the matrix and in LineCount(), the rows stay 500 and
    // nothing is sorted.
    TSpectrumLoad LoadSpectrum(const QString& name, TMatrix& matrix);

    // The pair count of the last load, also when it failed part-way.
    int LineCount() const { return lineCount_; }

    // Called after every line read, in both passes: the main window lets the
    // window system process pending messages here, so that a long read does
    // not freeze it. A LoadSpectrum started from inside the hook supersedes
    // the one in progress, which then returns at once without touching the
    // matrix again.
    std::function<void()> OnLineRead;

private:
    QByteArray content_;
    TTextEncoding encoding_ = TTextEncoding::Utf8;
    bool open_ = false;
    int lineCount_ = 0;
    unsigned loadGeneration_ = 0;
};
