#pragma once
// The rules every reader of spectrum files keeps, whatever bytes it reads:
// a spectrum has a name, a first line inside the file and 1 to 500 lines
// in strictly ascending mass with abundances from the 0.5 % cut to 100,
// the strongest exactly 100; a refusal names a line inside the file and a
// reason, line 0 only as the one word on a file without spectra; spectra
// and refusals come in the order of their lines.

#include "FuzzApplication.h"

#include "analysis/ImportText.h"
#include "analysis/SpectrumImport.h"

#include <cmath>

inline void CheckImport(const QByteArray& content, const TImportResult& r, std::optional<TImportFormat> format)
{
    const int lineCount = int(ImportLines(DecodeImportText(content)).size());
    int lastLine = 0;
    for (const TImportedSpectrum& s : r.Spectra) {
        const QString where = QStringLiteral("spectrum \"%1\" at line %2").arg(s.Name).arg(s.FirstLine);
        if (format)
            FUZZ_CHECK(s.Format == *format, where);
        FUZZ_CHECK(!s.Name.isEmpty(), where);
        FUZZ_CHECK(s.FirstLine >= 1 && s.FirstLine <= lineCount, where);
        FUZZ_CHECK(s.FirstLine >= lastLine, where);
        lastLine = s.FirstLine;
        FUZZ_CHECK(!s.Lines.empty() && s.Lines.size() <= size_t(kMaxImportedLines), where);
        FUZZ_CHECK(size_t(s.PairsRead) >= s.Lines.size(), where);
        double strongest = 0;
        for (size_t i = 0; i < s.Lines.size(); ++i) {
            const TSpectralLine& l = s.Lines[i];
            FUZZ_CHECK(std::isfinite(l.Mass) && l.Mass >= 0, where);
            FUZZ_CHECK(l.Abundance >= kImportCut && l.Abundance <= 100, where);
            if (i > 0)
                FUZZ_CHECK(s.Lines[i - 1].Mass < l.Mass, where);
            strongest = std::max(strongest, l.Abundance);
        }
        FUZZ_CHECK(strongest == 100, where);
    }
    lastLine = 0;
    for (const TImportRefusal& refusal : r.Refusals) {
        const QString where = ImportRefusalText(refusal);
        FUZZ_CHECK(!refusal.Reason.isEmpty(), where);
        FUZZ_CHECK(refusal.Line >= 0 && refusal.Line <= lineCount, where);
        if (refusal.Line == 0)
            FUZZ_CHECK(r.Spectra.empty() && r.Refusals.size() == 1, where);
        FUZZ_CHECK(refusal.Line >= lastLine, where);
        lastLine = refusal.Line;
    }
    FUZZ_CHECK(!r.Spectra.empty() || !r.Refusals.empty(), QStringLiteral("a file read without a word"));
}
