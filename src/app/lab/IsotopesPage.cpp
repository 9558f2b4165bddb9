#include "app/lab/IsotopesPage.h"

#include "app/lab/PageParts.h"

#include "analysis/ChemicalFormula.h"
#include "app/FieldScan.h"
#include "app/InstrumentLink.h"
#include "app/IsotopePatternSubstance.h"
#include "app/SectorField.h"
#include "app/SubstanceMass.h"
#include "app/UserSpectrumLibrary.h"
#include "chart/RChart.h"
#include "support/Errors.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

TIsotopesPage::TIsotopesPage(TInstrumentLink& instrument, TTranslate translate, QWidget* parent)
    : QWidget(parent), instrument_(instrument), translate_(std::move(translate))
{
    setObjectName(QStringLiteral("IsotopesPage"));

    // The formula and its pattern.
    auto* formulaBox = new QGroupBox(Tr(QStringLiteral("Isotope pattern of a molecule")), this);
    formula_ = new QLineEdit(formulaBox);
    formula_->setObjectName(QStringLiteral("FormulaEdit"));
    formula_->setPlaceholderText(Tr(QStringLiteral("for example CH3Cl, C6H6 or (CH3)3COH")));
    formula_->setAccessibleName(Tr(QStringLiteral("Molecular formula")));
    formula_->setMaxLength(2000);
    auto* formulaLabel = new QLabel(Tr(QStringLiteral("&Molecular formula:")), formulaBox);
    formulaLabel->setBuddy(formula_);
    formulaStatus_ = MakeNote(formulaBox);
    formulaStatus_->setObjectName(QStringLiteral("FormulaStatus"));
    patternTable_ = MakeTable(formulaBox,
                              {Tr(QStringLiteral("Nominal mass")), Tr(QStringLiteral("Exact mass (u)")),
                               Tr(QStringLiteral("Abundance (%)"))},
                              Tr(QStringLiteral("Isotope pattern")));
    patternTable_->setObjectName(QStringLiteral("PatternTable"));
    patternChart_ = MakeStickChart(formulaBox, QStringLiteral("PatternChart"), QSize(360, 150), QMargins(30, 8, 8, 20),
                                   Tr(QStringLiteral("Isotope pattern as a stick chart")));
    add_ = new QPushButton(Tr(QStringLiteral("&Add to substances")), formulaBox);
    add_->setObjectName(QStringLiteral("AddToSubstances"));
    add_->setEnabled(false);
    if (!instrument_.HasUserLibrary())
        add_->setToolTip(Tr(QStringLiteral("The program runs without your own spectrum library.")));
    auto* formulaLayout = new QGridLayout(formulaBox);
    formulaLayout->addWidget(formulaLabel, 0, 0);
    formulaLayout->addWidget(formula_, 0, 1);
    formulaLayout->addWidget(formulaStatus_, 1, 0, 1, 2);
    formulaLayout->addWidget(patternTable_, 2, 0, 1, 2);
    formulaLayout->addWidget(patternChart_, 3, 0, 1, 2, Qt::AlignHCenter);
    formulaLayout->addWidget(add_, 4, 0, 1, 2, Qt::AlignRight);

    // The charge of the ions.
    auto* chargeBox = new QGroupBox(Tr(QStringLiteral("Charge of the ions")), this);
    charge_ = new QComboBox(chargeBox);
    charge_->setObjectName(QStringLiteral("ChargeBox"));
    for (int z = 1; z <= 3; ++z)
        charge_->addItem(QStringLiteral("z = %1").arg(z), z);
    charge_->setAccessibleName(Tr(QStringLiteral("Charge of the ions")));
    auto* chargeLabel = new QLabel(Tr(QStringLiteral("&Charge:")), chargeBox);
    chargeLabel->setBuddy(charge_);
    auto* chargeNote = MakeNote(chargeBox);
    chargeNote->setText(Tr(QStringLiteral("The field bends ions by m/z: an ion of charge 2 follows the path of one of half its mass.")));
    auto* chargeLayout = new QGridLayout(chargeBox);
    chargeLayout->addWidget(chargeLabel, 0, 0);
    chargeLayout->addWidget(charge_, 0, 1);
    chargeLayout->setColumnStretch(2, 1);
    chargeLayout->addWidget(chargeNote, 1, 0, 1, 3);

    // The mean mass of the recorded spectrum.
    auto* scanBox = new QGroupBox(Tr(QStringLiteral("Relative atomic mass from the scan")), this);
    scanHint_ = MakeNote(scanBox);
    scanTable_ = MakeTable(scanBox,
                           {Tr(QStringLiteral("m/z")), Tr(QStringLiteral("Mass (u)")), Tr(QStringLiteral("Abundance (%)")),
                            Tr(QStringLiteral("Share (%)"))},
                           Tr(QStringLiteral("Recorded lines")));
    scanTable_->setObjectName(QStringLiteral("ScanTable"));
    meanMass_ = MakeNote(scanBox);
    meanMass_->setObjectName(QStringLiteral("MeanMass"));
    standardWeight_ = MakeNote(scanBox);
    standardWeight_->setObjectName(QStringLiteral("StandardWeight"));
    reach_ = MakeNote(scanBox);
    reach_->setObjectName(QStringLiteral("ReachNotice"));
    reach_->setStyleSheet(QStringLiteral("color: #a00000"));
    auto* scanLayout = new QVBoxLayout(scanBox);
    scanLayout->addWidget(scanHint_);
    scanLayout->addWidget(scanTable_, 1);
    scanLayout->addWidget(meanMass_);
    scanLayout->addWidget(standardWeight_);
    scanLayout->addWidget(reach_);

    auto* right = new QVBoxLayout;
    right->addWidget(chargeBox);
    right->addWidget(scanBox, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(formulaBox, 1);
    layout->addLayout(right, 1);

    connect(formula_, &QLineEdit::textChanged, this, [this] { ShowPattern(); });
    connect(formula_, &QLineEdit::returnPressed, this, [this] {
        if (add_->isEnabled())
            AddToSubstances();
    });
    connect(add_, &QPushButton::clicked, this, [this] { AddToSubstances(); });
    connect(charge_, &QComboBox::activated, this, [this] { instrument_.SetCharge(charge_->currentData().toInt()); });
    connect(&instrument_, &TInstrumentLink::SubstanceChanged, this, [this] {
        ShowScan();
        ShowReach();
    });
    connect(&instrument_, &TInstrumentLink::SpectrumChanged, this, [this] { ShowScan(); });
    connect(&instrument_, &TInstrumentLink::SettingsChanged, this, [this] { ShowReach(); });

    charge_->setCurrentIndex(std::clamp(instrument_.Charge(), 1, 3) - 1);
    ShowPattern();
    ShowScan();
    ShowReach();
}

void TIsotopesPage::SetStatus(const QString& text, bool fault)
{
    formulaStatus_->setText(text);
    formulaStatus_->setStyleSheet(fault ? QStringLiteral("color: #a00000") : QString());
    // A screen reader reads it with the formula field, where the learner is.
    formula_->setAccessibleDescription(text);
}

void TIsotopesPage::ShowPatternError(const QString& message)
{
    pattern_.reset();
    SetStatus(message, true);
    patternTable_->setRowCount(0);
    patternChart_->ClearItems();
    patternChart_->ShowItems();
    add_->setEnabled(false);
}

void TIsotopesPage::ShowPattern()
{
    QString text = formula_->text();
    if (text.trimmed().isEmpty()) {
        ShowPatternError({});
        SetStatus(Tr(QStringLiteral("Type a molecular formula: its isotope pattern appears below.")), false);
        return;
    }
    try {
        const TChemicalFormula formula = ParseChemicalFormula(text);
        pattern_ = ComputeIsotopePattern(formula);
    } catch (const EFormulaError& e) {
        ShowPatternError(Tr(EFormulaError::MessageTemplate(e.Fault()), e.MessageArguments()));
        return;
    }
    if (pattern_->Lines.empty()) {
        ShowPatternError(Tr(EFormulaError::MessageTemplate(TFormulaFault::Empty)));
        return;
    }
    formulaText_ = text.remove(QLatin1Char(' '));
    const std::vector<TPatternLine>& lines = pattern_->Lines;
    std::vector<QStringList> rows;
    rows.reserve(lines.size());
    for (const TPatternLine& l : lines)
        rows.push_back({QString::number(l.NominalMass), FixedText(l.ExactMass, 6), AbundanceText(l.Abundance)});
    FillTable(*patternTable_, rows);

    SetStatus(Tr(QStringLiteral("Molecular ion: <%1%> lines from m/z <%2%> to <%3%>; average molecular mass <%4%> u"),
                 {QString::number(lines.size()), QString::number(lines.front().NominalMass),
                  QString::number(lines.back().NominalMass), FixedText(pattern_->AverageMass, 3)}),
              false);

    // The sticks with a margin of two mass units either side.
    patternChart_->SetSuppressPaint(true);
    patternChart_->ClearItems();
    patternChart_->SetLayerRange(1, lines.front().NominalMass - 2, lines.back().NominalMass + 2, 0, 100);
    patternChart_->SetDataColor(clNavy);
    patternChart_->SetLineWidth(2);
    for (const TPatternLine& l : lines)
        patternChart_->AddLine(l.NominalMass, 0, l.NominalMass, l.Abundance);
    patternChart_->SetSuppressPaint(false);
    patternChart_->ShowItems();
    add_->setEnabled(instrument_.HasUserLibrary());
}

void TIsotopesPage::AddToSubstances()
{
    if (!pattern_)
        return;
    QString error;
    try {
        const TChemicalFormula formula = ParseChemicalFormula(formulaText_);
        const TLibraryRecord record = IsotopePatternRecord(formulaText_, formula, *pattern_);
        if (instrument_.AddUserSubstance(FormatLibraryRecord(record), record.Name, &error)) {
            SetStatus(Tr(QStringLiteral("\"<%1%>\" is among the substances and chosen."), {instrument_.SubstanceName()}),
                      false);
            return;
        }
    } catch (const Exception& e) {
        error = e.Message();
    }
    SetStatus(Tr(QStringLiteral("The substance could not be added: <%1%>"), {error}), true);
}

void TIsotopesPage::ShowScan()
{
    const int z = instrument_.Charge();
    const std::vector<TSpectralLine> sticks = DistinctSticks(instrument_.RecordedLines());
    const TSubstanceMeanMass mass = MeanMassOf(instrument_.SubstanceName(), sticks, z);
    std::vector<QStringList> rows;
    for (const TMeanMassRow& r : mass.Mean.Rows)
        rows.push_back({FixedText(r.RecordedMass / z, z == 1 ? 1 : 2), FixedText(r.Mass, r.Mass == r.RecordedMass ? 1 : 5),
                        AbundanceText(r.Abundance), FixedText(r.Share, 2)});
    FillTable(*scanTable_, rows);
    if (rows.empty()) {
        scanHint_->setText(Tr(QStringLiteral("Record the spectrum of \"<%1%>\" with Start Scan: its lines appear here."),
                              {instrument_.SubstanceName()}));
        meanMass_->clear();
        standardWeight_->clear();
        return;
    }
    scanHint_->setText(Tr(QStringLiteral("The lines of \"<%1%>\" recorded by the scan:"), {instrument_.SubstanceName()}));
    meanMass_->setText(Tr(QStringLiteral("Mean mass, weighted by abundance: <%1%> u"), {FixedText(mass.Mean.Mean, 2)}));
    if (mass.StandardWeight)
        standardWeight_->setText(Tr(mass.Element ? QStringLiteral("Standard atomic weight: <%1%>")
                                                 : QStringLiteral("Standard molecular weight: <%1%>"),
                                    {FixedText(*mass.StandardWeight, 3)}));
    else
        standardWeight_->clear();
}

void TIsotopesPage::ShowReach()
{
    const double k = SectorFieldConstant();
    const int voltage = instrument_.Voltage();
    const double largest = ReachableMasses(voltage, k).High;
    const std::vector<double> out =
        MassesOutOfReach(LinesAtCharge(instrument_.SubstanceLines(), instrument_.Charge()), voltage, k);
    if (out.empty()) {
        reach_->clear();
        return;
    }
    QString text = Tr(QStringLiteral("<%1%> lines of the substance lie above m/z <%2%>, the largest that reaches the detector at <%3%> V."),
                      {QString::number(out.size()), FixedText(largest, 1), QString::number(voltage)});
    if (const auto v = HighestVoltageReaching(out.back(), k))
        text += QLatin1Char(' ') + Tr(QStringLiteral("Set at most <%1%> V to record them all."), {QString::number(*v)});
    else
        text += QLatin1Char(' ') + Tr(QStringLiteral("No voltage of the instrument brings them into focus."));
    reach_->setText(text);
}
