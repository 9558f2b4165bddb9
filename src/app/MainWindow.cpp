#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/ControlDescriptions.h"
#include "app/ErrorReport.h"
#include "app/FieldScan.h"
#include "app/InstrumentCharts.h"
#include "app/InstrumentLink.h"
#include "app/LibrarySpectra.h"
#include "app/MessagesDuringReads.h"
#include "app/Shape.h"
#include "app/StartOptions.h"
#include "app/SpectrometerChartMenus.h"
#include "app/SpectrometerCharts.h"
#include "app/StickTips.h"
#include "app/TextFitting.h"
#include "chart/RChart.h"
#include "dialogs/MessageDialog.h"
#include "gfx/Frames.h"
#include "host/DemonClient.h"
#include "i18n/Lexifer2000.h"
#include "support/FormatReal.h"
#include "support/Matrix.h"
#include "support/NumberFormat.h"
#include "widgets/NumLab.h"
#include "widgets/RasterLab.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QApplication>
#include <algorithm>

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QSlider* MakeSlider(QWidget* parent, int x, int y, int min, int max, int position, int pageSize)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setGeometry(x, y, 233, 25);
    s->setRange(min, max);
    s->setValue(position);
    s->setSingleStep(1);
    s->setPageStep(pageSize);
    s->setTickPosition(QSlider::NoTicks);
    s->setCursor(Qt::PointingHandCursor);
    return s;
}

TNumLab* MakeReadOut(QWidget* parent, int x, int y, int w, const QString& unit)
{
    auto* n = new TNumLab(parent);
    n->setGeometry(x, y, w, 20);
    n->SetDisplayType(dtFixP);
    n->SetPrecision(0);
    n->SetAlignment(taCenter);
    n->SetRightText(unit);
    n->SetLabelWidth(50);
    // The box starts near the left so that the unit on its right is readable.
    n->SetLeftSpace(10);
    n->SetFrameStyle(fsLowered);
    return n;
}

// A caption written on a housing of the instrument drawing keeps its place
// and its own box when it has one (a caption that wraps). One sized to its
// text has the housing's inside from there on, less as much on the right as
// it keeps from the left edge, so that it never touches the frame.
void FitHousingCaption(QLabel& caption, const TShape& housing, const QFont& base)
{
    const QRect inside = housing.Inside();
    QRect room = caption.geometry();
    if (!caption.wordWrap())
        room = QRect(caption.pos(), QPoint(inside.right() - (caption.x() - inside.left()), inside.bottom()));
    FitLabelText(caption, base, room.size());
    if (!caption.wordWrap())
        caption.adjustSize();
}

QPushButton* MakeButton(QWidget* parent, const QString& text, int x, int y, int h)
{
    auto* b = new QPushButton(text, parent);
    b->setGeometry(x, y, 113, h);
    return b;
}

} // namespace

// The window as tools beside it see it.
class TfrmExample::TWindowLink final : public TInstrumentLink {
public:
    explicit TWindowLink(TfrmExample& w) : w_(w) {}

    QString SubstanceName() const override { return w_.spectrumbox->currentText(); }
    std::vector<TSpectralLine> SubstanceLines() const override { return w_.Lines(); }
    int Voltage() const override { return w_.Energy->value(); }
    int FieldPosition() const override { return w_.TBMagnetic->value(); }
    std::vector<TSpectralLine> RecordedLines() const override
    {
        // A slit's trace and a plate are no sticks.
        if (w_.detector_.Detector != TDetectorKind::Classic)
            return {};
        return RecordedSticks(*w_.RChart2);
    }
    const std::vector<TTraceSample>& RecordedTrace() const override { return w_.trace_; }
    const TInstrumentSettings& Detector() const override { return w_.detector_; }
    void SetDetector(const TInstrumentSettings& settings) override { w_.SetDetector(settings); }
    bool Scanning() const override { return w_.scanning_; }
    int Charge() const override { return w_.charge_; }
    bool InExercise() const override { return w_.exercise_.has_value(); }
    QString RevealedName() const override
    {
        const int i = w_.spectrumbox->currentIndex();
        if (w_.exercise_ && i >= 0 && i < w_.exercise_->Substances.size())
            return w_.exercise_->Substances.at(i);
        return SubstanceName();
    }
    void SetCharge(int charge) override { w_.SetCharge(charge); }
    std::vector<TLibrarySpectrum> LibrarySpectra() override
    {
        return ReadLibrarySpectra(w_.library_, w_.userLibrary_.get());
    }
    bool HasUserLibrary() const override { return w_.userLibrary_ != nullptr; }
    QStringList UserSubstanceNames() const override
    {
        return w_.userLibrary_ ? w_.userLibrary_->SubstanceNames() : QStringList();
    }
    TImportReport ImportSpectra(const QStringList& paths) override { return w_.ImportSpectra(paths); }
    bool RemoveUserSubstance(const QString& name, QString* error) override
    {
        return w_.RemoveUserSubstance(name, error);
    }
    bool AddUserSubstance(const QByteArray& record, const QString& name, QString* error) override
    {
        return w_.AddUserSubstance(record, name, error);
    }

private:
    TfrmExample& w_;
};

