#include "app/lab/LaboratoryTexts.h"

QString FixedText(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString AbundanceText(double percent)
{
    const int decimals = percent >= 100 ? 1 : percent >= 10 ? 2 : percent >= 1 ? 3 : 4;
    return FixedText(percent, decimals);
}
