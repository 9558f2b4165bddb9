#pragma once
// The coupling of chart layers: entry n of a table names the layer whose
// range layer n's axis follows (its own number: not coupled).

#include <QObject>
#include <array>
#include <functional>

class TJointLayers : public QObject {
    Q_OBJECT
    Q_PROPERTY(int L01xControlledBy READ L01xControlledBy WRITE SetL01xControlledBy)
    Q_PROPERTY(int L02xControlledBy READ L02xControlledBy WRITE SetL02xControlledBy)
    Q_PROPERTY(int L03xControlledBy READ L03xControlledBy WRITE SetL03xControlledBy)
    Q_PROPERTY(int L04xControlledBy READ L04xControlledBy WRITE SetL04xControlledBy)
    Q_PROPERTY(int L05xControlledBy READ L05xControlledBy WRITE SetL05xControlledBy)
    Q_PROPERTY(int L06xControlledBy READ L06xControlledBy WRITE SetL06xControlledBy)
    Q_PROPERTY(int L07xControlledBy READ L07xControlledBy WRITE SetL07xControlledBy)
    Q_PROPERTY(int L08xControlledBy READ L08xControlledBy WRITE SetL08xControlledBy)
    Q_PROPERTY(int L09xControlledBy READ L09xControlledBy WRITE SetL09xControlledBy)
    Q_PROPERTY(int L10xControlledBy READ L10xControlledBy WRITE SetL10xControlledBy)
    Q_PROPERTY(int L11xControlledBy READ L11xControlledBy WRITE SetL11xControlledBy)
    Q_PROPERTY(int L12xControlledBy READ L12xControlledBy WRITE SetL12xControlledBy)
    Q_PROPERTY(int L13xControlledBy READ L13xControlledBy WRITE SetL13xControlledBy)
    Q_PROPERTY(int L14xControlledBy READ L14xControlledBy WRITE SetL14xControlledBy)
    Q_PROPERTY(int L15xControlledBy READ L15xControlledBy WRITE SetL15xControlledBy)
    Q_PROPERTY(int L16xControlledBy READ L16xControlledBy WRITE SetL16xControlledBy)
    Q_PROPERTY(int L01yControlledBy READ L01yControlledBy WRITE SetL01yControlledBy)
    Q_PROPERTY(int L02yControlledBy READ L02yControlledBy WRITE SetL02yControlledBy)
    Q_PROPERTY(int L03yControlledBy READ L03yControlledBy WRITE SetL03yControlledBy)
    Q_PROPERTY(int L04yControlledBy READ L04yControlledBy WRITE SetL04yControlledBy)
    Q_PROPERTY(int L05yControlledBy READ L05yControlledBy WRITE SetL05yControlledBy)
    Q_PROPERTY(int L06yControlledBy READ L06yControlledBy WRITE SetL06yControlledBy)
    Q_PROPERTY(int L07yControlledBy READ L07yControlledBy WRITE SetL07yControlledBy)
    Q_PROPERTY(int L08yControlledBy READ L08yControlledBy WRITE SetL08yControlledBy)
    Q_PROPERTY(int L09yControlledBy READ L09yControlledBy WRITE SetL09yControlledBy)
    Q_PROPERTY(int L10yControlledBy READ L10yControlledBy WRITE SetL10yControlledBy)
    Q_PROPERTY(int L11yControlledBy READ L11yControlledBy WRITE SetL11yControlledBy)
    Q_PROPERTY(int L12yControlledBy READ L12yControlledBy WRITE SetL12yControlledBy)
    Q_PROPERTY(int L13yControlledBy READ L13yControlledBy WRITE SetL13yControlledBy)
    Q_PROPERTY(int L14yControlledBy READ L14yControlledBy WRITE SetL14yControlledBy)
    Q_PROPERTY(int L15yControlledBy READ L15yControlledBy WRITE SetL15yControlledBy)
    Q_PROPERTY(int L16yControlledBy READ L16yControlledBy WRITE SetL16yControlledBy)

public:
    explicit TJointLayers(QObject* parent = nullptr);

    int XControlledBy(int layer) const { return x_[Index(layer)]; }
    int YControlledBy(int layer) const { return y_[Index(layer)]; }
    // Raise EVexRChartError for a destination out of 1..16, a destination
    // that is itself controlled, and a layer that controls others.
    void SetX(int layer, int controlledBy);
    void SetY(int layer, int controlledBy);