TfrmExample::TfrmExample(QWidget* parent, TWindowTexts texts)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmExample"));
    setWindowTitle(QStringLiteral("LX_Ionpath"));
    TFont windowFont;
    windowFont.Name = QStringLiteral("MS Sans Serif");
    windowFont.SetPixelHeight(13);
    QFont f = windowFont.ToQFont();
    f.setStyleStrategy(QFont::PreferDefault);
    setFont(f);
    setFixedSize(792, 573);
    BuildControls();
    DescribeControls(*this);
    CreateHostClient(texts);
    // Pictures and the recorded spectrum out of the charts, in the window's
    // language (the table is loaded by now).
    const auto translate = [this](const QString& text) { return Lexifer().Translate(text); };
    InstallDeflectionChartMenu(*RChart1, translate);
    InstallSpectrumChartMenu(*RChart2, [this] {
        return TSpectrumCsvHeader{spectrumbox->currentText(), Energy->value(), {}, QDateTime::currentDateTime()};
    }, translate);
    // The mass and abundance of the stick under the mouse, in the table of
    // the moment.
    InstallStickTips(*RChart2, [this](const TSpectralLine& stick) { return StickTipText(Lexifer(), stick, charge_); });
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        move(r.center() - rect().center());
    }
}

TfrmExample::~TfrmExample() = default;

void TfrmExample::CreateHostClient(TWindowTexts texts)
{
    cliDemon = new TkdbDemonClient(this);
    cliDemon->setObjectName(QStringLiteral("cliDemon"));
    cliDemon->SetAutoTranslate(texts == TWindowTexts::Translated);
    cliDemon->SetAutoCreateItlFile(false);
    cliDemon->SetMultiStart(false);
    cliDemon->SetUseMeridorServer(false);
    // A second copy handed over its parameters and ended: the user wanted
    // this program, so it comes to the front.
    cliDemon->OnParamsChange = [this](TkdbCustomDemon&) {
        showNormal();
        raise();
        activateWindow();
    };
    // Loads the translation file and translates the window; a second copy
    // of the program ends in here.
    cliDemon->Loaded();
    if (texts == TWindowTexts::Keys)
        return;
    FitTranslatedTexts();
}

void TfrmExample::FitTranslatedTexts()
{
    // Labels were sized to their keys; the translations have their own length.
    for (QLabel* l : findChildren<QLabel*>())
        if (!l->wordWrap())
            l->adjustSize();
    // The drawing leaves its captions little room: one that would run out of
    // its housing is set smaller (a translation may break it into lines too).
    FitHousingCaption(*sourceCaption_, *sourceHousing_, font());
    FitHousingCaption(*detectorCaption_, *detectorHousing_, font());
    // A caption too long for the fixed command column gets a smaller font,
    // and so do the other buttons, so that the column reads alike.
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    int pixels = font().pixelSize();
    for (const QPushButton* b : buttons)
        if (b->font().pixelSize() > 0)
            pixels = std::min(pixels, FittingPixelSize(b->font(), [b](const QFont& f) {
                return ButtonCaptionFits(*b, f);
            }));
    if (pixels <= 0 || pixels >= font().pixelSize())
        return;
    for (QPushButton* b : buttons) {
        QFont f = b->font();
        f.setPixelSize(pixels);
        b->setFont(f);
    }
}

