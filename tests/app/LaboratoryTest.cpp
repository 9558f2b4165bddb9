// The Laboratory beside the main window: its button, the Isotopes page's
// pattern, the user's substances it adds, the ions' charge and the relative
// atomic mass from a real scan in the window.
#include "app/ErrorReport.h"
#include "app/InstrumentLink.h"
#include "app/MainWindow.h"
#include "app/SpectrometerCharts.h"
#include "app/StartOptions.h"
#include "app/FieldScan.h"
#include "app/Substance.h"
#include "app/lab/IdentifyPage.h"
#include "app/lab/InstrumentPage.h"
#include "app/lab/IsotopesPage.h"
#include "app/lab/LaboratoryWindow.h"
#include "app/lab/LibraryPage.h"
#include "chart/RChart.h"
#include "analysis/ChemicalFormula.h"
#include "i18n/Lexifer2000.h"
#include "i18n/TranslationFile.h"
#include "support/ScopedHook.h"
#include "widgets/RasterLab.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ShippedLibrary()
{
    return QStringLiteral(IONPATH_SHIPPED_LIBRARY);
}

// The main window with the shipped library, a user library in a folder of
// its own and the Laboratory open on it.
struct Laboratory {
    QTemporaryDir folder;
    TfrmExample w;
    std::unique_ptr<TLaboratoryWindow> lab;

    explicit Laboratory(const QByteArray& userContent = {})
    {
        const QString path = folder.filePath(QStringLiteral("ionpath/user_spectra.tra"));
        if (!userContent.isEmpty()) {
            QDir().mkpath(folder.filePath(QStringLiteral("ionpath")));
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(userContent);
        }
        w.SetLibraryPath(ShippedLibrary());
        w.SetUserLibrary(std::make_unique<TUserSpectrumLibrary>(path));
        w.show();
        w.FormActivate();
        lab = std::make_unique<TLaboratoryWindow>(
            w.Instrument(), [this](const QString& key, const QStringList& args) { return w.Lexifer().Translate(key, args); });
    }
    TIsotopesPage& Page() { return *lab->Isotopes(); }
    void Select(const QString& name)
    {
        const int i = w.spectrumbox->findText(name);
        ASSERT_GE(i, 0) << name.toStdString();
        w.spectrumbox->setCurrentIndex(i);
        w.spectrumboxChange();
    }
    QString Cell(const QTableWidget& t, int row, int column) const { return t.item(row, column)->text(); }
};

} // namespace

TEST(StartOptions, ClassicAndUserLibrary)
{
    struct Case {
        QStringList Arguments;
        bool Classic, UserLibrary;
        const char* Seed; // none: no exercise
    };
    const Case cases[] = {
        {{"ionpath"}, false, true, nullptr},
        {{"ionpath", "--classic"}, true, false, nullptr},
        {{"ionpath", "library.tra", "/Classic"}, true, false, nullptr}, // hosts write parameters in any case
        {{"ionpath", "--no-user-library"}, false, false, nullptr},
        {{"ionpath", "--CLASSIC"}, false, true, nullptr}, // the Unix form is exact
        {{"--classic"}, false, true, nullptr},            // the program's own name is no option
        {{"ionpath", "--exercise", "42"}, false, false, "42"}, // samples come from the shipped library
        {{"ionpath", "--exercise=class 7b"}, false, false, "class 7b"},
        {{"ionpath", "/EXERCISE=7"}, false, false, "7"},
        {{"ionpath", "--exercise"}, false, true, nullptr}, // no seed follows
    };
    for (const Case& c : cases) {
        const TStartOptions o = StartOptionsFrom(c.Arguments);
        EXPECT_EQ(o.Classic, c.Classic) << c.Arguments.join(' ').toStdString();
        EXPECT_EQ(o.UserLibrary, c.UserLibrary) << c.Arguments.join(' ').toStdString();
        EXPECT_EQ(o.ExerciseSeed, c.Seed ? std::optional<QString>(QString::fromUtf8(c.Seed)) : std::nullopt)
            << c.Arguments.join(' ').toStdString();
    }
    // None of them, nor the seed after --exercise, is taken for the library's name.
    const QStringList line{"ionpath", "--exercise", "42", "lib.tra", "/classic"};
    EXPECT_EQ(IsStartOption(line, 2), true);
    EXPECT_EQ(IsStartOption(line, 3), false);
    EXPECT_EQ(IsStartOption(line, 4), true);
}