    int L01xControlledBy() const { return x_[1]; }
    void SetL01xControlledBy(int m) { SetX(1, m); }
    int L02xControlledBy() const { return x_[2]; }
    void SetL02xControlledBy(int m) { SetX(2, m); }
    int L03xControlledBy() const { return x_[3]; }
    void SetL03xControlledBy(int m) { SetX(3, m); }
    int L04xControlledBy() const { return x_[4]; }
    void SetL04xControlledBy(int m) { SetX(4, m); }
    int L05xControlledBy() const { return x_[5]; }
    void SetL05xControlledBy(int m) { SetX(5, m); }
    int L06xControlledBy() const { return x_[6]; }
    void SetL06xControlledBy(int m) { SetX(6, m); }
    int L07xControlledBy() const { return x_[7]; }
    void SetL07xControlledBy(int m) { SetX(7, m); }
    int L08xControlledBy() const { return x_[8]; }
    void SetL08xControlledBy(int m) { SetX(8, m); }
    int L09xControlledBy() const { return x_[9]; }
    void SetL09xControlledBy(int m) { SetX(9, m); }
    int L10xControlledBy() const { return x_[10]; }
    void SetL10xControlledBy(int m) { SetX(10, m); }
    int L11xControlledBy() const { return x_[11]; }
    void SetL11xControlledBy(int m) { SetX(11, m); }
    int L12xControlledBy() const { return x_[12]; }
    void SetL12xControlledBy(int m) { SetX(12, m); }
    int L13xControlledBy() const { return x_[13]; }
    void SetL13xControlledBy(int m) { SetX(13, m); }
    int L14xControlledBy() const { return x_[14]; }
    void SetL14xControlledBy(int m) { SetX(14, m); }
    int L15xControlledBy() const { return x_[15]; }
    void SetL15xControlledBy(int m) { SetX(15, m); }
    int L16xControlledBy() const { return x_[16]; }
    void SetL16xControlledBy(int m) { SetX(16, m); }
    int L01yControlledBy() const { return y_[1]; }
    void SetL01yControlledBy(int m) { SetY(1, m); }
    int L02yControlledBy() const { return y_[2]; }
    void SetL02yControlledBy(int m) { SetY(2, m); }
    int L03yControlledBy() const { return y_[3]; }
    void SetL03yControlledBy(int m) { SetY(3, m); }
    int L04yControlledBy() const { return y_[4]; }
    void SetL04yControlledBy(int m) { SetY(4, m); }
    int L05yControlledBy() const { return y_[5]; }
    void SetL05yControlledBy(int m) { SetY(5, m); }
    int L06yControlledBy() const { return y_[6]; }
    void SetL06yControlledBy(int m) { SetY(6, m); }
    int L07yControlledBy() const { return y_[7]; }
    void SetL07yControlledBy(int m) { SetY(7, m); }
    int L08yControlledBy() const { return y_[8]; }
    void SetL08yControlledBy(int m) { SetY(8, m); }
    int L09yControlledBy() const { return y_[9]; }
    void SetL09yControlledBy(int m) { SetY(9, m); }
    int L10yControlledBy() const { return y_[10]; }
    void SetL10yControlledBy(int m) { SetY(10, m); }
    int L11yControlledBy() const { return y_[11]; }
    void SetL11yControlledBy(int m) { SetY(11, m); }
    int L12yControlledBy() const { return y_[12]; }
    void SetL12yControlledBy(int m) { SetY(12, m); }
    int L13yControlledBy() const { return y_[13]; }
    void SetL13yControlledBy(int m) { SetY(13, m); }
    int L14yControlledBy() const { return y_[14]; }
    void SetL14yControlledBy(int m) { SetY(14, m); }
    int L15yControlledBy() const { return y_[15]; }
    void SetL15yControlledBy(int m) { SetY(15, m); }
    int L16yControlledBy() const { return y_[16]; }
    void SetL16yControlledBy(int m) { SetY(16, m); }

    // Called after a successful coupling (isX, layer, controlling layer), so
    // the chart can give the layer the controlling layer's range.
    std::function<void(bool isX, int layer, int controlledBy)> OnJoin;
    std::function<void()> OnChange;

private:
    static int Index(int layer) { return layer < 1 ? 1 : layer > 16 ? 16 : layer; }
    void Set(std::array<int, 17>& table, bool isX, int layer, int m);
    std::array<int, 17> x_{};
    std::array<int, 17> y_{};
};
