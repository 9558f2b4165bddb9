#pragma once
// The context menus of the two spectrometer charts: on both the chart menu
// (copy, save as PNG, SVG or PDF, print); on the spectrum chart also the
// export of the recorded spectrum as CSV (see SpectrumCsv.h) and the checked
// entry "Logarithmic abundance" (the action named LogarithmicAbundance),
// which switches the abundance axis between linear and logarithmic
// (SetLogarithmicAbundance in SpectrometerCharts.h).

#include "app/SpectrumCsv.h"

#include <functional>

class TChartMenu;
class TRChart;

// translate: the window's translation of the menu's English texts.
using TMenuTranslation = std::function<QString(const QString&)>;

TChartMenu* InstallDeflectionChartMenu(TRChart& deflection, TMenuTranslation translate = {});
// header is asked at every export: the substance and voltage of the moment.
TChartMenu* InstallSpectrumChartMenu(TRChart& spectrum, std::function<TSpectrumCsvHeader()> header,
                                     TMenuTranslation translate = {});