TLexifer2000& TfrmExample::Lexifer()
{
    if (cliDemon)
        return cliDemon->Lexifer();
    if (!noTranslation_)
        noTranslation_ = std::make_unique<TLexifer2000>();
    return *noTranslation_;
}

void TfrmExample::PrepareAboutBoxOnce()
{
    // The texts of the start stay, whatever the table says later.
    if (aboutPrepared_)
        return;
    PrepareAboutTexts(*aboutBox_, Lexifer());
    aboutPrepared_ = true;
}

void TfrmExample::FormShow()
{
    if (!aboutBox_) {
        FormActivate();
        return;
    }
    PrepareAboutBoxOnce();
    aboutBox_->exec();
    // Closing the box gives the window back its activation, which is its
    // first one; without a window manager no activation may come at all.
    FormActivate();
}

void TfrmExample::SBAboutClick()
{
    if (!aboutBox_)
        aboutBox_ = new TFrmAbout(this);
    PrepareAboutBoxOnce();
    aboutBox_->exec();
}

QString TfrmExample::LibraryNameForMessage(const TkdbDemonClient& client)
{
    // Started without parameters (as from the desktop), the client has no
    // first parameter to give; the file the program looked for is the
    // useful name then.
    // The program's own options (--classic) name no file either.
    const QStringList& params = client.Params();
    for (int i = 1; i <= client.ParamCount(); ++i)
        if (!IsStartOption(params, i))
            return client.ParamStr(i);
    return QString::fromLatin1(TSpectrumLibrary::kFileName);
}

