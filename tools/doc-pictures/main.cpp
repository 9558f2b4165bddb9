// Draws the pictures of the Laboratory that docs/ and the README show, from
// the program's own windows and translation files, so that they can be made
// again whenever the windows change:
//
//   doc-pictures DATA_FOLDER OUTPUT_FOLDER
//
// DATA_FOLDER holds ms_spec_sample.tra and the ionpath*.itl files (data/ of
// the source tree). The pictures are taken off-screen; no user library is
// read or written (a temporary one is used).
#include "app/InstrumentLink.h"
#include "app/ExerciseSheet.h"
#include "app/MainWindow.h"
#include "app/lab/IdentifyPage.h"
#include "app/lab/InstrumentPage.h"
#include "app/lab/IsotopesPage.h"
#include "app/lab/LaboratoryWindow.h"
#include "chart/RChart.h"
#include "i18n/Lexifer2000.h"
#include "i18n/TranslationFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Saves one picture into the output folder and names it on standard output.
bool SavePicture(const QImage& picture, const QDir& out, const QString& file)
{
    const QString path = out.filePath(file);
    if (!picture.save(path)) {
        std::fprintf(stderr, "doc-pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool IsotopesPicture(const QDir& data, const QDir& out, const QString& language)
{
    QTemporaryDir userData;
    TLexifer2000 texts(QStringLiteral("Ionpath"));
    const QString file = language == QLatin1String("en") ? QStringLiteral("ionpath.itl")
                                                         : QStringLiteral("ionpath.%1.itl").arg(language);
    if (!LoadTranslationFile(texts, data.filePath(file))) {
        std::fprintf(stderr, "doc-pictures: cannot read %s\n", qPrintable(data.filePath(file)));
        return false;
    }
    TfrmExample w(nullptr, TWindowTexts::Keys);
    texts.TranslateForm(&w);
    w.FitTranslatedTexts();
    w.SetLibraryPath(data.filePath(QStringLiteral("ms_spec_sample.tra")));
    w.SetUserLibrary(std::make_unique<TUserSpectrumLibrary>(userData.filePath(QStringLiteral("user_spectra.tra"))));
    w.SetLaboratoryHandler([] {}); // the button shows, as in the program
    w.show();
    w.FormActivate();
    TLaboratoryWindow lab(w.Instrument(), [&texts](const QString& key, const QStringList& args) {
        return texts.Translate(key, args);
    });
    lab.resize(900, 640);
    lab.show();
    // Xenon's isotopes recorded by a whole scan, and chloromethane's pattern.
    w.spectrumbox->setCurrentIndex(w.spectrumbox->findText(QStringLiteral("Xenon (natural isotopes)")));
    w.spectrumboxChange();
    w.ScStartBtnClick();
    lab.Isotopes()->FormulaEdit()->setText(QStringLiteral("CH3Cl"));
    QApplication::processEvents();
    if (!SavePicture(lab.grab().toImage(), out, QStringLiteral("laboratory-isotopes-%1.png").arg(language)))
        return false;
    if (language != QLatin1String("en"))
        return true;
    // Identifying m-xylene: its isomers follow close behind.
    w.spectrumbox->setCurrentIndex(w.spectrumbox->findText(QStringLiteral("m-Xylene")));
    w.spectrumboxChange();
    w.ScStartBtnClick();
    lab.Pages()->setCurrentWidget(lab.Identify());
    lab.Identify()->Identify();
    lab.Identify()->Candidates()->setCurrentCell(1, 1);
    QApplication::processEvents();
    if (!SavePicture(lab.grab().toImage(), out, QStringLiteral("laboratory-identify.png")))
        return false;
    w.spectrumbox->setCurrentIndex(w.spectrumbox->findText(QStringLiteral("Xenon (natural isotopes)")));
    w.spectrumboxChange();
    // Xenon through narrow and wide slits, then on the plate.
    lab.Pages()->setCurrentWidget(lab.InstrumentPage());
    struct TShot {
        const char* File;
        TInstrumentSettings Settings;
    };
    const TShot shots[] = {
        {"xenon-slits-narrow.png", {.SourceSlit = 0.1, .DetectorSlit = 0.1, .EnergySpread = 0, .AngularSpread = 0,
                                    .Detector = TDetectorKind::Slit}},
        {"xenon-slits-wide.png", {.SourceSlit = 2, .DetectorSlit = 2, .EnergySpread = 100, .AngularSpread = 0,
                                  .Detector = TDetectorKind::Slit}},
        {"xenon-plate.png", {.SourceSlit = 0.1, .DetectorSlit = 0.1, .EnergySpread = 0, .AngularSpread = 0,
                             .Detector = TDetectorKind::Plate}},
    };
    for (const TShot& shot : shots) {
        w.Instrument().SetDetector(shot.Settings);
        if (shot.Settings.Detector == TDetectorKind::Slit) {
            w.TBMagnetic->setValue(1); // a scan rises from where the field stands
            w.ScStartBtnClick();
        }
        // The field where xenon's 131 reaches the slit: m goes as B^2, and
        // 500 mT brings 171.5 there at 5000 V.
        w.TBMagnetic->setValue(4370);
        QApplication::processEvents();
        if (!SavePicture(w.grab().toImage(), out, QString::fromLatin1(shot.File)))
            return false;
        // The page with the narrow slits' resolving power.
        if (&shot == &shots[0] && !SavePicture(lab.grab().toImage(), out, QStringLiteral("laboratory-instrument.png")))
            return false;
    }
    w.Instrument().SetDetector({.Detector = TDetectorKind::Classic});
    w.TBMagnetic->setValue(1);

    // Xenon's doubly charged ions: the same pattern at half the m/z.
    lab.Isotopes()->ChargeBox()->setCurrentIndex(1);
    emit lab.Isotopes()->ChargeBox()->activated(1);
    w.ScStartBtnClick();
    QApplication::processEvents();
    return SavePicture(w.grab().toImage(), out, QStringLiteral("xenon-charge-2.png"));
}

bool SheetPicture(const QDir& data, const QDir& out)
{
    TSpectrumLibrary shipped;
    if (!shipped.Open(data.filePath(QStringLiteral("ms_spec_sample.tra"))))
        return false;
    TLexifer2000 texts(QStringLiteral("Ionpath"));
    LoadTranslationFile(texts, data.filePath(QStringLiteral("ionpath.itl")));
    const TExercise exercise = DrawExercise(shipped.SubstanceNames(), QStringLiteral("42"));
    const QImage page = ExerciseSheetPicture(exercise, 0, shipped, [&texts](const QString& key, const QStringList& args) {
        return texts.Translate(key, args);
    });
    return SavePicture(page, out, QStringLiteral("worksheet-page.png"));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: doc-pictures DATA_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1])), out(QString::fromLocal8Bit(argv[2]));
    bool ok = true;
    for (const char* language : {"en", "de"})
        ok = IsotopesPicture(data, out, QString::fromLatin1(language)) && ok;
    ok = SheetPicture(data, out) && ok;
    return ok ? 0 : 1;
}
