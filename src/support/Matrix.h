#pragma once
// TMatrix: a table of doubles addressed by 1-based column and row, stored
// column by column (each column one contiguous array). The main window keeps
// the loaded spectrum in one: column 1 the masses, column 2 the abundances.

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class TMatrix : public QObject {
    Q_OBJECT
    Q_PROPERTY(int NrOfColumns READ NrOfColumns WRITE SetNrOfColumns)
    Q_PROPERTY(int NrOfRows READ NrOfRows WRITE SetNrOfRows)
    Q_PROPERTY(QString DataID READ DataID WRITE SetDataID)

public:
    using TNotifyEvent = std::function<void(QObject* sender)>;
    using TSortExchgEvent = std::function<void(QObject* sender, std::uint8_t exchgWhat, std::int32_t index1,
                                               std::int32_t index2, std::int32_t first, std::int32_t last)>;
    using TOnCalcDistanceEvent = std::function<void(QObject* sender, std::int32_t row1, std::int32_t row2, double& distance)>;

    // 1 x 1 holding 0.0.
    explicit TMatrix(QObject* owner = nullptr);

    int NrOfColumns() const { return columns_; }
    int NrOfRows() const { return rows_; }
    QString DataID() const { return dataId_; }
    // Counts <= 0 are taken as 1.
    void SetNrOfColumns(int n);
    void SetNrOfRows(int n);
    void SetDataID(const QString& id) { dataId_ = id; }

    // Re-dimensions the table: cells inside both the old and the new bounds
    // keep their values, new cells are 0.0. Counts below 1 are taken as 1.
    // When the storage cannot be obtained, raises EVexMatrixError
    // "...: not enough memory on heap" and leaves size and contents as they were.
    // Fires OnChange. Returns true.
    bool Resize(int columns, int rows);

    // 0.0 outside the table.
    double Cell(int column, int row) const;
    // Ignored outside the table; otherwise stores and fires OnChange.
    void SetCell(int column, int row, double value);

    // Orders rows lowRow..highRow by column keyColumn (comb sort, shrink 1.3,
    // equal keys never exchanged), carrying columns lowColumn..highColumn with
    // their key. Fires OnSortExchange per exchange and OnChange once at the end.
    void SortByColumn(int keyColumn, bool ascending, int lowColumn, int lowRow, int highColumn, int highRow);

    TNotifyEvent OnChange;
    TSortExchgEvent OnSortExchange;
    // Published for owners that measure row distances; the matrix never fires it.
    TOnCalcDistanceEvent OnCalcDistance;

private:
    void Changed();

    int columns_ = 0;
    int rows_ = 0;
    QString dataId_;
    std::vector<std::vector<double>> storage_;
};
