#include "chart/ChartExport.h"
#include "chart/RChart.h"
#include "support/Errors.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr TColor kInk = clRed;

// A chart with a caption, visible axes, a cross-hair and a small plus mark
// (symbol 1), whose screen and printer forms differ.
struct ExportChart {
    TRChart c;
    QPoint mark;
    ExportChart()
    {
        c.setObjectName(QStringLiteral("ExportChart"));
        c.SetControlBounds(0, 0, 300, 200);
        c.SetLayerRange(1, 0, 100, 0, 100);
        c.SetCaption(QStringLiteral("Export"));
        c.SetDataColor(kInk);
        c.AddMark(50, 50, 1);
        c.SetDataColor(clBlue);
        c.AddLine(10, 10, 90, 80);
        c.CrossHair1()->SetMode(chVert);
        c.CrossHair1()->SetPosX(25);
        int x, y;
        c.WorldToPixel(1, 50, 50, x, y);
        mark = {x, y};
        c.show();
        c.RenderChart();
    }
};

QImage Rgb(const QImage& i)
{
    return i.convertToFormat(QImage::Format_RGB32);
}

bool IsInk(const QImage& i, QPoint p)
{
    return (i.pixel(p) & 0xFFFFFF) == (ToQRgb(kInk) & 0xFFFFFF);
}

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ChartExport, TheScreenPictureIsWhatTheWindowShows)
{
    ExportChart e;
    const QImage picture = e.c.RenderPicture();
    ASSERT_EQ(picture.size(), QSize(300, 200));
    EXPECT_EQ(Rgb(picture), Rgb(e.c.Presented()));
    // a hidden chart still gives its picture, the same one
    e.c.hide();
    EXPECT_EQ(Rgb(e.c.RenderPicture()), Rgb(picture));
}

TEST(ChartExport, PaperTakesThePrinterFormsAndTheScreenKeepsItsOwn)
{
    ExportChart e;
    e.c.SetAutoRedraw(true);
    const QImage screen = e.c.RenderPicture();
    const QImage paper = ChartPaperPicture(e.c);
    const QPoint arm = e.mark + QPoint(-2, 0); // the printer's plus has arms of 2
    EXPECT_TRUE(IsInk(screen, e.mark));
    EXPECT_FALSE(IsInk(screen, arm));
    EXPECT_TRUE(IsInk(paper, arm));
    // Afterwards the data picture drawn by ShowItems is the screen's again.
    e.c.ShowItems();
    EXPECT_FALSE(IsInk(e.c.Presented(), arm));
    EXPECT_EQ(Rgb(e.c.ControlBitmap().Image()), Rgb(screen));
}

TEST(ChartExport, SavedFilesHoldTheChartsPicture)
{
    ExportChart e;
    const QImage picture = Rgb(e.c.RenderPicture());
    QTemporaryDir dir;
    struct Case {
        const char* name;
        std::optional<TChartFileFormat> format;
    };
    const Case cases[] = {{"a.png", TChartFileFormat::Png}, {"b.SVG", TChartFileFormat::Svg},
                          {"c.pdf", TChartFileFormat::Pdf}, {"d.jpg", std::nullopt}, {"e", std::nullopt}};
    for (const Case& k : cases)
        EXPECT_EQ(ChartFileFormatOf(QString::fromLatin1(k.name)), k.format) << k.name;

    const QString png = dir.filePath(QStringLiteral("a.png"));
    SaveChartPicture(e.c, png);
    const QImage read(png);
    EXPECT_EQ(Rgb(read), picture);

    const QString svg = dir.filePath(QStringLiteral("b.SVG"));
    SaveChartPicture(e.c, svg);
    const QByteArray svgText = Contents(svg);
    EXPECT_TRUE(svgText.contains("viewBox=\"0 0 300 200\""));
    EXPECT_TRUE(svgText.contains("<title>Export</title>"));
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    QImage drawn(300, 200, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter p(&drawn);
        renderer.render(&p);
    }
    for (QPoint at : {e.mark, QPoint(0, 0), QPoint(150, 100), QPoint(299, 199)})
        EXPECT_EQ(drawn.pixel(at), picture.pixel(at)) << at.x() << "," << at.y();

    const QString pdf = dir.filePath(QStringLiteral("c.pdf"));
    SaveChartPicture(e.c, pdf);
    const QByteArray pdfText = Contents(pdf);
    EXPECT_TRUE(pdfText.startsWith("%PDF"));
    // one page of the chart's size at 96 pixels per inch: 225 x 150 points
    EXPECT_TRUE(pdfText.contains("/MediaBox [0 0 225"));
    EXPECT_EQ(pdfText.count("/Type /Page\n") + pdfText.count("/Type /Page\r") + pdfText.count("/Type /Page "), 1);
    // sharp on paper: kept without lossy compression
    EXPECT_FALSE(pdfText.contains("DCTDecode"));
}

TEST(ChartExport, FailuresNameTheFileAndLeaveItAlone)
{
    ExportChart e;
    QTemporaryDir dir;
    auto message = [&](const QString& path) {
        try {
            SaveChartPicture(e.c, path);
        } catch (const Exception& x) {
            return x.Message();
        }
        return QString();
    };
    EXPECT_TRUE(message(dir.filePath(QStringLiteral("chart.bmp"))).contains(QStringLiteral(".png, .svg or .pdf")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("chart.bmp"))));
    // a folder that is a file
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString inside = dir.filePath(QStringLiteral("file/chart.png"));
    EXPECT_TRUE(message(inside).startsWith(QStringLiteral("Cannot write \"")));
    // a chart without a picture does not overwrite what is there
    const QString kept = dir.filePath(QStringLiteral("kept.png"));
    QFile k(kept);
    ASSERT_TRUE(k.open(QIODevice::WriteOnly));
    k.write("old");
    k.close();
    e.c.BeginLoading();
    EXPECT_FALSE(message(kept).isEmpty());
    EXPECT_EQ(Contents(kept), QByteArray("old"));
}

TEST(ChartExport, CopyPutsThePictureOnTheClipboard)
{
    ExportChart e;
    QGuiApplication::clipboard()->clear();
    CopyChartPicture(e.c);
    EXPECT_EQ(Rgb(QGuiApplication::clipboard()->image()), Rgb(e.c.RenderPicture()));
}

TEST(ChartExport, PrintingMakesOnePageWithThePaperPicture)
{
    ExportChart e;
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(path);
    PrintChart(e.c, printer);
    const QByteArray pdf = Contents(path);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    // The chart keeps its screen size on paper (300 pixels: 3.125 inch), held
    // by a picture enlarged 6 times for the printer's 1200 dots per inch.
    EXPECT_EQ(printer.resolution(), 1200);
    EXPECT_TRUE(pdf.contains("/Width 1800"));
    EXPECT_TRUE(pdf.contains("/Height 1200"));
}