TEST(Laboratory, ButtonOnlyWithAHandler)
{
    TfrmExample w;
    EXPECT_TRUE(w.LaboratoryBtn->isHidden()); // the classic instrument has none
    int opened = 0;
    w.SetLaboratoryHandler([&opened] { ++opened; });
    EXPECT_FALSE(w.LaboratoryBtn->isHidden());
    // In the free space below About, as wide as the other buttons.
    EXPECT_GE(w.LaboratoryBtn->geometry().top(), w.SBAbout->geometry().bottom());
    EXPECT_LT(w.LaboratoryBtn->geometry().bottom(), w.RLabMass->geometry().top() - 16);
    EXPECT_EQ(w.LaboratoryBtn->width(), w.ScStartBtn->width());
    w.LaboratoryBtn->click();
    EXPECT_EQ(opened, 1);
}

TEST(Laboratory, FormulaShowsItsPatternOrWhereItIsWrong)
{
    Laboratory l;
    TIsotopesPage& p = l.Page();
    p.FormulaEdit()->setText(QStringLiteral("CH3Cl"));
    const QTableWidget& t = *p.PatternTable();
    ASSERT_GE(t.rowCount(), 3);
    // M = 50 (12C 1H3 35Cl) is the strongest; M+2 (37Cl) stands at
    // 0.2424 / 0.7576 = 32.0 % of it; M+1 at 1.08 % (13C: 1.07/98.93)
    // + 0.03 % (three chances of 2H at 0.0115 %) = 1.12 %.
    EXPECT_EQ(l.Cell(t, 0, 0), QStringLiteral("50"));
    EXPECT_EQ(l.Cell(t, 0, 2), QStringLiteral("100.0"));
    EXPECT_TRUE(l.Cell(t, 0, 1).startsWith(QStringLiteral("49.99"))); // 12 + 3·1.007825 + 34.968853
    EXPECT_EQ(l.Cell(t, 1, 0), QStringLiteral("51"));
    EXPECT_NEAR(l.Cell(t, 1, 2).toDouble(), 1.12, 0.03);
    EXPECT_EQ(l.Cell(t, 2, 0), QStringLiteral("52"));
    EXPECT_NEAR(l.Cell(t, 2, 2).toDouble(), 32.0, 0.1);
    EXPECT_EQ(p.PatternChart()->ItemCount(), t.rowCount());
    EXPECT_TRUE(p.AddButton()->isEnabled());

    struct Case {
        const char* Typed;
        const char* Says;
    };
    const Case wrong[] = {
        {"CH3Xy", "Unknown element \"Xy\" at position 4"},
        {"Ca(OH2", "Unclosed parenthesis at position 3"},
        {"   ", nullptr}, // nothing typed is no fault: the page asks for a formula
    };
    for (const Case& c : wrong) {
        p.FormulaEdit()->setText(QString::fromUtf8(c.Typed));
        EXPECT_EQ(t.rowCount(), 0) << c.Typed;
        EXPECT_EQ(p.PatternChart()->ItemCount(), 0) << c.Typed;
        EXPECT_FALSE(p.AddButton()->isEnabled()) << c.Typed;
        if (c.Says) {
            EXPECT_EQ(p.FormulaStatus()->text(), QString::fromUtf8(c.Says));
            // A screen reader gives the fault with the field the learner types in.
            EXPECT_EQ(p.FormulaEdit()->accessibleDescription(), QString::fromUtf8(c.Says));
        }
    }
}

