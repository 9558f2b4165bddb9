#pragma once
// The Isotopes page of the Laboratory:
// - a molecular formula becomes its isotope pattern (a table of nominal mass,
//   exact mass and abundance, and a stick chart) and, on request, a
//   substance of the user's library;
// - the charge of the ions (1, 2 or 3) for the whole instrument;
// - after a scan, the recorded lines with their shares and the
//   abundance-weighted mean mass, beside the standard atomic weight where the
//   substance is an element;
// - a notice when lines of the substance cannot reach the detector at the
//   voltage set.

#include "analysis/IsotopePattern.h"
#include "app/lab/LaboratoryTexts.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TInstrumentLink;
class TRChart;

class TIsotopesPage : public QWidget {
    Q_OBJECT
public:
    TIsotopesPage(TInstrumentLink& instrument, TTranslate translate, QWidget* parent = nullptr);

    // The page's parts, for tests and screen readers' names.
    QLineEdit* FormulaEdit() const { return formula_; }
    QLabel* FormulaStatus() const { return formulaStatus_; }
    QTableWidget* PatternTable() const { return patternTable_; }
    TRChart* PatternChart() const { return patternChart_; }
    QPushButton* AddButton() const { return add_; }
    QComboBox* ChargeBox() const { return charge_; }
    QTableWidget* ScanTable() const { return scanTable_; }
    QLabel* MeanMassLabel() const { return meanMass_; }
    QLabel* StandardWeightLabel() const { return standardWeight_; }
    QLabel* ReachNotice() const { return reach_; }

    // The pattern of the formula typed, if it could be read.
    const std::optional<TIsotopePattern>& Pattern() const { return pattern_; }

    // Puts the formula's pattern into the user's library (the button).
    void AddToSubstances();
    // Fills the page anew from the instrument.
    void ShowScan();
    void ShowReach();

private:
    void ShowPattern();
    void ShowPatternError(const QString& message);
    void SetStatus(const QString& text, bool fault);
    QString Tr(const QString& key, const QStringList& args = {}) const { return translate_(key, args); }

    TInstrumentLink& instrument_;
    TTranslate translate_;
    std::optional<TIsotopePattern> pattern_;
    QString formulaText_; // as typed, blanks removed, for the substance's name

    QLineEdit* formula_ = nullptr;
    QLabel* formulaStatus_ = nullptr;
    QTableWidget* patternTable_ = nullptr;
    TRChart* patternChart_ = nullptr;
    QPushButton* add_ = nullptr;
    QComboBox* charge_ = nullptr;
    QLabel* scanHint_ = nullptr;
    QTableWidget* scanTable_ = nullptr;
    QLabel* meanMass_ = nullptr;
    QLabel* standardWeight_ = nullptr;
    QLabel* reach_ = nullptr;
};
