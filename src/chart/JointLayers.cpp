#include "chart/JointLayers.h"

#include "support/Errors.h"

#include <QStringList>

TJointLayers::TJointLayers(QObject* parent)
    : QObject(parent)
{
    for (int n = 0; n <= 16; ++n)
        x_[n] = y_[n] = n;
}

void TJointLayers::SetX(int layer, int controlledBy) { Set(x_, true, layer, controlledBy); }
void TJointLayers::SetY(int layer, int controlledBy) { Set(y_, false, layer, controlledBy); }

void TJointLayers::Set(std::array<int, 17>& table, bool isX, int layer, int m)
{
    const int n = Index(layer);
    if (m < 1 || m > 16)
        throw EVexRChartError(QStringLiteral("Destination layer %1 is out of range").arg(m));
    if (m == n) {
        table[n] = n;
        return;
    }
    if (table[m] != m)
        throw EVexRChartError(QStringLiteral("Destination layer %1 is already joined").arg(m));
    QStringList joiners;
    for (int j = 1; j <= 16; ++j)
        if (j != n && table[j] == n)
            joiners << QString::number(j);
    if (!joiners.isEmpty())
        throw EVexRChartError(QStringLiteral("Layer %1 is joined by other layers (%2)")
                                  .arg(n)
                                  .arg(joiners.join(QStringLiteral(", "))));
    table[n] = m;
    if (OnJoin)
        OnJoin(isX, n, m);
    if (OnChange)
        OnChange();
}
