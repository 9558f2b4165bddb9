#pragma once
// TfrmExample: the simulation's main window. Two sliders set the acceleration
// voltage and the magnetic field, a selector picks the substance, the
// deflection chart shows every ion path, the spectrum chart collects the
// detector signal, and the dot-matrix display shows the mass in focus.

#include "analysis/SectorInstrument.h"
#include "app/Exercise.h"
#include "app/SectorField.h"
#include "app/SpectrumFileImport.h"
#include "app/SpectrumLibrary.h"
#include "app/UserSpectrumLibrary.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class TMatrix;
class TNumLab;
class TRasterLab;
class TRChart;
class TShape;
class TLexifer2000;
class TFrmAbout;
class TkdbDemonClient;
class TInstrumentLink;

// Translated: the window's host client loads the translation file and
// translates the window as it is made (the program). Keys: its texts keep
// their "LX_" keys, for a caller that translates the window with a table of
// its own.
enum class TWindowTexts { Translated, Keys };

class TfrmExample : public QWidget {
    Q_OBJECT
public:
    explicit TfrmExample(QWidget* parent = nullptr, TWindowTexts texts = TWindowTexts::Translated);
    ~TfrmExample() override;

    // The first activation: language, read-outs, decimal separator, model
    // constant, substance list, first spectrum and picture. Later calls do
    // nothing.
    void FormActivate();

    void TBMagneticChange();
    void EnergyChange();
    void ScStartBtnClick();
    void ScStopBtnClick();
    void ClearBtnClick();
    void spectrumboxChange();
    void cmdExitClick();

    // Draws the ion paths for voltage U and field position Bp, adds the stick
    // of the line in focus to the spectrum and shows the mass in focus.
    void ComputeIonPaths(int U, int Bp);

    // The start-up notice: when the window is first shown, the About box's
    // texts are prepared and translated and the box is shown modally; the
    // first activation runs when it has been closed.
    void FormShow();
    // The About box again, with the texts prepared at start.
    void SBAboutClick();
    // The About box the program made right after this window; without one
    // the window starts at once when it is shown.
    void SetAboutBox(TFrmAbout* box) { aboutBox_ = box; }
    TFrmAbout* AboutBox() const { return aboutBox_; }

    // Sizes the texts to their translations: every label to its text; when a
    // button's caption is too long for it, the buttons get a smaller font
    // (down to 9 pixels) rather than a cut caption, and so does a caption of
    // the instrument drawing that would run out of its housing. The window
    // does it after its own translation; a caller that translates it with a
    // table of its own calls it afterwards.
    void FitTranslatedTexts();

    // The translation table the window's texts come from (its host
    // client's): the file beside the executable, or the one for the user's
    // language, loaded when the window is made.
    TLexifer2000& Lexifer();
    // The name the missing-library message gives: the client's first start
    // parameter, or the library file's own name when there is none.
    static QString LibraryNameForMessage(const TkdbDemonClient& client);

    // Called once, at the end of a first activation that drew the first
    // picture.
    std::function<void()> OnStarted;

    bool Scanning() const { return scanning_; }
    int LineCount() const { return lineCount_; }
    // Where the library file is read from (the working directory by default).
    void SetLibraryPath(const QString& path) { libraryPath_ = path; }
    TSpectrumLibrary& Library() { return library_; }
    // The user's own substances, listed after the shipped ones; call before
    // the first activation. Without one the selector holds the shipped
    // library alone. A library that cannot be read completely is reported
    // once (through the application's error report); its readable records
    // and the shipped substances still work.
    void SetUserLibrary(std::unique_ptr<TUserSpectrumLibrary> library);
    TUserSpectrumLibrary* UserLibrary() const { return userLibrary_.get(); }
    // A class exercise: the selector offers "Sample A" ... instead of the
    // names, five shipped substances drawn by the seed. Call before the
    // first activation.
    void SetExerciseSeed(const QString& seed) { exerciseSeed_ = seed; }
    const std::optional<TExercise>& Exercise() const { return exercise_; }

    // How many of the selector's entries come from the shipped library.
    int ShippedSubstanceCount() const { return shippedCount_; }