void TfrmExample::BuildControls()
{
    pnlCommand_ = new QFrame(this);
    pnlCommand_->setObjectName(QStringLiteral("pnlCommand"));
    pnlCommand_->setGeometry(664, 0, 128, 573);
    pnlCommand_->setFrameShape(QFrame::Panel);
    pnlCommand_->setFrameShadow(QFrame::Raised);
    pnlExample_ = new QFrame(this);
    pnlExample_->setObjectName(QStringLiteral("pnlExample"));
    pnlExample_->setGeometry(0, 0, 664, 573);
    pnlExample_->setFrameShape(QFrame::Panel);
    pnlExample_->setFrameShadow(QFrame::Raised);
    QWidget* p = pnlExample_;

    // The instrument drawing around the deflection chart.
    auto shape = [&](int x, int y, int w, int h, TColor brush, TColor pen, int width) {
        auto* s = new TShape(p, brush, pen, width);
        s->setGeometry(x, y, w, h);
        return s;
    };
    sourceHousing_ = shape(39, 288, 49, 53, clSilver, clBlack, 2);
    sourceHousing_->setObjectName(QStringLiteral("Shape1"));
    for (int i = 0; i < 3; ++i) { // electrode bars, left and right of the beam
        shape(41, 264 + 8 * i, 21, 5, clBlack, clBlack, 1)->setObjectName(QStringLiteral("Shape%1").arg(2 + 2 * i));
        shape(65, 264 + 8 * i, 21, 5, clBlack, clBlack, 1)->setObjectName(QStringLiteral("Shape%1").arg(3 + 2 * i));
    }
    shape(63, 260, 1, 45, clBlue, clBlue, 1)->setObjectName(QStringLiteral("Shape8"));   // beam line
    shape(249, 58, 3, 17, clBlack, clBlack, 1)->setObjectName(QStringLiteral("Shape9")); // slit jaws
    shape(249, 79, 3, 15, clBlack, clBlack, 1)->setObjectName(QStringLiteral("Shape10"));
    detectorHousing_ = shape(256, 52, 57, 45, clSilver, clBlack, 2);
    detectorHousing_->setObjectName(QStringLiteral("Shape11"));

    // The command-line tool sets its charts up by the same functions, so that
    // its pictures are the window's.
    RChart1 = new TRChart(p);
    SetUpDeflectionChart(*RChart1);
    RChart2 = new TRChart(p);
    SetUpSpectrumChart(*RChart2);

    Energy = MakeSlider(p, 148, 292, kVoltageMinimum, kVoltageMaximum, 5000, 200);
    Energy->setObjectName(QStringLiteral("Energy"));
    TBMagnetic = MakeSlider(p, 400, 292, kFieldMinimum, kFieldMaximum, 1, 2);
    TBMagnetic->setObjectName(QStringLiteral("TBMagnetic"));
    MakeLabel(p, QStringLiteral("LX_Acceleration Voltage"), 148, 272)->setObjectName(QStringLiteral("Voltage"));
    MakeLabel(p, QStringLiteral("LX_Magnetic Field"), 400, 272)->setObjectName(QStringLiteral("MFieldLb"));
    EnergyNum = MakeReadOut(p, 153, 316, 96, QStringLiteral("LX_[V]"));
    EnergyNum->setObjectName(QStringLiteral("EnergyNum"));
    MagnetNum = MakeReadOut(p, 405, 316, 116, QStringLiteral("LX_[mT]"));
    MagnetNum->setObjectName(QStringLiteral("MagnetNum"));

    QLabel* sel = MakeLabel(p, QStringLiteral("LX_Selected Substance"), 344, 12);
    sel->setObjectName(QStringLiteral("selspektrum"));
    QFont small = sel->font();
    small.setPixelSize(11);
    sel->setFont(small);
    sel->adjustSize();
    spectrumbox = new QComboBox(p);
    spectrumbox->setObjectName(QStringLiteral("spectrumbox"));
    spectrumbox->setGeometry(344, 28, 313, 21);
    spectrumbox->setEditable(false);

    MMExplain = new QPlainTextEdit(p);
    MMExplain->setObjectName(QStringLiteral("MMExplain"));
    MMExplain->setGeometry(344, 56, 311, 201);
    MMExplain->setReadOnly(true);
    MMExplain->setPlainText(QStringLiteral("LX_MMExplain"));
    QPalette pal = MMExplain->palette();
    pal.setColor(QPalette::Base, ToQColor(clInfoBk));
    pal.setColor(QPalette::Text, ToQColor(clInfoText));
    MMExplain->setPalette(pal);

    sourceCaption_ = new QLabel(QStringLiteral("LX_Ion Source"), p);
    sourceCaption_->setObjectName(QStringLiteral("IonSource"));
    sourceCaption_->setGeometry(43, 300, 41, 36);
    sourceCaption_->setAlignment(Qt::AlignCenter);
    sourceCaption_->setWordWrap(true);
    sourceCaption_->setAttribute(Qt::WA_TranslucentBackground);
    detectorCaption_ = MakeLabel(p, QStringLiteral("LX_Detector"), 260, 68);
    detectorCaption_->setObjectName(QStringLiteral("Detector"));

    QWidget* c = pnlCommand_;
    cmdExit = MakeButton(c, QStringLiteral("LX_Exit"), 8, 10, 32);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    SBAbout = MakeButton(c, QStringLiteral("LX_About"), 8, 45, 29);
    SBAbout->setObjectName(QStringLiteral("SBAbout"));
    SBAbout->setFlat(true);
    SBAbout->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    MakeLabel(c, QStringLiteral("LX_Mass"), 8, 368)->setObjectName(QStringLiteral("Label1"));
    RLabMass = new TRasterLab(c);
    RLabMass->setObjectName(QStringLiteral("RLabMass"));
    RLabMass->setGeometry(8, 384, 113, 49);
    RLabMass->SetColorDotOn(clLime);
    RLabMass->SetColorDotOff(clBlack);
    RLabMass->SetColorLabBakG(clBlack);
    RLabMass->SetDotSize(3);
    RLabMass->SetDotSpacing(1);
    RLabMass->SetProportional(true);
    RLabMass->SetAutoCenter(true);
    RLabMass->SetText(QStringLiteral("220.8"));
    ScStartBtn = MakeButton(c, QStringLiteral("LX_Start Scan"), 8, 460, 32);
    ScStartBtn->setObjectName(QStringLiteral("ScStartBtn"));
    ScStopBtn = MakeButton(c, QStringLiteral("LX_Stop Scan"), 8, 496, 32);
    ScStopBtn->setObjectName(QStringLiteral("ScStopBtn"));
    ClearBtn = MakeButton(c, QStringLiteral("LX_Clear Spectrum"), 8, 532, 32);
    ClearBtn->setObjectName(QStringLiteral("ClearBtn"));
    // In the free space below About; the classic instrument has none.
    LaboratoryBtn = MakeButton(c, QStringLiteral("LX_Laboratory"), 8, 80, 32);
    LaboratoryBtn->setObjectName(QStringLiteral("LaboratoryBtn"));
    LaboratoryBtn->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    LaboratoryBtn->hide();

    MatData = new TMatrix(this);
    MatData->setObjectName(QStringLiteral("MatData"));
    MatData->SetNrOfColumns(2);
    MatData->SetNrOfRows(1);

    // Every handler reports its failures through the application's error
    // report, so that nothing is thrown through Qt's own code.
    auto guarded = [](auto f) { return [f] { RunReportingErrors(f); }; };
    connect(TBMagnetic, &QSlider::valueChanged, this, guarded([this] { TBMagneticChange(); }));
    connect(Energy, &QSlider::valueChanged, this, guarded([this] { EnergyChange(); }));
    connect(ScStartBtn, &QPushButton::clicked, this, guarded([this] { ScStartBtnClick(); }));
    connect(ScStopBtn, &QPushButton::clicked, this, guarded([this] { ScStopBtnClick(); }));
    connect(ClearBtn, &QPushButton::clicked, this, guarded([this] { ClearBtnClick(); }));
    connect(cmdExit, &QPushButton::clicked, this, guarded([this] { cmdExitClick(); }));
    connect(SBAbout, &QPushButton::clicked, this, guarded([this] { SBAboutClick(); }));
    connect(spectrumbox, &QComboBox::activated, this, guarded([this] { spectrumboxChange(); }));
    connect(LaboratoryBtn, &QPushButton::clicked, this, guarded([this] {
        if (openLaboratory_)
            openLaboratory_();
    }));
    library_.OnLineRead = ProcessMessagesEvery(5);
}

