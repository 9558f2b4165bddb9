#include "support/Matrix.h"

#include "support/Errors.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

// The system would promise more memory than it has and then end the program
// when the zeros are written, so a table larger than the machine's memory is
// refused up front like a failed allocation.
bool Affordable(int columns, int rows)
{
    const auto cells = static_cast<std::uint64_t>(columns) * static_cast<std::uint64_t>(rows);
    const std::uint64_t overhead = static_cast<std::uint64_t>(columns) * sizeof(std::vector<double>);
    if (cells > (std::numeric_limits<std::uint64_t>::max() - overhead) / sizeof(double))
        return false;
    const std::uint64_t bytes = cells * sizeof(double) + overhead;
    if (bytes > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()))
        return false;
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0
        && bytes > static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize))
        return false;
#endif
    return true;
}

} // namespace

TMatrix::TMatrix(QObject* owner)
    : QObject(owner)
{
    Resize(1, 1);
}

void TMatrix::SetNrOfColumns(int n)
{
    Resize(n <= 0 ? 1 : n, rows_);
}

void TMatrix::SetNrOfRows(int n)
{
    Resize(columns_, n <= 0 ? 1 : n);
}

bool TMatrix::Resize(int columns, int rows)
{
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    auto outOfMemory = [this] {
        return EVexMatrixError(objectName(), QStringLiteral("not enough memory on heap"));
    };
    if (!Affordable(columns, rows))
        throw outOfMemory();
    // Built aside and swapped in, so a failure leaves the old table whole.
    std::vector<std::vector<double>> storage;
    try {
        storage.resize(static_cast<size_t>(columns));
        const size_t keepRows = static_cast<size_t>(std::min(rows, rows_));
        const int keepColumns = std::min(columns, columns_);
        for (int c = 0; c < columns; ++c) {
            auto& column = storage[static_cast<size_t>(c)];
            if (c < keepColumns) {
                const auto& old = storage_[static_cast<size_t>(c)];
                column.reserve(static_cast<size_t>(rows));
                column.assign(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(keepRows));
            }
            column.resize(static_cast<size_t>(rows), 0.0);
        }
    } catch (const std::bad_alloc&) {
        throw outOfMemory();
    } catch (const std::length_error&) {
        throw outOfMemory();
    }
    storage_ = std::move(storage);
    columns_ = columns;
    rows_ = rows;
    Changed();
    return true;
}

double TMatrix::Cell(int column, int row) const
{
    if (column < 1 || column > columns_ || row < 1 || row > rows_)
        return 0.0;
    return storage_[static_cast<size_t>(column - 1)][static_cast<size_t>(row - 1)];
}

void TMatrix::SetCell(int column, int row, double value)
{
    if (column < 1 || column > columns_ || row < 1 || row > rows_)
        return;
    storage_[static_cast<size_t>(column - 1)][static_cast<size_t>(row - 1)] = value;
    Changed();
}

void TMatrix::SortByColumn(int keyColumn, bool ascending, int lowColumn, int lowRow, int highColumn, int highRow)
{
    if (highRow < lowRow)
        std::swap(lowRow, highRow);
    if (highColumn < lowColumn)
        std::swap(lowColumn, highColumn);
    lowRow = std::min(std::max(lowRow, 1), rows_);
    highRow = std::min(std::max(highRow, 1), rows_);
    int gap = highRow - lowRow;
    if (gap <= 0)
        return;

    // Columns outside the table are neither read nor written: the key of a
    // missing column reads 0.0 for every row, so nothing moves.
    const bool keyExists = keyColumn >= 1 && keyColumn <= columns_;
    const bool keyCarried = keyColumn >= lowColumn && keyColumn <= highColumn;
    const int firstCarried = std::max(lowColumn, 1);
    const int lastCarried = std::min(highColumn, columns_);
    auto cell = [this](int column, int row) -> double& {
        return storage_[static_cast<size_t>(column - 1)][static_cast<size_t>(row - 1)];
    };
    auto keyAt = [&](int row) { return keyExists ? cell(keyColumn, row) : 0.0; };
    const int columnsBefore = columns_;
    const int rowsBefore = rows_;

    bool exchanged = true;
    while (gap > 1 || exchanged) {
        gap = static_cast<int>(gap / 1.3);
        if (gap == 0)
            gap = 1;
        exchanged = false;
        for (int i = lowRow; i + gap <= highRow; ++i) {
            const double a = keyAt(i);
            const double b = keyAt(i + gap);
            if (!(ascending ? a > b : a < b))
                continue;
            for (int c = firstCarried; c <= lastCarried; ++c)
                std::swap(cell(c, i), cell(c, i + gap));
            if (keyExists && !keyCarried)
                std::swap(cell(keyColumn, i), cell(keyColumn, i + gap));
            exchanged = true;
            if (OnSortExchange) {
                OnSortExchange(this, 2, i, i + gap, lowColumn, highColumn);
                // A handler that resized the table has ended the sort.
                if (columns_ != columnsBefore || rows_ != rowsBefore) {
                    Changed();
                    return;
                }
            }
        }
    }
    Changed();
}

void TMatrix::Changed()
{
    if (OnChange)
        OnChange(this);
}