    // The ions' charge, 1 to 3: the paths, the mass in focus and the
    // recorded sticks then stand at m/z. Changing it clears the spectrum.
    int Charge() const { return charge_; }
    void SetCharge(int charge);

    // The detector and the beam: the classic detector by default, whose
    // pictures are the classic ones; a slit or a plate with real beams
    // (analysis/SectorInstrument.h). Changing it clears the spectrum.
    void SetDetector(const TInstrumentSettings& settings);
    const TInstrumentSettings& Detector() const { return detector_; }

    // What tools beside the window (the Laboratory) may see and do.
    TInstrumentLink& Instrument();

    // The button that opens the Laboratory: hidden until a handler is set
    // (the program sets one unless started as the classic instrument).
    void SetLaboratoryHandler(std::function<void()> open);

    // Called once per scan pass after the computation, before pending
    // messages are processed; tests use it to act in the middle of a scan.
    std::function<void(int pass)> OnScanPass;

    // The controls, under the names of the window description.
    TRChart* RChart1 = nullptr;
    TRChart* RChart2 = nullptr;
    QSlider* Energy = nullptr;
    QSlider* TBMagnetic = nullptr;
    TNumLab* EnergyNum = nullptr;
    TNumLab* MagnetNum = nullptr;
    QComboBox* spectrumbox = nullptr;
    QPlainTextEdit* MMExplain = nullptr;
    TRasterLab* RLabMass = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* SBAbout = nullptr;
    QPushButton* ScStartBtn = nullptr;
    QPushButton* ScStopBtn = nullptr;
    QPushButton* ClearBtn = nullptr;
    QPushButton* LaboratoryBtn = nullptr;
    TMatrix* MatData = nullptr;
    // The host link: stand-alone, one copy of the program at a time. A quit
    // message from a host deletes it (which ends the program).
    QPointer<TkdbDemonClient> cliDemon;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildControls();
    bool BuildSubstanceList();
    void LoadSpectrum(int index, const QString& name);
    void ShowMassAxisEnd();
    void SelectSubstance(int index);
    bool AddUserSubstance(const QByteArray& record, const QString& name, QString* error);
    TImportReport ImportSpectra(const QStringList& paths);
    bool RemoveUserSubstance(const QString& name, QString* error);
    std::optional<QString> UserLibraryRefusal();
    void RelistKeepingSelection();
    void ShowInstrument(int U, int Bp, const std::vector<TSpectralLine>& lines);
    void ClearRecording();
    int UserSubstanceIndex(const QString& name) const;
    void ListSubstances();
    class TWindowLink;
    friend class TWindowLink;
    std::vector<TSpectralLine> Lines() const;
    void SetScanControlsEnabled(bool enabled);
    void CreateHostClient(TWindowTexts texts);
    void PrepareAboutBoxOnce();

    TSpectrumLibrary library_;
    std::unique_ptr<TUserSpectrumLibrary> userLibrary_;
    int shippedCount_ = 0;
    int charge_ = 1;
    std::optional<double> lastMass_; // of the loaded record: the mass axis ends past it
    std::unique_ptr<TWindowLink> link_;
    std::optional<QString> exerciseSeed_;
    std::optional<TExercise> exercise_;
    TInstrumentSettings detector_{.Detector = TDetectorKind::Classic};
    std::vector<TTraceSample> trace_; // the slit's samples of the last scan
    std::function<void()> openLaboratory_;
    QString libraryPath_ = QString::fromLatin1(TSpectrumLibrary::kFileName);
    bool activated_ = false;
    bool scanning_ = false;
    bool closing_ = false;
    int lineCount_ = 0;
    double k_ = 0;
    QFrame* pnlExample_ = nullptr;
    QFrame* pnlCommand_ = nullptr;
    // The captions written on the instrument drawing, and their housings.
    QLabel* sourceCaption_ = nullptr;
    QLabel* detectorCaption_ = nullptr;
    TShape* sourceHousing_ = nullptr;
    TShape* detectorHousing_ = nullptr;
    // Stands in for the client's table once a host's quit has deleted it.
    std::unique_ptr<TLexifer2000> noTranslation_;
    TFrmAbout* aboutBox_ = nullptr;
    bool aboutPrepared_ = false;
    bool shown_ = false;
};
