#pragma once
// Library search: which substances of a spectrum library a recorded
// spectrum most resembles, by the composite match factor of Stein & Scott
// (J. Am. Soc. Mass Spectrom. 5 (1994) 859-866, doi:10.1016/1044-0305(94)87009-8),
// in the form the open reimplementations give it (MZmine's composite cosine
// similarity, msPurity's match_factor), with the two points where they
// differ settled as said below.
//
// Peaks. Masses are matched by rounding to the nearest integer, except lines
// within 0.1 of a half-integer (x.5: doubly charged ions of odd mass), which
// are masses of their own, between x and x + 1. The window of 0.1 keeps the
// mass defect of exact masses out of it (C21H44 is 296.34 u). Lines that
// fall on the same mass merge into one with the largest abundance among them:
// a field scan records every line many times over, and adding the recordings
// up would weigh a line by how often the scan passed it. Lines without a
// positive finite abundance, or with a mass below 0.4 u (which would
// round to 0) or above 10^6 u, are left out.
//
// Weights. Every peak of mass m and abundance I counts as W = I^a * m^b,
// with a = 0.5 and b = 3. Stein & Scott found the square root of the
// intensity nearly optimal and m^2 to m^3 the best mass weighting. The
// larger power gives the molecular-ion region, where isomers and homologues
// part, more say against the small fragments (CH3+, C2H3+, ...) that nearly
// every organic spectrum shares. On the shipped library both powers rank
// every substance's own field scan first; with m^3 the runner-up stays
// further behind (611 points below on average against 600 with m^2, and
// n-butane parts from isobutane by 244 points against 231).
//
// The dot-product factor over all masses of the unknown U and the library
// spectrum L (a mass missing on one side has W = 0 there):
//
//   F_D = (sum W_U W_L)^2 / (sum W_U^2 * sum W_L^2)                 0..1
//
// The ratio factor over the N_LU masses present in both, taken by ascending
// mass, with Y the unknown's and X the library's abundances:
//
//   F_R = 1/(N_LU - 1) * sum_{i=2..N_LU} min(r_i, 1/r_i),
//   r_i = (Y_i / Y_{i-1}) * (X_{i-1} / X_i)                          0..1
//
// It asks whether neighbouring shared peaks stand in the same proportion in
// both spectra. The divisor is the number of neighbouring pairs, N_LU - 1,
// so that a spectrum matched against itself scores 1 (with N_LU the best
// possible F_R would be (N_LU - 1)/N_LU, and a two-peak spectrum could never
// match itself above 1/2 on this factor). The abundances are the raw ones:
// with the weighted ones the ratio would only be r_i^a (the mass factors
// cancel), which halves on a log scale every difference in proportion the
// factor is there to catch: the own field scans of the xylenes lead their
// isomers by 67 points with raw ratios, by 36 with weighted ones.
//
// The composite, weighting F_R by how many peaks it rests on, with N_U the
// number of peaks of the unknown:
//
//   S = (N_U * F_D + N_LU * F_R) / (N_U + N_LU)      when N_LU >= 2
//   S = F_D                                           when N_LU < 2
//
// With fewer than two shared peaks there is no proportion to compare: F_R
// is 0 then and has no weight either, or a one-line spectrum (a
// monoisotopic element's, I2's isotope pattern) would match its own
// recording at only 1/2.
//
// The score is 999 * S, not rounded (displays round it): a difference
// of a fraction of a point still orders candidates. Identical spectra score
// 999, spectra without a shared mass 0, and multiplying all abundances of
// either spectrum by a constant changes nothing.

#include "support/SpectralLine.h"

#include <QString>
#include <cstdint>
#include <vector>

struct TLibrarySpectrum {
    QString Name;
    std::vector<TSpectralLine> Lines;
};

struct TSearchCandidate {
    int Index = -1;   // into the library
    double Score = 0; // 0..999
};

// The composite match factor of the unknown against one reference, 0..999.
double MatchScore(const std::vector<TSpectralLine>& unknown, const std::vector<TSpectralLine>& reference);

class TLibrarySearch {
public:
    // Prepares the weighted peak vectors of every spectrum once.
    explicit TLibrarySearch(std::vector<TLibrarySpectrum> library);

    const std::vector<TLibrarySpectrum>& Library() const { return library_; }

    // The `count` best candidates, best first; equal scores by library order.
    // Spectra without a mass in common with the unknown (score 0) are no
    // candidates.
    std::vector<TSearchCandidate> Search(const std::vector<TSpectralLine>& unknown, int count = 10) const;

    // One peak as the factors use it (LibrarySearch.cpp): Key is twice the
    // matched mass.
    struct TPeak {
        std::int64_t Key = 0;
        double Abundance = 0;
        double Weight = 0; // W = I^a m^b
    };

private:
    std::vector<TLibrarySpectrum> library_;
    // Every spectrum's peaks by ascending mass, one after the other in one
    // block (spectrum i holds peaks_[begin_[i] .. begin_[i + 1])), so that a
    // search walks memory in order; norms_[i] = sum W^2 of spectrum i.
    std::vector<TPeak> peaks_;
    std::vector<std::size_t> begin_;
    std::vector<double> norms_;
};