bool TfrmExample::event(QEvent* e)
{
    // With a start-up notice the first activation is the one that follows
    // the notice's closing (FormShow runs it).
    if (e->type() == QEvent::WindowActivate && !activated_ && shown_ && !aboutBox_)
        RunReportingErrors([this] { FormActivate(); });
    if (e->type() == QEvent::Show && !shown_) {
        shown_ = true;
        // The notice is opened from the event loop, once the window is up:
        // a modal loop inside the show event would run before the window
        // is on the screen. Without a notice and without a window manager
        // the window may never become active; the start-up steps then run
        // here as well.
        QTimer::singleShot(0, this, [this] {
            if (!activated_ && isVisible())
                RunReportingErrors([this] { FormShow(); });
        });
    }
    return QWidget::event(e);
}

void TfrmExample::FormActivate()
{
    if (activated_)
        return;
    activated_ = true;
    // The dialogs speak the window's language: a German title over an English
    // message would confuse a learner.
    MessageDialogLanguage = MessageDialogLanguageOf(Lexifer().Translate(QStringLiteral("$dlglanguage$")));
    RChart1->SetTransparentFill(true);
    MagnetNum->SetValue(TBMagnetic->value() / 10);
    EnergyNum->SetValue(Energy->value());
    SetDecimalSeparator(QLatin1Char('.'));
    k_ = SectorFieldConstant();
    if (!BuildSubstanceList())
        return;
    spectrumbox->setCurrentIndex(0);
    if (OnStarted)
        OnStarted();
}

bool TfrmExample::BuildSubstanceList()
{
    QString error;
    if (!library_.Open(libraryPath_, &error)) {
        const QString name = cliDemon ? LibraryNameForMessage(*cliDemon) : QString::fromLatin1(TSpectrumLibrary::kFileName);
        QString text = Lexifer().Translate(QStringLiteral("No file \"%s\" found in the Database"));
        text.replace(QLatin1String("%s"), name);
        ShowMessageDialog(text, dkError, TMsgDlgButtons{dbOK}, 0);
        // The program cannot work without its library: it ends, and says so
        // in its exit status. The window is not closed first, since closing
        // the last window would end the loop with status 0.
        closing_ = true;
        QCoreApplication::exit(1);
        return false;
    }
    if (userLibrary_) {
        QString userError;
        if (!userLibrary_->Load(&userError)) {
            TApplication::ShowException(
                Lexifer().Translate(QStringLiteral("Your own spectrum library could not be read completely: <%1%>"), {userError}));
        }
    }
    ListSubstances();
    if (spectrumbox->count() == 0)
        return true; // an empty library: nothing to load, nothing fails
    spectrumbox->setCurrentIndex(0);
    LoadSpectrum(0, spectrumbox->currentText());
    ComputeIonPaths(Energy->value(), TBMagnetic->value());
    return true;
}