TEST(Laboratory, AddedPatternIsTheLastSubstanceAndStaysForTheNextStart)
{
    Laboratory l;
    const int shipped = l.w.spectrumbox->count();
    l.Page().FormulaEdit()->setText(QStringLiteral("CH3 Br"));
    const int lines = l.Page().PatternTable()->rowCount();
    l.Page().AddButton()->click();
    ASSERT_EQ(l.w.spectrumbox->count(), shipped + 1) << l.Page().FormulaStatus()->text().toStdString();
    EXPECT_EQ(l.w.spectrumbox->currentIndex(), shipped);
    EXPECT_EQ(l.w.spectrumbox->currentText(), QStringLiteral("CH3Br (isotope pattern)"));
    EXPECT_EQ(l.w.LineCount(), lines);
    // Its lines are in the window: 79Br and 81Br nearly equal (0.5069 : 0.4931).
    const std::vector<TSpectralLine> loaded = l.w.Instrument().SubstanceLines();
    double a94 = 0, a96 = 0;
    for (const TSpectralLine& s : loaded) {
        if (s.Mass == 94)
            a94 = s.Abundance;
        if (s.Mass == 96)
            a96 = s.Abundance;
    }
    EXPECT_EQ(a94, 100);
    EXPECT_NEAR(a96, 100 * 0.4931 / 0.5069, 0.5);

    // The same pattern once more is chosen, not added twice (the loader would
    // only ever find the first of two records of one name).
    l.Select(l.w.spectrumbox->itemText(0));
    l.Page().AddButton()->click();
    EXPECT_EQ(l.w.spectrumbox->count(), shipped + 1);
    EXPECT_EQ(l.w.spectrumbox->currentIndex(), shipped);

    // The next start finds it in the user's library, after the shipped ones.
    TUserSpectrumLibrary next(l.w.UserLibrary()->Path());
    ASSERT_TRUE(next.Load());
    EXPECT_EQ(next.SubstanceNames(), QStringList{QStringLiteral("CH3Br (isotope pattern)")});
}

