#include "app/lab/InstrumentPage.h"

#include "app/lab/PageParts.h"

#include "app/InstrumentLink.h"
#include "app/SectorField.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QDoubleSpinBox* MakeSpin(QWidget* parent, double low, double high, double step, int decimals, double value,
                         const QString& unit)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setRange(low, high);
    s->setSingleStep(step);
    s->setDecimals(decimals);
    s->setValue(value);
    s->setSuffix(QLatin1Char(' ') + unit);
    // A value typed digit by digit is applied once, not at every digit.
    s->setKeyboardTracking(false);
    return s;
}

} // namespace

TInstrumentPage::TInstrumentPage(TInstrumentLink& instrument, TTranslate translate, QWidget* parent)
    : QWidget(parent), instrument_(instrument), translate_(std::move(translate))
{
    setObjectName(QStringLiteral("InstrumentPage"));
    const TInstrumentSettings defaults; // the slit widths a new page offers
    auto* beamBox = new QGroupBox(Tr(QStringLiteral("Detector and beam")), this);
    detector_ = new QComboBox(beamBox);
    detector_->setObjectName(QStringLiteral("DetectorBox"));
    detector_->addItem(Tr(QStringLiteral("Classic detector")), int(TDetectorKind::Classic));
    detector_->addItem(Tr(QStringLiteral("Slit")), int(TDetectorKind::Slit));
    detector_->addItem(Tr(QStringLiteral("Photographic plate")), int(TDetectorKind::Plate));
    detector_->setCurrentIndex(detector_->findData(int(instrument_.Detector().Detector)));
    sourceSlit_ = MakeSpin(beamBox, kSourceSlitLowest, kSourceSlitHighest, 0.05, 2, defaults.SourceSlit, QStringLiteral("mm"));
    detectorSlit_ = MakeSpin(beamBox, kDetectorSlitLowest, kDetectorSlitHighest, 0.05, 2, defaults.DetectorSlit, QStringLiteral("mm"));
    energySpread_ = MakeSpin(beamBox, 0, kEnergySpreadHighest, 5, 0, defaults.EnergySpread, QStringLiteral("V"));
    angularSpread_ = MakeSpin(beamBox, 0, kAngularSpreadHighest, 0.5, 1, defaults.AngularSpread, QStringLiteral("mrad"));
    auto* form = new QFormLayout(beamBox);
    const auto row = [&](const QString& label, const QString& accessible, QWidget* field) {
        form->addRow(label, field);
        field->setAccessibleName(accessible);
    };
    row(Tr(QStringLiteral("&Detector:")), Tr(QStringLiteral("Detector")), detector_);
    row(Tr(QStringLiteral("&Source slit:")), Tr(QStringLiteral("Source slit width")), sourceSlit_);
    row(Tr(QStringLiteral("D&etector slit:")), Tr(QStringLiteral("Detector slit width")), detectorSlit_);
    row(Tr(QStringLiteral("E&nergy spread:")), Tr(QStringLiteral("Energy spread of the ions")), energySpread_);
    row(Tr(QStringLiteral("&Angular spread:")), Tr(QStringLiteral("Half-angle of the beam")), angularSpread_);
    auto* explain = MakeNote(beamBox, QStringLiteral("InstrumentExplanation"));
    explain->setText(Tr(QStringLiteral("At the slit the ions' paths meet the wall square-on: a mass, energy or angle "
                                       "that differs moves the image to first order, a start point along the source "
                                       "slit only to second order. So the detector slit, the energy spread and the "
                                       "angular spread broaden a peak; the source slit hardly does.")));
    form->addRow(explain);

    auto* powerBox = new QGroupBox(Tr(QStringLiteral("Resolving power")), this);
    expected_ = MakeNote(powerBox, QStringLiteral("ExpectedResolvingPower"));
    measured_ = MakeNote(powerBox, QStringLiteral("MeasuredResolvingPower"));
    auto* powerLayout = new QVBoxLayout(powerBox);
    powerLayout->addWidget(expected_);
    powerLayout->addWidget(measured_);

    auto* reachBox = new QGroupBox(Tr(QStringLiteral("Reachable masses")), this);
    reach_ = MakeNote(reachBox, QStringLiteral("ReachableMasses"));
    auto* reachLayout = new QVBoxLayout(reachBox);
    reachLayout->addWidget(reach_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(beamBox);
    layout->addWidget(powerBox);
    layout->addWidget(reachBox);
    layout->addStretch(1);

    connect(detector_, &QComboBox::activated, this, [this] { Apply(); });
    for (QDoubleSpinBox* s : {sourceSlit_, detectorSlit_, energySpread_, angularSpread_})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] { Apply(); });
    connect(&instrument_, &TInstrumentLink::SettingsChanged, this, [this] {
        ShowSettings();
        ShowExpected();
        ShowReach();
    });
    connect(&instrument_, &TInstrumentLink::SubstanceChanged, this, [this] { ShowReach(); });
    connect(&instrument_, &TInstrumentLink::SpectrumChanged, this, [this] { ShowMeasured(); });
    ShowSettings();
    ShowExpected();
    ShowMeasured();
    ShowReach();
}