void TfrmExample::ListSubstances()
{
    spectrumbox->clear();
    if (exerciseSeed_ && !exercise_)
        exercise_ = DrawExercise(library_.SubstanceNames(), *exerciseSeed_);
    if (exercise_) {
        // The samples go by letters; their names are what the learner finds out.
        for (int i = 0; i < int(exercise_->Substances.size()); ++i)
            spectrumbox->addItem(Lexifer().Translate(QStringLiteral("Sample <%1%>"), {SampleLetter(i)}));
        shippedCount_ = spectrumbox->count();
        return;
    }
    spectrumbox->addItems(library_.SubstanceNames());
    shippedCount_ = spectrumbox->count();
    if (userLibrary_)
        spectrumbox->addItems(userLibrary_->SubstanceNames());
}

void TfrmExample::LoadSpectrum(int index, const QString& name)
{
    // The user's substances follow the shipped ones; each is read from its
    // own library, so a user's record never shadows a shipped one of the
    // same name.
    TSpectrumLibrary& library = index >= shippedCount_ && userLibrary_ ? userLibrary_->Library() : library_;
    const QString& record = exercise_ && index >= 0 && index < exercise_->Substances.size()
                                ? exercise_->Substances.at(index)
                                : name;
    try {
        const TSpectrumLoad load = library.LoadSpectrum(record, *MatData);
        if (load.Superseded)
            return; // a newer load, started while this one read, has taken over
        lineCount_ = library.LineCount();
        if (load.LastMass)
            lastMass_ = load.LastMass;
        ShowMassAxisEnd();
    } catch (...) {
        lineCount_ = library.LineCount(); // the pairs read before the error stay
        throw;
    }
}

void TfrmExample::ShowMassAxisEnd()
{
    // Ten past the last mass read, at m/z for the ions' charge; the axis
    // stays as it was when no mass was read.
    if (!lastMass_)
        return;
    if (const auto end = MassAxisEndAfter(lastMass_, charge_))
        RChart2->Scale1X()->SetRangeHigh(*end);
}

std::vector<TSpectralLine> TfrmExample::Lines() const
{
    std::vector<TSpectralLine> lines;
    lines.reserve(size_t(std::max(lineCount_, 0)));
    for (int i = 1; i <= lineCount_ && i <= MatData->NrOfRows(); ++i)
        lines.push_back({MatData->Cell(1, i), MatData->Cell(2, i)});
    return lines;
}

void TfrmExample::ComputeIonPaths(int U, int Bp)
{
    const std::vector<TSpectralLine> lines = LinesAtCharge(Lines(), charge_);
    const TIonPaths model = ComputeIonPathModel(U, Bp, k_, lines);
    if (detector_.Detector == TDetectorKind::Classic) {
        ShowIonPaths(*RChart1, model, lines);
        ShowDetector(*RChart2, model, lines);
    } else {
        ShowInstrument(U, Bp, lines);
        RChart2->CrossHair1()->SetPosX(model.MassInFocus);
    }
    RLabMass->SetText(FormatReal(1, 1, model.MassInFocus));
    // A slit's trace grows by a sample per position; the chart is painted
    // every tenth, as often as the classic scan paints its sticks.
    if (!(scanning_ && detector_.Detector == TDetectorKind::Slit && Bp % kScanStep != 0))
        RChart2->ShowItems();
}

