// The library search over the shipped library: every substance's own field
// scan finds it, also when the scan is recorded less faithfully.
#include "app/FieldScan.h"
#include "app/LibrarySpectra.h"
#include "app/SpectrumLibrary.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iostream>
#include <random>

namespace {

// Isomers whose spectra hold the same masses in nearly the same proportions:
// the search may rank one of them above the substance itself.
const std::vector<QStringList> kIsomerGroups = {
    {QStringLiteral("o-Xylene"), QStringLiteral("m-Xylene"), QStringLiteral("p-Xylene")},
};

const QStringList* IsomerGroupOf(const QString& name)
{
    for (const QStringList& group : kIsomerGroups)
        if (group.contains(name))
            return &group;
    return nullptr;
}

struct TShipped {
    std::vector<TLibrarySpectrum> Spectra;
    std::vector<std::vector<TSpectralLine>> Scans; // each substance's own, at 3000 V
};

// 3000 V brings every mass up to 285 into focus at the field's maximum, so
// the whole scan records every line of every shipped substance.
const TShipped& Shipped()
{
    static const TShipped shipped = [] {
        TShipped s;
        TSpectrumLibrary library;
        if (!library.Open(QStringLiteral(IONPATH_SHIPPED_LIBRARY)))
            return s;
        s.Spectra = ReadLibrarySpectra(library, nullptr);
        for (const TLibrarySpectrum& spectrum : s.Spectra) {
            TFieldScan scan(spectrum.Lines, 3000, kFieldMinimum);
            scan.Run();
            s.Scans.push_back(DistinctSticks(scan.Sticks()));
        }
        return s;
    }();
    return shipped;
}

QString NameAt(const TLibrarySearch& search, const TSearchCandidate& c)
{
    return search.Library()[size_t(c.Index)].Name;
}

} // namespace

TEST(LibrarySearchShipped, EverySubstancesScanFindsItself)
{
    const TShipped& shipped = Shipped();
    ASSERT_GE(shipped.Spectra.size(), 50u);
    const TLibrarySearch search(shipped.Spectra);
    for (size_t i = 0; i < shipped.Spectra.size(); ++i) {
        const QString& name = shipped.Spectra[i].Name;
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(shipped.Scans[i].size(), shipped.Spectra[i].Lines.size()) << "a line was not recorded";
        const std::vector<TSearchCandidate> found = search.Search(shipped.Scans[i]);
        const QStringList* group = IsomerGroupOf(name);
        const size_t top = group ? size_t(group->size()) : 1;
        ASSERT_GE(found.size(), top);
        // The substance and its isomers lead, within 120 points of each
        // other (115 measured); whatever follows is far behind (170 points
        // at the least, ethylbenzene after o-xylene).
        for (size_t r = 0; r < top; ++r) {
            EXPECT_TRUE(group ? group->contains(NameAt(search, found[r])) : NameAt(search, found[r]) == name)
                << "rank " << r + 1 << ": " << NameAt(search, found[r]).toStdString();
            EXPECT_GT(found[r].Score, found[0].Score - 120) << "rank " << r + 1;
        }
        const auto own = std::find_if(found.begin(), found.begin() + std::ptrdiff_t(top),
                                      [&](const TSearchCandidate& c) { return size_t(c.Index) == i; });
        ASSERT_NE(own, found.begin() + std::ptrdiff_t(top));
        EXPECT_NEAR(own->Score, 999, 1e-9) << "the scan recorded every line as the library holds it";
        if (found.size() > top) {
            EXPECT_LT(found[top].Score, found[0].Score - 150) << "next: " << NameAt(search, found[top]).toStdString();
        }
    }
}

// A recording less faithful than the scan: the lines below 2 % lost, the
// others off by up to 10 % either way, 20 times for every substance.
TEST(LibrarySearchShipped, StaysFirstWhenTheRecordingIsNoisy)
{
    const TShipped& shipped = Shipped();
    ASSERT_GE(shipped.Spectra.size(), 50u);
    const TLibrarySearch search(shipped.Spectra);
    std::mt19937 random(20240506); // the engine's sequence is fixed by the standard
    int others = 0, othersFirst = 0, isomers = 0, isomersFirst = 0, isomersInGroup = 0;
    QString misses;
    for (size_t i = 0; i < shipped.Spectra.size(); ++i) {
        const QString& name = shipped.Spectra[i].Name;
        const QStringList* group = IsomerGroupOf(name);
        for (int variant = 0; variant < 20; ++variant) {
            std::vector<TSpectralLine> unknown;
            for (const TSpectralLine& l : shipped.Scans[i])
                if (l.Abundance >= 2) // percent of the base peak
                    unknown.push_back({l.Mass, l.Abundance * (0.9 + 0.2 * (random() / 4294967296.0))});
            const std::vector<TSearchCandidate> found = search.Search(unknown, 3);
            ASSERT_FALSE(found.empty()) << name.toStdString();
            const bool first = size_t(found[0].Index) == i;
            if (group) {
                ++isomers;
                isomersFirst += first;
                isomersInGroup += std::all_of(found.begin(), found.begin() + std::ptrdiff_t(group->size()),
                                              [&](const TSearchCandidate& c) { return group->contains(NameAt(search, c)); });
            } else {
                ++others;
                othersFirst += first;
                if (!first)
                    misses += QStringLiteral(" %1 (%2 first)").arg(name, NameAt(search, found[0]));
            }
        }
    }
    const QString figure = QStringLiteral("%1 of %2 noisy scans (%3 %) found their substance first; of the isomers "
                                          "listed, %4 of %5 (%6 %) first and %7 led by their group")
                               .arg(othersFirst)
                               .arg(others)
                               .arg(100.0 * othersFirst / others, 0, 'f', 1)
                               .arg(isomersFirst)
                               .arg(isomers)
                               .arg(100.0 * isomersFirst / isomers, 0, 'f', 1)
                               .arg(isomersInGroup);
    std::cout << "library search: " << figure.toStdString() << '\n';
    RecordProperty("robustness", figure.toStdString());
    // Measured: 980 of 980, and 60 of 60 for the xylenes.
    EXPECT_GE(othersFirst, others * 99 / 100) << "missed:" << misses.toStdString();
    EXPECT_GE(isomersFirst, isomers * 9 / 10);
    EXPECT_EQ(isomersInGroup, isomers);
}
