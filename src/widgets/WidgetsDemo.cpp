#include "widgets/WidgetsDemo.h"

#include "support/FormatReal.h"
#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"

#include <QSlider>

namespace {

TNumLab* ReadOut(QWidget* parent, const QString& name, QRect geometry, const QString& unit)
{
    auto* n = new TNumLab(parent);
    n->setObjectName(name);
    n->setGeometry(geometry);
    n->SetDisplayType(dtFixP);
    n->SetPrecision(0);
    n->SetLabelWidth(50);
    n->SetLeftSpace(0);
    n->SetRightText(unit);
    return n;
}

TNumLab* Example(QWidget* parent, int y, const QString& caption, TDisplay type, int precision, double value)
{
    auto* n = new TNumLab(parent);
    n->setGeometry(250, y, 230, 22);
    n->SetLeftSpace(70);
    n->SetLabelWidth(110);
    n->SetLeftText(caption);
    n->SetDisplayType(type);
    n->SetPrecision(precision);
    n->SetValue(value);
    return n;
}

} // namespace

QWidget* CreateWidgetsDemo(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->resize(500, 230);

    auto* mass = new TRasterLab(panel);
    mass->setObjectName(QStringLiteral("RLabMass"));
    mass->setGeometry(8, 8, 113, 49);
    mass->SetAutoCenter(true);
    mass->SetText(QStringLiteral("220.8"));

    auto* energy = ReadOut(panel, QStringLiteral("EnergyNum"), QRect(130, 8, 96, 20), QStringLiteral("[V]"));
    energy->SetValue(5000);
    auto* field = ReadOut(panel, QStringLiteral("MagnetNum"), QRect(130, 36, 116, 20), QStringLiteral("[mT]"));

    auto* slider = new QSlider(Qt::Horizontal, panel);
    slider->setGeometry(8, 66, 238, 22);
    slider->setRange(1, 5000);
    QObject::connect(slider, &QSlider::valueChanged, panel, [=](int bp) {
        field->SetValue(bp / 10);
        // A stand-in for the focused mass, so that the read-out moves.
        mass->SetText(FormatReal(1, 1, 2000.0 / (1 + bp / 25.0)));
    });
    slider->setValue(1000);

    auto* banner = new TRasterLab(panel);
    banner->setGeometry(8, 100, 238, 37);
    banner->SetDotSize(2);
    banner->SetAutoHeight(true);
    banner->SetColorDotOn(0x00C0FF);
    banner->SetColorDotOff(0x202830);
    banner->SetText(QStringLiteral("Ionpath - Massenspektrometer: Größe ÄÖÜ äöü ß  "));
    banner->SetScrollInterval(40);
    banner->SetScrollMode(rdsmLeft);

    auto* fixed = new TRasterLab(panel);
    fixed->setGeometry(8, 150, 238, 37);
    fixed->SetDotSize(2);
    fixed->SetAutoHeight(true);
    fixed->SetProportional(false);
    fixed->SetCharBlockMode(rdbmRaster);
    fixed->SetFrameStyle(fsEngraved);
    fixed->SetColorDotOn(0x4040FF);
    fixed->SetColorDotOff(0x201818);
    fixed->SetText(QStringLiteral("-12.5°C"));

    Example(panel, 8, QStringLiteral("Hex"), dtHex, 4, 48879);
    Example(panel, 36, QStringLiteral("Binary"), dtBin, 8, 165);
    Example(panel, 64, QStringLiteral("Angle"), dtDegMinSec, 1, 48.1372);
    Example(panel, 92, QStringLiteral("Exponent"), dtExp, 4, 6.02214e23);
    auto* comma = Example(panel, 120, QStringLiteral("Comma"), dtFixP, 2, 3.14159);
    comma->SetComma(true);
    comma->SetForcePlusSign(true);
    Example(panel, 148, QStringLiteral("Overflow"), dtZeroInt, 5, 3e9);
    auto* state = Example(panel, 176, QStringLiteral("State"), dtState, 0, 0);
    state->SetStateText(QStringLiteral("scanning"));
    state->SetFrameStyle(fsRaised);
    return panel;
}