void TfrmExample::ShowInstrument(int U, int Bp, const std::vector<TSpectralLine>& lines)
{
    const TSectorInstrument instrument(detector_, U, k_);
    ShowBeams(*RChart1, instrument, lines, Bp);
    if (detector_.Detector == TDetectorKind::Plate) {
        ShowPlate(*RChart2, instrument, lines, Bp);
        return;
    }
    // The slit records while a scan drives the field up, a sample per
    // position; the passes' second computation at the same field and the
    // return to the minimum add none.
    if (!scanning_)
        return;
    const TTraceSample sample = instrument.Sample(lines, Bp);
    const std::optional<TTraceSample> previous = trace_.empty() ? std::nullopt : std::optional(trace_.back());
    if (previous && sample.FieldPosition <= previous->FieldPosition)
        return;
    AddTraceSample(*RChart2, previous, sample);
    trace_.push_back(sample);
}

void TfrmExample::ClearRecording()
{
    RChart2->ClearItems();
    trace_.clear();
    // A slit's trace may have raised the abundance axis above 100 %.
    if (RChart2->Scale1Y()->RangeHigh() > 100)
        RChart2->Scale1Y()->SetRangeHigh(100);
}

void TfrmExample::SetDetector(const TInstrumentSettings& settings)
{
    if (scanning_)
        return;
    detector_ = settings;
    ClearRecording();
    ComputeIonPaths(Energy->value(), TBMagnetic->value());
    if (link_) {
        emit link_->SpectrumChanged();
        emit link_->SettingsChanged();
    }
}

void TfrmExample::TBMagneticChange()
{
    MagnetNum->SetValue(TBMagnetic->value() / 10);
    ComputeIonPaths(Energy->value(), TBMagnetic->value());
    if (link_)
        emit link_->SettingsChanged();
}

void TfrmExample::EnergyChange()
{
    EnergyNum->SetValue(Energy->value());
    ComputeIonPaths(Energy->value(), TBMagnetic->value());
    if (link_)
        emit link_->SettingsChanged();
}

void TfrmExample::SetScanControlsEnabled(bool enabled)
{
    // The order matters: disabling the control with the focus moves the
    // focus on, past the ones already disabled.
    TBMagnetic->setEnabled(enabled);
    Energy->setEnabled(enabled);
    ScStartBtn->setEnabled(enabled);
    spectrumbox->setEnabled(enabled);
}

void TfrmExample::ScStartBtnClick()
{
    SetScanControlsEnabled(false);
    scanning_ = true;
    ClearRecording();
    // A slit is scanned one field position at a time.
    const int step = detector_.Detector == TDetectorKind::Slit ? 1 : kScanStep;
    int pass = 0;
    while (scanning_) {
        // The passes are those of the field scan without a window; moving the
        // slider computes the picture through its change handler.
        const TScanPass next = NextScanPass(TBMagnetic->value(), TBMagnetic->minimum(), TBMagnetic->maximum(), step);
        TBMagnetic->setValue(next.Advanced);
        if (next.Last) {
            TBMagnetic->setValue(next.Position);
            MagnetNum->SetValue(TBMagnetic->minimum() / 10);
            SetScanControlsEnabled(true);
            scanning_ = false;
        }
        // The slider's change computed the picture at this field already;
        // the classic scan computes it once more, as it always has, but a
        // slit's scan of 5000 positions is spared the second picture.
        if (step == kScanStep || next.Last)
            ComputeIonPaths(Energy->value(), TBMagnetic->value());
        if (OnScanPass)
            OnScanPass(++pass);
        QCoreApplication::processEvents();
        if (closing_)
            break; // the window was closed during the scan: end it at once
    }
    if (link_ && !closing_)
        emit link_->SpectrumChanged();
}

void TfrmExample::ScStopBtnClick()
{
    scanning_ = false;
    SetScanControlsEnabled(true);
}

void TfrmExample::ClearBtnClick()
{
    ClearRecording();
    RChart2->ShowItems();
    if (link_)
        emit link_->SpectrumChanged();
}

void TfrmExample::spectrumboxChange()
{
    for (int i = 1; i <= lineCount_ && i <= MatData->NrOfRows(); ++i) {
        MatData->SetCell(1, i, 0.0);
        MatData->SetCell(2, i, 0.0);
    }
    LoadSpectrum(spectrumbox->currentIndex(), spectrumbox->currentText());
    TBMagnetic->setValue(TBMagnetic->minimum());
    MagnetNum->SetValue(TBMagnetic->value() / 10);
    ClearRecording();
    RChart2->ShowItems();
    ComputeIonPaths(Energy->value(), TBMagnetic->value());
    if (link_)
        emit link_->SubstanceChanged();
}

