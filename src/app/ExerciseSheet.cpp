#include "app/ExerciseSheet.h"

#include "app/FieldScan.h"
#include "app/SpectrometerCharts.h"
#include "app/SpectrumLibrary.h"
#include "app/Substance.h"
#include "chart/ChartExport.h"
#include "chart/RChart.h"
#include "support/Errors.h"
#include "support/WholeFile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kDotsPerInch = 300;
constexpr int kStartVoltage = 5000;

// The learner's spectrum of one sample, as the window would show it after a
// scan, without the cursor (no field is set on paper).
void RecordSample(TRChart& chart, const TSubstance& s, int voltage, const TTranslate& tr)
{
    SetUpSpectrumChart(chart);
    chart.SetCaption(tr(QStringLiteral("Mass Spectrum"), {}));
    chart.CrossHair1()->SetMode(chOff);
    if (const auto end = MassAxisEndAfter(s.LastMass))
        chart.Scale1X()->SetRangeHigh(*end);
    TFieldScan scan(s.Lines, voltage, kFieldMinimum);
    scan.Run();
    for (const TSpectralLine& stick : scan.Sticks())
        chart.AddLine(stick.Mass, 0, stick.Mass, stick.Abundance);
}

template <typename Fail>
TSubstance SampleSubstance(const TExercise& exercise, int sample, TSpectrumLibrary& shipped, const Fail& fail)
{
    std::optional<TSubstance> s;
    try {
        s = LoadSubstance(shipped, exercise.Substances.at(sample));
    } catch (const Exception& e) {
        fail(e.Message());
    }
    if (!s || s->Lines.empty())
        fail(QStringLiteral("no substance \"%1\" in the library").arg(exercise.Substances.at(sample)));
    return *s;
}

void PaintSheetPage(QPainter& p, const QRect& page, int dotsPerInch, const TExercise& exercise, int sample,
                    const TSubstance& s, const TTranslate& tr)
{
    const int line = dotsPerInch / 4; // a line of text and its spacing
    const double heaviest =
        std::max_element(s.Lines.begin(), s.Lines.end(), [](const TSpectralLine& a, const TSpectralLine& b) {
            return a.Mass < b.Mass;
        })->Mass;
    const int voltage = SheetVoltage(heaviest);

    // Point sizes scale with the device's resolution by themselves.
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPointSize(16);
    title.setBold(true);
    QFont text(QStringLiteral("DejaVu Sans"));
    text.setPointSize(11);
    p.save();
    p.translate(page.topLeft());
    const int w = page.width();
    int y = 0;
    p.setFont(title);
    p.drawText(QRect(0, y, w, 2 * line), Qt::AlignLeft | Qt::AlignVCenter,
               tr(QStringLiteral("Sample <%1%>"), {SampleLetter(sample)}));
    p.setFont(text);
    p.drawText(QRect(0, y, w, 2 * line), Qt::AlignRight | Qt::AlignVCenter,
               tr(QStringLiteral("Ionpath exercise <%1%>"), {exercise.Seed}));
    y += 3 * line;
    p.drawText(QRect(0, y, w, 3 * line), Qt::TextWordWrap,
               tr(QStringLiteral("The mass spectrum of the sample, recorded by a field scan at <%1%> V. Which "
                                 "substance is it? Give reasons from its lines."),
                  {QString::number(voltage)}));
    y += 3 * line;

    TRChart chart;
    RecordSample(chart, s, voltage, tr);
    const QSize picture = ChartPaperPicture(chart).size();
    const int height = w * picture.height() / std::max(picture.width(), 1);
    DrawChartOnPaper(chart, p, QRect(0, y, w, height));
    y += height + 2 * line;

    // Lines to write on.
    for (const QString& prompt :
         {tr(QStringLiteral("Substance:"), {}), tr(QStringLiteral("Molecular mass:"), {}), tr(QStringLiteral("Reasons:"), {})}) {
        p.drawText(QRect(0, y, w, line), Qt::AlignLeft | Qt::AlignBottom, prompt);
        p.drawLine(w / 4, y + line, w, y + line);
        y += 2 * line;
    }
    for (; y + line < page.height(); y += 2 * line)
        p.drawLine(0, y + line, w, y + line);
    p.restore();
}

} // namespace

QImage ExerciseSheetPicture(const TExercise& exercise, int sample, TSpectrumLibrary& shipped, const TTranslate& tr,
                            int dotsPerInch)
{
    // A4 less 20 mm margins: 170 x 257 mm.
    const QSize size(int(170 / 25.4 * dotsPerInch), int(257 / 25.4 * dotsPerInch));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(int(dotsPerInch / 0.0254));
    image.setDotsPerMeterY(int(dotsPerInch / 0.0254));
    const auto fail = [](const QString& reason) { throw Exception(reason); };
    QPainter p(&image);
    PaintSheetPage(p, QRect(QPoint(0, 0), size), dotsPerInch, exercise, sample,
                   SampleSubstance(exercise, sample, shipped, fail), tr);
    return image;
}

int SheetVoltage(double heaviestMass)
{
    const auto highest = HighestVoltageReaching(heaviestMass, SectorFieldConstant());
    return std::min(kStartVoltage, highest.value_or(3000));
}

void WriteExerciseSheet(const TExercise& exercise, TSpectrumLibrary& shipped, const QString& path,
                        const TTranslate& tr)
{
    const auto fail = [&path](const QString& reason) {
        throw Exception(QStringLiteral("The worksheet \"%1\" could not be written: %2").arg(path, reason));
    };
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(tr(QStringLiteral("Ionpath exercise <%1%>"), {exercise.Seed}));
        pdf.setCreator(QStringLiteral("Ionpath"));
        pdf.setResolution(kDotsPerInch);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                      QPageLayout::Millimeter));
        QPainter p;
        if (!p.begin(&pdf))
            fail(QStringLiteral("the PDF document could not be started"));
        const QRect page = pdf.pageLayout().paintRectPixels(kDotsPerInch).translated(
            -pdf.pageLayout().paintRectPixels(kDotsPerInch).topLeft());

        for (int i = 0; i < exercise.Substances.size(); ++i) {
            if (i > 0)
                pdf.newPage();
            PaintSheetPage(p, page, kDotsPerInch, exercise, i, SampleSubstance(exercise, i, shipped, fail), tr);
        }
        p.end();
    }
    buffer.close();
    QString error;
    if (!WriteWholeFile(path, bytes, &error))
        fail(error);
}
