#include "support/Errors.h"
#include "support/Matrix.h"

#include <QVariant>
#include <gtest/gtest.h>
#include <climits>
#include <utility>
#include <vector>

namespace {

// A matrix of the given columns, each a list of row values.
void Fill(TMatrix& m, const std::vector<std::vector<double>>& columns)
{
    m.Resize(int(columns.size()), int(columns[0].size()));
    for (size_t c = 0; c < columns.size(); ++c)
        for (size_t r = 0; r < columns[c].size(); ++r)
            m.SetCell(int(c) + 1, int(r) + 1, columns[c][r]);
}

std::vector<double> Column(const TMatrix& m, int c)
{
    std::vector<double> v;
    for (int r = 1; r <= m.NrOfRows(); ++r)
        v.push_back(m.Cell(c, r));
    return v;
}

} // namespace

TEST(Matrix, StartsAsOneZeroCell)
{
    TMatrix m;
    EXPECT_EQ(m.NrOfColumns(), 1);
    EXPECT_EQ(m.NrOfRows(), 1);
    EXPECT_EQ(m.Cell(1, 1), 0.0);
    EXPECT_TRUE(m.DataID().isEmpty());
    EXPECT_EQ(m.property("NrOfRows").toInt(), 1); // published
}

TEST(Matrix, CountsBelowOneBecomeOne)
{
    TMatrix m;
    m.Resize(3, 4);
    m.SetNrOfRows(0);
    EXPECT_EQ(m.NrOfRows(), 1);
    m.SetNrOfRows(-7);
    EXPECT_EQ(m.NrOfRows(), 1);
    m.SetNrOfColumns(0);
    EXPECT_EQ(m.NrOfColumns(), 1);
    m.Resize(-1, 0);
    EXPECT_EQ(m.NrOfColumns(), 1);
    EXPECT_EQ(m.NrOfRows(), 1);
}

TEST(Matrix, ResizeKeepsOverlappingCellsAndZeroesNewOnes)
{
    TMatrix m;
    Fill(m, {{1, 2, 3}, {4, 5, 6}});
    m.SetNrOfRows(5);
    EXPECT_EQ(Column(m, 1), (std::vector<double>{1, 2, 3, 0, 0}));
    EXPECT_EQ(Column(m, 2), (std::vector<double>{4, 5, 6, 0, 0}));
    m.SetNrOfRows(2);
    EXPECT_EQ(Column(m, 1), (std::vector<double>{1, 2}));
    EXPECT_EQ(Column(m, 2), (std::vector<double>{4, 5}));
    m.SetNrOfColumns(3);
    EXPECT_EQ(Column(m, 3), (std::vector<double>{0, 0}));
    m.SetNrOfColumns(1);
    m.SetNrOfColumns(2);
    EXPECT_EQ(Column(m, 2), (std::vector<double>{0, 0})); // dropped cells do not come back
}

TEST(Matrix, OutsideTheTableReadsZeroAndIgnoresWrites)
{
    TMatrix m;
    Fill(m, {{1, 2}, {3, 4}});
    int changes = 0;
    m.OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &m);
        ++changes;
    };
    const std::pair<int, int> outside[] = {{0, 1}, {1, 0}, {3, 1}, {1, 3}, {-1, -1}, {INT_MAX, INT_MAX}};
    for (auto [c, r] : outside) {
        EXPECT_EQ(m.Cell(c, r), 0.0);
        m.SetCell(c, r, 9.0);
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(Column(m, 1), (std::vector<double>{1, 2}));
    EXPECT_EQ(Column(m, 2), (std::vector<double>{3, 4}));
    m.SetCell(2, 2, 7.0);
    m.SetNrOfRows(2);
    EXPECT_EQ(changes, 2); // every store and every resize
}

TEST(Matrix, AResizeThatCannotBeMetRaisesAndKeepsTheTable)
{
    TMatrix m;
    m.setObjectName(QStringLiteral("MatData"));
    Fill(m, {{1, 2, 3}, {4, 5, 6}});
    int changes = 0;
    m.OnChange = [&](QObject*) { ++changes; };
    // More bytes than a 64-bit address holds, and a petabyte.
    const std::pair<int, int> requests[] = {{INT_MAX, INT_MAX}, {65536, INT_MAX}};
    for (auto [columns, rows] : requests) {
        try {
            m.Resize(columns, rows);
            ADD_FAILURE() << columns << " x " << rows << " was granted";
        } catch (const EVexMatrixError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Component \"MatData\": not enough memory on heap"));
        }
    }
    EXPECT_EQ(m.NrOfColumns(), 2);
    EXPECT_EQ(m.NrOfRows(), 3);
    EXPECT_EQ(Column(m, 1), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Column(m, 2), (std::vector<double>{4, 5, 6}));
    EXPECT_EQ(changes, 0);
}