void TfrmExample::SetUserLibrary(std::unique_ptr<TUserSpectrumLibrary> library)
{
    userLibrary_ = std::move(library);
}

TInstrumentLink& TfrmExample::Instrument()
{
    if (!link_)
        link_ = std::make_unique<TWindowLink>(*this);
    return *link_;
}

void TfrmExample::SetLaboratoryHandler(std::function<void()> open)
{
    openLaboratory_ = std::move(open);
    LaboratoryBtn->setVisible(bool(openLaboratory_));
}

void TfrmExample::SetCharge(int charge)
{
    charge = std::clamp(charge, 1, 3);
    if (charge == charge_)
        return;
    charge_ = charge;
    // Sticks recorded at another charge would stand at the wrong m/z.
    ClearRecording();
    // The axis says what it shows once it is no longer the mass itself.
    ShowMassAxisCharge(*RChart2, charge_,
                       Lexifer().Translate(QStringLiteral("m/z (z = <%1%>)"), {QString::number(charge_)}));
    ShowMassAxisEnd();
    ComputeIonPaths(Energy->value(), TBMagnetic->value());
    if (link_) {
        emit link_->SpectrumChanged();
        emit link_->SettingsChanged();
    }
}

void TfrmExample::SelectSubstance(int index)
{
    if (scanning_ || index < 0 || index >= spectrumbox->count())
        return;
    spectrumbox->setCurrentIndex(index);
    spectrumboxChange();
}

int TfrmExample::UserSubstanceIndex(const QString& name) const
{
    const QString key = LibraryNameKey(name);
    for (int i = shippedCount_; i < spectrumbox->count(); ++i)
        if (LibraryNameKey(spectrumbox->itemText(i)) == key)
            return i;
    return -1;
}

std::optional<QString> TfrmExample::UserLibraryRefusal()
{
    if (!userLibrary_)
        return Lexifer().Translate(QStringLiteral("The program runs without your own spectrum library."));
    // The selector is relisted, which a scan in progress must not see.
    if (scanning_)
        return Lexifer().Translate(QStringLiteral("Wait until the scan has ended."));
    return std::nullopt;
}

void TfrmExample::RelistKeepingSelection()
{
    const int index = spectrumbox->currentIndex();
    const QString name = spectrumbox->currentText();
    const bool user = index >= shippedCount_;
    ListSubstances();
    const int found = user ? UserSubstanceIndex(name) : index;
    if (found >= 0 && found < spectrumbox->count())
        spectrumbox->setCurrentIndex(found); // the same substance, its lines loaded already
    else
        SelectSubstance(0);
    if (link_)
        emit link_->UserLibraryChanged();
}

bool TfrmExample::AddUserSubstance(const QByteArray& record, const QString& name, QString* error)
{
    if (const auto refusal = UserLibraryRefusal()) {
        if (error)
            *error = *refusal;
        return false;
    }
    if (UserSubstanceIndex(name) < 0) {
        if (!userLibrary_->Append(record, error))
            return false;
        RelistKeepingSelection();
    }
    SelectSubstance(UserSubstanceIndex(name));
    return true;
}

TImportReport TfrmExample::ImportSpectra(const QStringList& paths)
{
    if (const auto refusal = UserLibraryRefusal()) {
        TImportReport report;
        report.Written = false;
        report.Lines.append(*refusal);
        return report;
    }
    TImportReport report = ImportSpectrumFiles(*userLibrary_, paths);
    RelistKeepingSelection();
    return report;
}

bool TfrmExample::RemoveUserSubstance(const QString& name, QString* error)
{
    if (const auto refusal = UserLibraryRefusal()) {
        if (error)
            *error = *refusal;
        return false;
    }
    if (!userLibrary_->Remove(name, error))
        return false;
    RelistKeepingSelection();
    return true;
}

void TfrmExample::cmdExitClick()
{
    close();
}

void TfrmExample::closeEvent(QCloseEvent* e)
{
    closing_ = true;
    scanning_ = false;
    QWidget::closeEvent(e);
}
