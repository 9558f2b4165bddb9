#pragma once
// The substances a library search looks through: the shipped library's and
// the user's own, read into memory with their lines.

#include "analysis/LibrarySearch.h"

#include <vector>

class TSpectrumLibrary;
class TUserSpectrumLibrary;

// Every substance of the shipped library, then every one of the user's (none
// when `user` is null), in the substance selector's order. A record that
// cannot be loaded (damaged, or not found by its listed name) is left out,
// and so is a second shipped record of a name already read: the loader would
// give the first one's lines again.
std::vector<TLibrarySpectrum> ReadLibrarySpectra(TSpectrumLibrary& shipped, TUserSpectrumLibrary* user);