TEST(Matrix, SortOrdersRowsByTheKeyAndCarriesTheOtherColumns)
{
    TMatrix m;
    Fill(m, {{14, 15, 16}, {30, 10, 20}});
    int changes = 0;
    m.OnChange = [&](QObject*) { ++changes; };
    m.SortByColumn(2, true, 1, 1, 2, 3);
    EXPECT_EQ(Column(m, 2), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(Column(m, 1), (std::vector<double>{15, 16, 14}));
    EXPECT_EQ(changes, 1);
    m.SortByColumn(2, false, 1, 1, 2, 3);
    EXPECT_EQ(Column(m, 2), (std::vector<double>{30, 20, 10}));
    EXPECT_EQ(Column(m, 1), (std::vector<double>{14, 16, 15}));
}

TEST(Matrix, SortIsACombSortThatStartsWithTheShrunkGap)
{
    TMatrix m;
    Fill(m, {{5, 4, 3, 2, 1}});
    std::vector<std::pair<int, int>> exchanges;
    m.OnSortExchange = [&](QObject*, std::uint8_t what, int i1, int i2, int first, int last) {
        EXPECT_EQ(what, 2);
        EXPECT_EQ(first, 1);
        EXPECT_EQ(last, 1);
        exchanges.emplace_back(i1, i2);
    };
    m.SortByColumn(1, true, 1, 1, 1, 5);
    // gap 4 / 1.3 -> 3, then 2, then 1 until a pass exchanges nothing.
    EXPECT_EQ(exchanges, (std::vector<std::pair<int, int>>{{1, 4}, {2, 5}, {1, 2}, {4, 5}}));
    EXPECT_EQ(Column(m, 1), (std::vector<double>{1, 2, 3, 4, 5}));
}

TEST(Matrix, SortNeverExchangesEqualKeys)
{
    TMatrix m;
    Fill(m, {{1, 2, 3, 4}, {7, 7, 7, 7}});
    int exchanges = 0;
    m.OnSortExchange = [&](QObject*, std::uint8_t, int, int, int, int) { ++exchanges; };
    m.SortByColumn(2, true, 1, 1, 2, 4);
    m.SortByColumn(2, false, 1, 1, 2, 4);
    EXPECT_EQ(exchanges, 0);
    EXPECT_EQ(Column(m, 1), (std::vector<double>{1, 2, 3, 4}));
}

TEST(Matrix, SortRangesAreOrderedAndClamped)
{
    TMatrix a;
    TMatrix b;
    Fill(a, {{1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2, 1}});
    Fill(b, {{1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2, 1}});
    a.SortByColumn(2, true, 1, 1, 2, 5);
    b.SortByColumn(2, true, 2, 5, 1, 1); // swapped bounds, both ways
    EXPECT_EQ(Column(a, 2), (std::vector<double>{2, 3, 4, 5, 6, 1}));
    EXPECT_EQ(Column(b, 2), Column(a, 2));
    EXPECT_EQ(Column(b, 1), Column(a, 1));
    a.SortByColumn(2, true, 1, -3, 2, 99); // clamped to the table
    EXPECT_EQ(Column(a, 2), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Column(a, 1), (std::vector<double>{6, 5, 4, 3, 2, 1}));
}

TEST(Matrix, SortOfOneRowDoesNothing)
{
    TMatrix m;
    Fill(m, {{2, 1}});
    int events = 0;
    m.OnChange = [&](QObject*) { ++events; };
    m.OnSortExchange = [&](QObject*, std::uint8_t, int, int, int, int) { ++events; };
    m.SortByColumn(1, true, 1, 2, 1, 2);
    m.SortByColumn(1, true, 1, 5, 1, 9); // both clamp to row 2
    EXPECT_EQ(events, 0);
    EXPECT_EQ(Column(m, 1), (std::vector<double>{2, 1}));
}

TEST(Matrix, AKeyOutsideTheCarriedColumnsStillMovesWithItsRows)
{
    TMatrix m;
    Fill(m, {{14, 15, 16}, {30, 10, 20}, {1, 2, 3}});
    m.SortByColumn(2, true, 1, 1, 1, 3);
    EXPECT_EQ(Column(m, 2), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(Column(m, 1), (std::vector<double>{15, 16, 14}));
    EXPECT_EQ(Column(m, 3), (std::vector<double>{1, 2, 3})); // not carried
}

TEST(Matrix, ColumnsOutsideTheTableAreNeverTouched)
{
    TMatrix m;
    Fill(m, {{3, 2, 1}, {6, 5, 4}});
    m.SortByColumn(5, true, 1, 1, 2, 3);  // no such key column: nothing moves
    EXPECT_EQ(Column(m, 1), (std::vector<double>{3, 2, 1}));
    m.SortByColumn(1, true, -2, 1, 9, 3); // carried columns limited to the table
    EXPECT_EQ(Column(m, 1), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Column(m, 2), (std::vector<double>{4, 5, 6}));
}
