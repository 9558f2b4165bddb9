#pragma once
// One line of a mass spectrum: where it stands and how strong it is. The
// spectrum library, the sector-field model and the analyses beyond it all
// speak of lines this way.

struct TSpectralLine {
    double Mass = 0;      // m/z of the line (the mass, for singly charged ions)
    double Abundance = 0; // percent of the strongest line
};