TEST(Laboratory, AFailedWriteIsSaidAndChangesNothing)
{
    QTemporaryDir folder;
    // The library's folder is a file: nothing can be written below it.
    QFile blocker(folder.filePath(QStringLiteral("ionpath")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TfrmExample w;
    w.SetLibraryPath(ShippedLibrary());
    w.SetUserLibrary(std::make_unique<TUserSpectrumLibrary>(folder.filePath(QStringLiteral("ionpath/user_spectra.tra"))));
    w.show();
    w.FormActivate();
    const int count = w.spectrumbox->count();
    const QString selected = w.spectrumbox->currentText();
    TLaboratoryWindow lab(w.Instrument(), [&w](const QString& k, const QStringList& a) { return w.Lexifer().Translate(k, a); });
    lab.Isotopes()->FormulaEdit()->setText(QStringLiteral("Cl2"));
    lab.Isotopes()->AddButton()->click();
    EXPECT_EQ(w.spectrumbox->count(), count);
    EXPECT_EQ(w.spectrumbox->currentText(), selected);
    EXPECT_TRUE(lab.Isotopes()->FormulaStatus()->text().startsWith(QStringLiteral("The substance could not be added: ")));
}

TEST(Laboratory, BrokenUserLibraryIsReportedOnceAndTheRestWorks)
{
    int reports = 0;
    TScopedHook hook(TApplication::ErrorPresenter(), [&reports](const QString&) { ++reports; });
    const QByteArray good = "/NAME\r\nGood (by courtesy of a teacher)\r\n-\r\n-\r\n-\r\n   20.0 100.00\r\n/PHYSP\r\n\r\n";
    const QByteArray bad = "/NAME\r\nBad (by courtesy of a teacher)\r\n-\r\n-\r\n-\r\n   2x.0 100.00\r\n/PHYSP\r\n\r\n";
    Laboratory l(bad + good);
    EXPECT_EQ(reports, 1);
    const int shipped = l.w.ShippedSubstanceCount();
    ASSERT_GT(shipped, 50);
    ASSERT_EQ(l.w.spectrumbox->count(), shipped + 1);
    EXPECT_EQ(l.w.spectrumbox->itemText(shipped), QStringLiteral("Good"));
    l.Select(QStringLiteral("Good"));
    EXPECT_EQ(l.w.LineCount(), 1);
    l.Select(l.w.spectrumbox->itemText(0));
    EXPECT_GT(l.w.LineCount(), 1);
}

TEST(Laboratory, ChargeTwoBendsByHalfTheMass)
{
    Laboratory l;
    l.Select(QStringLiteral("Xenon (natural isotopes)"));
    TfrmExample& w = l.w;
    EXPECT_EQ(w.RChart2->Scale1X()->RangeHigh(), 146); // trunc(136) + 10
    w.TBMagnetic->setValue(3000);
    std::vector<double> radii;
    for (int i = 0; i < w.RChart1->ItemCount(); ++i)
        radii.push_back(w.RChart1->Item(i).X2); // an ellipse's radius

    l.Page().ChargeBox()->setCurrentIndex(1);
    emit l.Page().ChargeBox()->activated(1);
    EXPECT_EQ(w.Charge(), 2);
    // r = sqrt(2 m U / (z e)) / B: a factor 1/sqrt(2) at z = 2.
    ASSERT_EQ(w.RChart1->ItemCount(), int(radii.size()));
    for (int i = 0; i < w.RChart1->ItemCount(); ++i)
        EXPECT_NEAR(w.RChart1->Item(i).X2, radii[size_t(i)] / std::sqrt(2.0), 0.01);
    EXPECT_TRUE(w.RChart2->TextLabel(1)->Visible());
    EXPECT_EQ(w.RChart2->TextLabel(1)->Caption(), QStringLiteral("m/z (z = 2)"));
    // ... written in the data area just above the axis's right end, where
    // nothing else is drawn before a scan.
    const QImage chart = w.RChart2->grab().toImage();
    const QRect end(w.RChart2->width() - 120, w.RChart2->height() - w.RChart2->MarginBottom() - 20, 116, 18);
    int ink = 0;
    for (int y = end.top(); y <= end.bottom(); ++y)
        for (int x = end.left(); x <= end.right(); ++x)
            ink += qGray(chart.pixel(x, y)) < 96;
    EXPECT_GT(ink, 20);
    EXPECT_EQ(w.RChart2->Scale1X()->RangeHigh(), 78); // trunc(136 / 2) + 10

    // A scan records the isotopes at half their masses.
    w.ScStartBtnClick();
    const std::vector<TSpectralLine> sticks = RecordedSticks(*w.RChart2);
    ASSERT_FALSE(sticks.empty());
    for (const TSpectralLine& s : sticks)
        EXPECT_TRUE(s.Mass >= 62 && s.Mass <= 68) << s.Mass;
    EXPECT_EQ(l.Page().MeanMassLabel()->text(), QStringLiteral("Mean mass, weighted by abundance: 131.29 u"));

    // Back at z = 1 the chart is the classic one again, its sticks cleared.
    l.Page().ChargeBox()->setCurrentIndex(0);
    emit l.Page().ChargeBox()->activated(0);
    EXPECT_EQ(w.RChart2->ItemCount(), 0);
    EXPECT_FALSE(w.RChart2->TextLabel(1)->Visible());
    EXPECT_EQ(w.RChart2->Scale1X()->RangeHigh(), 146);
}

TEST(Laboratory, RelativeAtomicMassFromTheWindowsScan)
{
    Laboratory l;
    TIsotopesPage& p = l.Page();
    l.Select(QStringLiteral("Mercury (natural isotopes)"));
    // At 5000 V the largest m/z in focus at 500 mT is
    // 6400 B^2 / (U k 90000) = 1600 / (5000 · 2.07310e-8 · 90000) = 171.5;
    // all of mercury (up to 204) needs U <= 5000 · 171.5 / 204 = 4203 V.
    EXPECT_TRUE(p.ReachNotice()->text().startsWith(QStringLiteral("7 lines of the substance lie above m/z 171.5")))
        << p.ReachNotice()->text().toStdString();
    EXPECT_TRUE(p.ReachNotice()->text().contains(QStringLiteral("Set at most 4203 V")));
    l.w.Energy->setValue(4000);
    EXPECT_EQ(p.ReachNotice()->text(), QString());
    EXPECT_EQ(p.ScanTable()->rowCount(), 0);
    l.w.ScStartBtnClick();
    EXPECT_EQ(p.ScanTable()->rowCount(), 7);
    EXPECT_EQ(p.MeanMassLabel()->text(), QStringLiteral("Mean mass, weighted by abundance: 200.59 u"));
    // Beside it the element table's standard atomic weight (CIAAW: 200.592).
    const QString weight = p.StandardWeightLabel()->text();
    ASSERT_TRUE(weight.startsWith(QStringLiteral("Standard atomic weight: ")));
    EXPECT_NEAR(weight.section(QLatin1Char(' '), -1).toDouble(), 200.592, 0.01);
    // The shares add up to 100 %.
    double shares = 0;
    for (int r = 0; r < p.ScanTable()->rowCount(); ++r)
        shares += p.ScanTable()->item(r, 3)->text().toDouble();
    EXPECT_NEAR(shares, 100, 0.05);
    // Another substance clears the table.
    l.Select(QStringLiteral("Neon (natural isotopes)"));
    EXPECT_EQ(p.ScanTable()->rowCount(), 0);
    EXPECT_EQ(p.MeanMassLabel()->text(), QString());
}

TEST(Laboratory, FormulaFaultsAreTranslated)
{
    // The page names a formula's fault by its sentence as key: every one of
    // them must be in the shipped tables, or German learners read English.
    for (const char* file : {"ionpath.de.itl", "ionpath.fr.itl", "ionpath.es.itl"}) {
        TLexifer2000 table(QStringLiteral("Ionpath"));
        ASSERT_TRUE(LoadTranslationFile(table, QFileInfo(ShippedLibrary()).dir().filePath(QString::fromLatin1(file))));
        for (TFormulaFault fault : {TFormulaFault::Empty, TFormulaFault::UnexpectedCharacter, TFormulaFault::UnknownElement,
                                    TFormulaFault::UnclosedParenthesis, TFormulaFault::UnopenedParenthesis,
                                    TFormulaFault::EmptyGroup, TFormulaFault::ZeroCount, TFormulaFault::TooManyAtoms}) {
            const QString key = EFormulaError::MessageTemplate(fault);
            EXPECT_NE(table.Translate(key), key) << file << ": " << key.toStdString();
        }
    }
    // and the translation fills in the same blanks as the English sentence.
    TLexifer2000 none(QStringLiteral("Ionpath"));
    const EFormulaError e(TFormulaFault::TooManyAtoms, 6, QStringLiteral("9"));
    EXPECT_EQ(none.Translate(EFormulaError::MessageTemplate(e.Fault()), e.MessageArguments()), e.Message());
    EXPECT_EQ(e.Message(), QStringLiteral("More than 10000 atoms at position 6"));
}

TEST(Laboratory, IdentifyNamesTheScannedSubstanceAndDrawsTheMirror)
{
    Laboratory l;
    TIdentifyPage& p = *l.lab->Identify();
    l.Select(QStringLiteral("Benzene"));
    EXPECT_FALSE(p.IdentifyButton()->isEnabled()); // nothing recorded yet
    l.w.ScStartBtnClick();
    ASSERT_TRUE(p.IdentifyButton()->isEnabled());
    p.IdentifyButton()->click();
    ASSERT_GE(p.Candidates()->rowCount(), 2);
    EXPECT_EQ(p.Candidates()->item(0, 1)->text(), QStringLiteral("Benzene"));
    EXPECT_EQ(p.Candidates()->item(0, 2)->text(), QStringLiteral("999")); // its own lines, all recorded
    // The mirror: the axis line, the recorded sticks up and the candidate's down.
    const int recorded = int(DistinctSticks(RecordedSticks(*l.w.RChart2)).size());
    const int benzene = int(l.w.Instrument().SubstanceLines().size());
    const TRChart& mirror = *p.MirrorChart();
    ASSERT_EQ(mirror.ItemCount(), 1 + recorded + benzene);
    int up = 0, down = 0;
    for (int i = 1; i < mirror.ItemCount(); ++i)
        (mirror.Item(i).Y2 > 0 ? up : down) += 1;
    EXPECT_EQ(up, recorded);
    EXPECT_EQ(down, benzene);
    // Another substance, another spectrum: the list is gone.
    l.Select(QStringLiteral("Methane"));
    EXPECT_EQ(p.Candidates()->rowCount(), 0);
    EXPECT_FALSE(p.IdentifyButton()->isEnabled());
}

TEST(Laboratory, ExerciseOffersSamplesAndRevealsThem)
{
    TfrmExample w;
    w.SetLibraryPath(ShippedLibrary());
    w.SetExerciseSeed(QStringLiteral("42"));
    w.show();
    w.FormActivate();
    // The draw as the teacher's key makes it, from the library file alone.
    TSpectrumLibrary shipped;
    ASSERT_TRUE(shipped.Open(ShippedLibrary()));
    const TExercise key = DrawExercise(shipped.SubstanceNames(), QStringLiteral("42"));
    ASSERT_EQ(key.Substances.size(), kExerciseSamples);
    ASSERT_EQ(w.spectrumbox->count(), kExerciseSamples);
    for (int i = 0; i < kExerciseSamples; ++i)
        EXPECT_EQ(w.spectrumbox->itemText(i), QStringLiteral("Sample %1").arg(QChar(u'A' + i)));

    w.spectrumbox->setCurrentIndex(1);
    w.spectrumboxChange();
    const std::optional<TSubstance> b = LoadSubstance(shipped, key.Substances.at(1));
    ASSERT_TRUE(b);
    const std::vector<TSpectralLine> loaded = w.Instrument().SubstanceLines();
    ASSERT_EQ(loaded.size(), b->Lines.size());
    for (size_t i = 0; i < loaded.size(); ++i)
        EXPECT_EQ(loaded[i].Mass, b->Lines[i].Mass);

    TLaboratoryWindow lab(w.Instrument(), [&w](const QString& k, const QStringList& a) { return w.Lexifer().Translate(k, a); });
    TIdentifyPage& p = *lab.Identify();
    EXPECT_FALSE(p.RevealButton()->isHidden());
    w.Energy->setValue(3000); // every shipped line reaches the detector
    w.ScStartBtnClick();
    p.IdentifyButton()->click();
    ASSERT_GT(p.Candidates()->rowCount(), 0);
    p.RevealButton()->click();
    EXPECT_EQ(p.Revealed()->text(), QStringLiteral("\"Sample B\" is %1.").arg(key.Substances.at(1)));
}

TEST(Laboratory, LibraryPageImportsListsAndRemoves)
{
    Laboratory l;
    TLibraryPage& p = *l.lab->Library();
    const int shipped = l.w.spectrumbox->count();
    QFile msp(l.folder.filePath(QStringLiteral("exampol.msp")));
    ASSERT_TRUE(msp.open(QIODevice::WriteOnly));
    msp.write("Name: Exampol\nFormula: C2H6O\nNum Peaks: 3\n31 999; 45 480; 46 220\n\n");
    msp.close();
    // The file dialog's answer, as a learner picks the file.
    p.ChooseFiles = [&msp](QWidget*, const QString&, const QString&) { return QStringList{msp.fileName()}; };
    p.ImportButton()->click();
    EXPECT_TRUE(p.Summary()->toPlainText().contains(QStringLiteral("1 imported"))) << p.Summary()->toPlainText().toStdString();
    ASSERT_EQ(l.w.spectrumbox->count(), shipped + 1);
    EXPECT_EQ(l.w.spectrumbox->itemText(shipped), QStringLiteral("Exampol"));
    ASSERT_EQ(p.Substances()->count(), 1);
    EXPECT_EQ(p.Substances()->item(0)->text(), QStringLiteral("Exampol"));

    // Chosen and scanned like any substance, then taken out again.
    l.Select(QStringLiteral("Exampol"));
    EXPECT_EQ(l.w.LineCount(), 3);
    p.Substances()->setCurrentRow(0);
    p.RemoveButton()->click();
    EXPECT_EQ(l.w.spectrumbox->count(), shipped);
    EXPECT_EQ(p.Substances()->count(), 0);
    EXPECT_EQ(l.w.spectrumbox->currentIndex(), 0); // the removed one is no longer chosen
    EXPECT_GT(l.w.LineCount(), 3);                  // the first substance's lines in its place
}

TEST(Laboratory, SlitDetectorRecordsATraceOnePositionAtATime)
{
    Laboratory l;
    l.Select(QStringLiteral("Xenon (natural isotopes)"));
    TInstrumentPage& page = *l.lab->InstrumentPage();
    // Narrow slits: m/dm = 40 / s2 with s2 = 0.1 mm = 0.03 chart units
    // (dm/m = dy/40 at r = 80, where dy/dr = 1): 1333.
    page.DetectorBox()->setCurrentIndex(page.DetectorBox()->findData(int(TDetectorKind::Slit)));
    emit page.DetectorBox()->activated(page.DetectorBox()->currentIndex());
    page.SourceSlitBox()->setValue(0.1);
    page.DetectorSlitBox()->setValue(0.1);
    EXPECT_EQ(l.w.Detector().Detector, TDetectorKind::Slit);
    EXPECT_DOUBLE_EQ(l.w.Detector().DetectorSlit, 0.1);
    EXPECT_TRUE(page.Expected()->text().contains(QStringLiteral("= 1333 ")));

    // From 420 mT (m/z 121 in focus: 171.5 * 0.84^2) to the top: a sample
    // at every one of the 800 positions, joined by segments.
    l.w.TBMagnetic->setValue(4200);
    l.w.ScStartBtnClick();
    const std::vector<TTraceSample>& trace = l.w.Instrument().RecordedTrace();
    ASSERT_EQ(trace.size(), 800u);
    for (size_t i = 1; i < trace.size(); ++i)
        ASSERT_EQ(trace[i].FieldPosition, trace[i - 1].FieldPosition + 1);
    EXPECT_EQ(l.w.RChart2->ItemCount(), 799);
    // The strongest peak is xenon's 132, and the pages that want sticks get none.
    ASSERT_TRUE(StrongestPeakWidth(trace));
    EXPECT_NEAR(StrongestPeakWidth(trace)->Mass, 131.9, 0.2);
    EXPECT_TRUE(page.Measured()->text().startsWith(QStringLiteral("Measured from the last scan: m/\u0394m = ")));
    EXPECT_TRUE(l.w.Instrument().RecordedLines().empty());

    // Back to the classic detector: the classic paths, one per line.
    page.DetectorBox()->setCurrentIndex(page.DetectorBox()->findData(int(TDetectorKind::Classic)));
    emit page.DetectorBox()->activated(page.DetectorBox()->currentIndex());
    EXPECT_EQ(l.w.RChart1->ItemCount(), l.w.LineCount());
    EXPECT_EQ(l.w.RChart2->ItemCount(), 0);
}

TEST(Laboratory, PlateShowsEveryLineAtOnceAtItsMass)
{
    Laboratory l;
    l.Select(QStringLiteral("Xenon (natural isotopes)"));
    TInstrumentSettings plate;
    plate.Detector = TDetectorKind::Plate;
    plate.DetectorSlit = 0.1;
    l.w.Instrument().SetDetector(plate);
    // Wherever the field puts the lines on the plate, its reading converts
    // heights back to m/z at that field: the darkest reading stays at 132.
    for (int field : {4300, 4370, 4450}) {
        l.w.TBMagnetic->setValue(field);
        const TRChart& c = *l.w.RChart2;
        ASSERT_GT(c.ItemCount(), 100) << field;
        int darkest = 0;
        for (int i = 1; i < c.ItemCount(); ++i)
            if (c.Item(i).Y2 > c.Item(darkest).Y2)
                darkest = i;
        EXPECT_NEAR(c.Item(darkest).X2, 132, 0.5) << field;
    }
}

TEST(Laboratory, InstrumentPageNamesTheLinesOutOfReach)
{
    Laboratory l;
    l.Select(QStringLiteral("Mercury (natural isotopes)"));
    const QString reach = l.lab->InstrumentPage()->Reach()->text();
    // 5000 V: up to m/z 171.5 (see RelativeAtomicMassFromTheWindowsScan).
    EXPECT_TRUE(reach.startsWith(QStringLiteral("At 5000 V the field (0.1 to 500 mT) brings m/z 0.000007 to 171.5")))
        << reach.toStdString();
    EXPECT_TRUE(reach.endsWith(QStringLiteral("Out of reach: the lines at m/z 196, 198, 199, 200, 201, 202, 204.")))
        << reach.toStdString();
    l.w.Energy->setValue(4000); // 171.5 * 5000 / 4000 = 214.4: all of them
    EXPECT_FALSE(l.lab->InstrumentPage()->Reach()->text().contains(QStringLiteral("Out of reach")));
}
