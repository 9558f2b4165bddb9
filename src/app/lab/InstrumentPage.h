#pragma once
// The Instrument page of the Laboratory: the real instrument behind the
// picture. The detector (the classic one, a slit, a photographic plate), the
// widths of the source and detector slits, the beam's energy and angular
// spread; the resolving power the geometry promises and the one measured
// from the last slit scan; and the range of m/z the field can bring to the
// detector at the voltage set, with the substance's lines beyond it.

#include "analysis/SectorInstrument.h"
#include "app/lab/LaboratoryTexts.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class TInstrumentLink;

class TInstrumentPage : public QWidget {
    Q_OBJECT
public:
    TInstrumentPage(TInstrumentLink& instrument, TTranslate translate, QWidget* parent = nullptr);

    QComboBox* DetectorBox() const { return detector_; }
    QDoubleSpinBox* SourceSlitBox() const { return sourceSlit_; }
    QDoubleSpinBox* DetectorSlitBox() const { return detectorSlit_; }
    QDoubleSpinBox* EnergySpreadBox() const { return energySpread_; }
    QDoubleSpinBox* AngularSpreadBox() const { return angularSpread_; }
    QLabel* Expected() const { return expected_; }
    QLabel* Measured() const { return measured_; }
    QLabel* Reach() const { return reach_; }

    // The settings as the controls hold them.
    TInstrumentSettings Settings() const;

private:
    void Apply();
    void ShowSettings();
    void ShowExpected();
    void ShowMeasured();
    void ShowReach();
    QString Tr(const QString& key, const QStringList& args = {}) const { return translate_(key, args); }

    TInstrumentLink& instrument_;
    TTranslate translate_;
    QComboBox* detector_ = nullptr;
    QDoubleSpinBox* sourceSlit_ = nullptr;
    QDoubleSpinBox* detectorSlit_ = nullptr;
    QDoubleSpinBox* energySpread_ = nullptr;
    QDoubleSpinBox* angularSpread_ = nullptr;
    QLabel* expected_ = nullptr;
    QLabel* measured_ = nullptr;
    QLabel* reach_ = nullptr;
};
