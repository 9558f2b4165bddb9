#include "chart/ChartExport.h"

#include "chart/RChart.h"
#include "support/Errors.h"
#include "support/WholeFile.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <algorithm>

namespace {

// Paper pictures are enlarged by whole pixels before they go to a page, so
// that a viewer or printer that smooths scaled pictures still shows sharp
// edges; this many device pixels per chart pixel are plenty on paper.
constexpr int kMaxPaperEnlargement = 6;

QImage PictureOf(TRChart& chart, bool paper)
{
    QImage picture = paper ? chart.RenderPicture(true, kPaperPixelsPerInch) : chart.RenderPicture();
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0)
        throw Exception(QStringLiteral("The chart \"%1\" has no picture yet").arg(chart.objectName()));
    return picture;
}

QString WriteError(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

// Draws the paper picture into target (device pixels), enlarged by whole
// pixels first.
void DrawPaperPicture(QPainter& p, const QImage& picture, const QRect& target)
{
    const int factor = std::clamp(target.width() / std::max(picture.width(), 1), 1, kMaxPaperEnlargement);
    const QImage enlarged = factor == 1 ? picture
                                        : picture.scaled(picture.width() * factor, picture.height() * factor,
                                                         Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // A chart is flat colours and sharp edges: no lossy compression on paper.
    p.setRenderHint(QPainter::LosslessImageRendering);
    p.drawImage(target, enlarged);
}

void WritePng(const QImage& picture, QIODevice& out)
{
    if (!picture.save(&out, "PNG"))
        throw Exception(QStringLiteral("the PNG picture could not be written"));
}

void WriteSvg(const QImage& picture, const QString& title, QIODevice& out)
{
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(picture.size());
    svg.setViewBox(QRect(QPoint(0, 0), picture.size()));
    svg.setResolution(kPaperPixelsPerInch);
    svg.setTitle(title);
    svg.setDescription(QStringLiteral("Chart picture made by Ionpath"));
    QPainter p;
    if (!p.begin(&svg))
        throw Exception(QStringLiteral("the SVG drawing could not be started"));
    p.drawImage(0, 0, picture);
    p.end();
}

void WritePdf(const QImage& picture, const QString& title, QIODevice& out)
{
    QPdfWriter pdf(&out);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Ionpath"));
    const int enlargement = 4;
    pdf.setResolution(kPaperPixelsPerInch * enlargement);
    // One page of the chart's own size: a picture to put into a worksheet.
    const QSizeF points(picture.width() * 72.0 / kPaperPixelsPerInch, picture.height() * 72.0 / kPaperPixelsPerInch);
    pdf.setPageSize(QPageSize(points, QPageSize::Point, title, QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(&pdf))
        throw Exception(QStringLiteral("the PDF document could not be started"));
    DrawPaperPicture(p, picture, QRect(0, 0, picture.width() * enlargement, picture.height() * enlargement));
    p.end();
}

QString TitleOf(const TRChart& chart)
{
    return chart.Caption().isEmpty() ? chart.objectName() : chart.Caption();
}

} // namespace

std::optional<TChartFileFormat> ChartFileFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return TChartFileFormat::Png;
    if (suffix == QLatin1String("svg"))
        return TChartFileFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return TChartFileFormat::Pdf;
    return std::nullopt;
}

void SaveChartPicture(TRChart& chart, const QString& path)
{
    const auto format = ChartFileFormatOf(path);
    if (!format)
        throw Exception(WriteError(path, QStringLiteral("the name must end in .png, .svg or .pdf")));
    SaveChartPicture(chart, path, *format);
}

void SaveChartPicture(TRChart& chart, const QString& path, TChartFileFormat format)
{
    // Drawn first, so that a chart without a picture leaves the file alone.
    const QImage picture = PictureOf(chart, format == TChartFileFormat::Pdf);
    // The writers are given a buffer in memory: they do not all notice a
    // write that falls short, so the file is written from the whole result.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    try {
        switch (format) {
        case TChartFileFormat::Png: WritePng(picture, buffer); break;
        case TChartFileFormat::Svg: WriteSvg(picture, TitleOf(chart), buffer); break;
        case TChartFileFormat::Pdf: WritePdf(picture, TitleOf(chart), buffer); break;
        }
    } catch (const Exception& e) {
        throw Exception(WriteError(path, e.Message()));
    }
    buffer.close();
    QString error;
    if (!WriteWholeFile(path, bytes, &error))
        throw Exception(WriteError(path, error));
}

void CopyChartPicture(TRChart& chart)
{
    QGuiApplication::clipboard()->setImage(PictureOf(chart, false));
}

QImage ChartPaperPicture(TRChart& chart)
{
    return PictureOf(chart, true);
}

void DrawChartOnPaper(TRChart& chart, QPainter& painter, const QRect& target)
{
    DrawPaperPicture(painter, PictureOf(chart, true), target);
}

void PrintChart(TRChart& chart, QPrinter& printer)
{
    const QImage picture = PictureOf(chart, true);
    printer.setDocName(TitleOf(chart));
    QPainter p;
    if (!p.begin(&printer))
        throw Exception(QStringLiteral("The printer \"%1\" cannot be opened").arg(printer.printerName()));
    const int dpi = printer.resolution();
    const QRect page = printer.pageLayout().paintRectPixels(dpi);
    QSize size(picture.width() * dpi / kPaperPixelsPerInch, picture.height() * dpi / kPaperPixelsPerInch);
    if (size.width() > page.width() || size.height() > page.height())
        size = size.scaled(page.size(), Qt::KeepAspectRatio);
    // The painter's origin is the top-left corner of the printable area.
    DrawPaperPicture(p, picture, QRect(QPoint((page.width() - size.width()) / 2, 0), size));
    p.end();
}
