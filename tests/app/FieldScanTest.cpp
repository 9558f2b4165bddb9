// The field scan without a window: its passes, the sticks it records, and
// that the window's scan records the very same spectrum.
#include "app/FieldScan.h"
#include "app/MainWindow.h"
#include "app/SpectrometerCharts.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "chart/RChart.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QSlider>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QString ShippedLibrary()
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/ms_spec_sample.tra"));
}

std::vector<int> Computed(const TScanPass& p)
{
    return {p.Computed.begin(), p.Computed.begin() + p.ComputedCount};
}

bool Same(const TSpectralLine& a, const TSpectralLine& b)
{
    return a.Mass == b.Mass && a.Abundance == b.Abundance;
}

bool Same(const std::vector<TSpectralLine>& a, const std::vector<TSpectralLine>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TSpectralLine& x, const TSpectralLine& y) { return Same(x, y); });
}

// n copies of a stick.
std::vector<TSpectralLine> Times(int n, TSpectralLine line)
{
    return std::vector<TSpectralLine>(size_t(n), line);
}

std::vector<TSpectralLine> Concat(std::initializer_list<std::vector<TSpectralLine>> parts)
{
    std::vector<TSpectralLine> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

TEST(FieldScan, PassesNearTheEndsOfTheRange)
{
    struct Row {
        int from;
        int advanced;
        bool last;
        int position;
        std::vector<int> computed;
    };
    const Row rows[] = {
        {1, 11, false, 11, {11, 11}},
        {2500, 2510, false, 2510, {2510, 2510}},
        {4981, 4991, false, 4991, {4991, 4991}},
        {4991, 5000, true, 1, {5000, 1, 1}}, // clamped at the maximum, then back to the minimum
        {4995, 5000, true, 1, {5000, 1, 1}},
        {5000, 5000, true, 1, {1, 1}}, // at the maximum the slider does not move up
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.from);
        const TScanPass p = NextScanPass(r.from);
        EXPECT_EQ(p.Advanced, r.advanced);
        EXPECT_EQ(p.Last, r.last);
        EXPECT_EQ(p.Position, r.position);
        EXPECT_EQ(Computed(p), r.computed);
    }
    // A one-position range: nothing moves, the one position is computed once.
    const TScanPass single = NextScanPass(7, 7, 7);
    EXPECT_TRUE(single.Last);
    EXPECT_EQ(Computed(single), std::vector<int>{7});
}

TEST(FieldScan, AScanFromTheMinimumComputes11_11_21_ToTheMaximumAndBackIn500Passes)
{
    std::vector<int> expected;
    for (int p = 11; p <= 4991; p += 10)
        expected.insert(expected.end(), {p, p});
    expected.insert(expected.end(), {5000, 1, 1});

    std::vector<int> computed;
    int position = kFieldMinimum, passes = 0;
    for (bool last = false; !last && passes < 1000; ++passes) {
        const TScanPass p = NextScanPass(position);
        const std::vector<int> c = Computed(p);
        computed.insert(computed.end(), c.begin(), c.end());
        position = p.Position;
        last = p.Last;
    }
    EXPECT_EQ(passes, 500);
    EXPECT_EQ(position, kFieldMinimum);
    EXPECT_EQ(computed, expected);

    TFieldScan scan({}, 5000, kFieldMinimum);
    scan.Run();
    EXPECT_TRUE(scan.Finished());
    EXPECT_EQ(scan.Passes(), 500);
    EXPECT_EQ(scan.Position(), kFieldMinimum);
    EXPECT_FALSE(scan.Step()); // an ended scan does nothing more
    EXPECT_EQ(scan.Passes(), 500);
}

