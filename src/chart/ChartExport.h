#pragma once
// Pictures of a chart for the clipboard, files and the printer. Every one is
// the chart's own picture (TRChart::RenderPicture), so that a copy, a file
// and a print look like the chart in its window.
//
//   PNG      the picture, pixel for pixel
//   SVG      a drawing of the chart's size that holds the picture
//   PDF      one page of the chart's size, drawn as on a printer
//   printer  the chart centred at the top of the page
//
// On paper a chart pixel is 1/96 inch, the size the chart has on a usual
// screen (smaller only where the page is narrower), and the picture is drawn
// as on a printer's canvas of that resolution: marks take their printer forms
// and axis labels keep their point size.

#include <QImage>
#include <QString>
#include <optional>

class QPainter;
class QPrinter;
class QRect;
class TRChart;

enum class TChartFileFormat { Png, Svg, Pdf };

constexpr int kPaperPixelsPerInch = 96;

// By the file name's extension (".png", ".svg", ".pdf", any case).
std::optional<TChartFileFormat> ChartFileFormatOf(const QString& path);

// Save in the format the extension names. Failures (an unknown extension, a
// file that cannot be written) throw Exception naming the file and the
// reason; a file that exists is replaced only by a complete new one.
void SaveChartPicture(TRChart& chart, const QString& path);
void SaveChartPicture(TRChart& chart, const QString& path, TChartFileFormat format);

// The screen picture onto the clipboard.
void CopyChartPicture(TRChart& chart);

// Prints one page. Throws Exception when the printer cannot be opened.
void PrintChart(TRChart& chart, QPrinter& printer);

// The picture as drawn for paper.
QImage ChartPaperPicture(TRChart& chart);

// The paper picture into `target` of a page the caller is painting (a
// worksheet of several charts), enlarged by whole pixels as on a PDF page.
// Throws Exception when the chart has no picture.
void DrawChartOnPaper(TRChart& chart, QPainter& painter, const QRect& target);
