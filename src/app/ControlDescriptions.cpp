#include "app/ControlDescriptions.h"

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "chart/RChart.h"
#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <initializer_list>

namespace {

// Keys, not texts: the window's translation replaces them. A name that is
// empty leaves the control's own (a button's caption, a read-out's text).
void Describe(QWidget* w, const char* nameKey, const char* descriptionKey)
{
    if (nameKey)
        w->setAccessibleName(QLatin1String("LX_") + QLatin1String(nameKey));
    w->setAccessibleDescription(QLatin1String("LX_") + QLatin1String(descriptionKey));
}

void ChainTabs(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QLabel* Label(QWidget& window, const char* name)
{
    return window.findChild<QLabel*>(QLatin1String(name));
}

} // namespace

void DescribeControls(TfrmExample& w)
{
    Describe(w.RChart1, "Magnetic Deflection",
             "The circular paths of the ions from the ion source through the magnetic field; ions on the path "
             "through the slit reach the detector");
    Describe(w.RChart2, "Mass Spectrum", "The detector signal over the mass; the dashed line marks the mass in focus");
    Describe(w.spectrumbox, "Selected Substance", "Chooses the substance whose mass spectrum is recorded");
    Describe(w.MMExplain, "Explanation", "How the mass spectrometer works");
    Describe(w.Energy, "Acceleration Voltage", "Sets the acceleration voltage of the ions, 3000 to 8000 V");
    Describe(w.TBMagnetic, "Magnetic Field", "Sets the magnetic field, 0.1 to 500 mT");
    Describe(w.EnergyNum, "Acceleration voltage in volts", "The acceleration voltage set with the slider");
    Describe(w.MagnetNum, "Magnetic field in millitesla", "The magnetic field set with the slider");
    // The mass display is named by its label, so that its own name is the
    // mass it shows and a screen reader announces every new one.
    Describe(w.RLabMass, nullptr, "The mass of the ions in focus on the detector");
    Describe(w.cmdExit, "Exit", "Ends the program");
    Describe(w.SBAbout, "About", "Shows the program's name, version and web sites");
    Describe(w.ScStartBtn, "Start Scan", "Raises the magnetic field step by step and records the mass spectrum");
    Describe(w.ScStopBtn, "Stop Scan", "Stops the scan; the magnetic field stays where it is");
    Describe(w.ClearBtn, "Clear Spectrum", "Removes the recorded mass spectrum");
    Describe(w.LaboratoryBtn, "Laboratory", "Opens the Laboratory: isotope patterns from formulas, the charge of the ions and the relative atomic mass from a scan");

    if (QLabel* l = Label(w, "Voltage"))
        l->setBuddy(w.Energy);
    if (QLabel* l = Label(w, "MFieldLb"))
        l->setBuddy(w.TBMagnetic);
    if (QLabel* l = Label(w, "selspektrum"))
        l->setBuddy(w.spectrumbox);
    if (QLabel* l = Label(w, "Label1"))
        l->setBuddy(w.RLabMass);

    // The explanation can be read and selected from the keyboard; Tab leaves it.
    w.MMExplain->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    w.MMExplain->setTabChangesFocus(true);

    // The instrument panel from top to bottom (left to right within a row),
    // then the command column.
    ChainTabs({w.RChart1, w.spectrumbox, w.MMExplain, w.Energy, w.TBMagnetic, w.RChart2, w.cmdExit, w.SBAbout,
               w.LaboratoryBtn, w.ScStartBtn, w.ScStopBtn, w.ClearBtn});
}

void DescribeControls(TFrmAbout& box)
{
    Describe(box.LblHomePage, "HomePage", "Opens the home page in the web browser");
    // The collection's address is its caption and its name.
    box.LblSimus->setAccessibleName(TFrmAbout::SimulationsAddress);
    Describe(box.LblSimus, nullptr, "Opens a collection of simulations in the web browser");
    Describe(box.BButOK, "OK", "Closes this window");
    ChainTabs({box.LblHomePage, box.LblSimus, box.BButOK});
}