TInstrumentSettings TInstrumentPage::Settings() const
{
    TInstrumentSettings s;
    s.Detector = TDetectorKind(detector_->currentData().toInt());
    s.SourceSlit = sourceSlit_->value();
    s.DetectorSlit = detectorSlit_->value();
    s.EnergySpread = energySpread_->value();
    s.AngularSpread = angularSpread_->value();
    return s;
}

void TInstrumentPage::Apply()
{
    instrument_.SetDetector(Settings());
    ShowSettings(); // as the instrument took them (not during a scan)
    ShowExpected();
}

void TInstrumentPage::ShowSettings()
{
    // The instrument's own settings, whoever set them; the classic detector
    // keeps the widths offered for the next slit.
    const TInstrumentSettings& s = instrument_.Detector();
    const QSignalBlocker blockKind(detector_);
    detector_->setCurrentIndex(detector_->findData(int(s.Detector)));
    const bool widths = s.Detector != TDetectorKind::Classic;
    const std::pair<QDoubleSpinBox*, double> boxes[] = {
        {sourceSlit_, s.SourceSlit}, {detectorSlit_, s.DetectorSlit}, {energySpread_, s.EnergySpread},
        {angularSpread_, s.AngularSpread}};
    for (const auto& [box, value] : boxes) {
        const QSignalBlocker block(box);
        if (widths)
            box->setValue(value);
        box->setEnabled(widths);
    }
}

void TInstrumentPage::ShowExpected()
{
    const auto power = FirstOrderResolvingPower(Settings(), instrument_.Voltage());
    expected_->setText(power ? Tr(QStringLiteral("From the geometry: m/\u0394m = <%1%> (half-height width m \u00b7 max(w, s\u2082) / 40, w the image of the spreads)"),
                                  {QString::number(*power, 'f', 0)})
                             : Tr(QStringLiteral("The classic detector takes a line whole when its path ends within one chart unit of the detector.")));
}

void TInstrumentPage::ShowMeasured()
{
    const auto peak = StrongestPeakWidth(instrument_.RecordedTrace());
    measured_->setText(peak ? Tr(QStringLiteral("Measured from the last scan: m/\u0394m = <%1%> at m/z <%2%> (width at half height <%3%>)"),
                                 {QString::number(peak->ResolvingPower, 'f', 0), QString::number(peak->Mass, 'f', 1),
                                  QString::number(peak->Fwhm, 'f', 3)})
                            : Tr(QStringLiteral("Scan with the slit detector to measure the resolving power.")));
}

void TInstrumentPage::ShowReach()
{
    const int voltage = instrument_.Voltage();
    const TMassRange range = ReachableMasses(voltage, SectorFieldConstant());
    QString text = Tr(QStringLiteral("At <%1%> V the field (0.1 to 500 mT) brings m/z <%2%> to <%3%> to the detector."),
                      {QString::number(voltage), QString::number(range.Low, 'f', 6), QString::number(range.High, 'f', 1)});
    QStringList out;
    for (const double mz : MassesOutOfReach(LinesAtCharge(instrument_.SubstanceLines(), instrument_.Charge()), voltage,
                                            SectorFieldConstant()))
        out.append(QString::number(mz, 'g', 6));
    if (!out.isEmpty())
        text += QLatin1Char(' ') + Tr(QStringLiteral("Out of reach: the lines at m/z <%1%>."), {out.join(QStringLiteral(", "))});
    reach_->setText(text);
}
