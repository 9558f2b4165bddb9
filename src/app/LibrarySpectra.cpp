#include "app/LibrarySpectra.h"

#include "app/Substance.h"
#include "app/UserSpectrumLibrary.h"
#include "support/Errors.h"

#include <set>

namespace {

void ReadAll(TSpectrumLibrary& library, const QStringList& names, std::vector<TLibrarySpectrum>& spectra)
{
    std::set<QString> seen;
    for (const QString& name : names) {
        if (!seen.insert(LibraryNameKey(name)).second)
            continue;
        try {
            if (std::optional<TSubstance> s = LoadSubstance(library, name))
                spectra.push_back({name, std::move(s->Lines)});
        } catch (const Exception&) {
            // Damaged: the selector reports it when it is chosen; a search
            // just does without it.
        }
    }
}

} // namespace

std::vector<TLibrarySpectrum> ReadLibrarySpectra(TSpectrumLibrary& shipped, TUserSpectrumLibrary* user)
{
    std::vector<TLibrarySpectrum> spectra;
    ReadAll(shipped, shipped.SubstanceNames(), spectra);
    if (user)
        ReadAll(user->Library(), user->SubstanceNames(), spectra);
    return spectra;
}
