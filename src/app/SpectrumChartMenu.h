#pragma once
// The spectrum chart's context menu: the chart menu (copy, save, print) and
// the export of the recorded spectrum as CSV (see SpectrumCsv.h).

#include "app/SpectrumCsv.h"

#include <functional>

class TChartMenu;
class TRChart;

// header is asked at every export: the substance and voltage of the moment.
TChartMenu* InstallSpectrumChartMenu(TRChart& spectrum, std::function<TSpectrumCsvHeader()> header,
                                     std::function<QString(const QString&)> translate = {});