// Lines in the loader's order (ascending abundance). At 5000 V the radius is
// sqrt(M) * 30543 / Bp, so mass 14 is within 1 of the detector radius 80 at
// the scan positions 1411 to 1441 (4 passes), mass 28 at 2001 to 2041 (5);
// mass 250 needs more than the maximum field. At 3000 V (radius
// sqrt(M) * 23659 / Bp): 14 at 1101 and 1111, 28 at 1551 to 1581, 250 at
// 4621 to 4731 (12 passes). Every pass computes twice, so two sticks each.
TEST(FieldScan, SticksOfAKnownSubstance)
{
    const TSpectralLine heavy{250, 5}, n{14, 20}, co{28, 100};
    const std::vector<TSpectralLine> lines{heavy, n, co};
    struct Row {
        int voltage;
        int from;
        std::vector<TSpectralLine> sticks;
    };
    const Row rows[] = {
        {5000, 1, Concat({Times(8, n), Times(10, co)})},
        {3000, 1, Concat({Times(4, n), Times(8, co), Times(24, heavy)})},
        {5000, 1431, Concat({Times(2, n), Times(10, co)})}, // its first pass computes at 1441
        {5000, 2500, {}},                                    // past everything it can bring into focus
        {3000, 4701, Times(6, heavy)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.voltage << " V from " << r.from);
        TFieldScan scan(lines, r.voltage, r.from);
        scan.Run();
        EXPECT_EQ(scan.Position(), kFieldMinimum);
        EXPECT_TRUE(Same(scan.Sticks(), r.sticks)) << scan.Sticks().size() << " sticks";
    }
}

TEST(FieldScan, StickInFocusIsTheBestLineOnlyWithinTheTolerance)
{
    const std::vector<TSpectralLine> lines{{250, 5}, {14, 20}, {28, 100}};
    const auto at = [&](int field) { return StickInFocus(ComputeIonPathModel(5000, field, SectorFieldConstant(), lines), lines); };
    ASSERT_TRUE(at(2021));
    EXPECT_TRUE(Same(*at(2021), {28, 100}));
    ASSERT_TRUE(at(1421));
    EXPECT_TRUE(Same(*at(1421), {14, 20}));
    EXPECT_FALSE(at(1991)); // 28 is the nearest line, but its radius is 81.2
    EXPECT_FALSE(at(1));
    EXPECT_FALSE(StickInFocus(ComputeIonPathModel(5000, 2021, SectorFieldConstant(), {}), {}));
    // A model computed for other lines than those given finds no stick.
    EXPECT_FALSE(StickInFocus(ComputeIonPathModel(5000, 2021, SectorFieldConstant(), lines), {{250, 5}}));
}

TEST(FieldScan, DistinctSticksByAscendingMass)
{
    const std::vector<TSpectralLine> recorded{{28, 100}, {28, 100}, {14, 20}, {44, 3.5}, {14, 20}, {28, 100}, {14, 7}};
    const std::vector<TSpectralLine> expected{{14, 7}, {14, 20}, {28, 100}, {44, 3.5}};
    EXPECT_TRUE(Same(DistinctSticks(recorded), expected));
    EXPECT_TRUE(DistinctSticks({}).empty());
}

// The window's scan moves its slider and computes through its handlers; the
// spectrum chart must hold exactly the sticks of the scan without a window.
TEST(FieldScan, TheWindowsScanRecordsTheSameSticks)
{
    TSpectrumLibrary library;
    ASSERT_TRUE(library.Open(ShippedLibrary()));

    TfrmExample w;
    w.SetLibraryPath(ShippedLibrary());
    w.show();
    w.FormActivate();
    ASSERT_GT(w.spectrumbox->count(), 2);

    struct Row {
        int substance;
        int voltage;
        int from;
    };
    const Row rows[] = {{0, 5000, 1}, {1, 3000, 1}, {2, 8000, 1001}};
    for (const Row& r : rows) {
        const QString name = w.spectrumbox->itemText(r.substance);
        SCOPED_TRACE(name.toStdString());
        w.spectrumbox->setCurrentIndex(r.substance);
        w.spectrumboxChange();
        w.Energy->setValue(r.voltage);
        w.TBMagnetic->setValue(r.from);
        w.ScStartBtnClick();
        const std::vector<TSpectralLine> window = RecordedSticks(*w.RChart2);

        const std::optional<TSubstance> s = LoadSubstance(library, name);
        ASSERT_TRUE(s);
        TFieldScan scan(s->Lines, r.voltage, r.from);
        scan.Run();
        ASSERT_FALSE(scan.Sticks().empty());
        EXPECT_EQ(window.size(), scan.Sticks().size());
        EXPECT_TRUE(Same(window, scan.Sticks()));
        EXPECT_EQ(w.TBMagnetic->value(), scan.Position());
    }
}
