#include "app/AboutBox.h"

#include "app/ControlDescriptions.h"
#include "app/TextFitting.h"
#include "dialogs/MessageDialogKinds.h"
#include "gfx/Color.h"
#include "i18n/Lexifer2000.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>

namespace {

QFont ArialFont(int pixelHeight)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelHeight);
    return f;
}

void SetTextColor(QWidget* w, TColor color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, ToQColor(color));
    w->setPalette(p);
}

QLabel* MakeLabel(QWidget* parent, const char* name, int x, int y, int w, int h, Qt::Alignment align)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, h);
    l->setAlignment(align);
    return l;
}

// Outer bevel lowered, inner raised: the etched look of a sunken box.
QFrame* MakePanel(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* p = new QFrame(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setGeometry(x, y, w, h);
    p->setFrameShape(QFrame::Box);
    p->setFrameShadow(QFrame::Sunken);
    return p;
}

TLinkLabel* MakeLink(QWidget* parent, const char* name, int x, int y)
{
    auto* l = new TLinkLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, 369, 16);
    QFont f(QStringLiteral("Courier New"));
    f.setPixelSize(13);
    f.setBold(true);
    f.setUnderline(true);
    l->setFont(f);
    l->setCursor(Qt::PointingHandCursor);
    SetTextColor(l, clBlue);
    return l;
}

// An address without a scheme (such as an untranslated key) would be taken
// for a file beside the program; it opens nothing instead.
bool OpenWithDesktop(const QUrl& url)
{
    if (!url.isValid() || url.scheme().isEmpty())
        return false;
    return QDesktopServices::openUrl(url);
}

// A link for assistive tools: named by its caption unless it has a name of
// its own, and pressed as a click would.
class TLinkAccessible : public QAccessibleWidget {
public:
    explicit TLinkAccessible(TLinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        auto* link = static_cast<TLinkLabel*>(widget());
        if (action == pressAction() && link->OnClick)
            link->OnClick();
    }
};

QAccessibleInterface* LinkFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TLinkLabel"))
        if (auto* link = qobject_cast<TLinkLabel*>(object))
            return new TLinkAccessible(link);
    return nullptr;
}

} // namespace

std::function<bool(const QUrl&)>& TFrmAbout::AddressOpener()
{
    static std::function<bool(const QUrl&)> opener = OpenWithDesktop;
    return opener;
}

const QString TFrmAbout::SimulationsAddress = QStringLiteral("https://phet.colorado.edu/");

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    static const bool factory = [] {
        QAccessible::installFactory(LinkFactory);
        return true;
    }();
    Q_UNUSED(factory);
}

void TLinkLabel::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (modifiers == Qt::NoModifier && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (OnClick)
            OnClick();
        return;
    }
    QLabel::keyPressEvent(event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        OnClick();
}

void TLinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove)
        OnMouseMove();
    // Kept from the panel below, which would turn the link blue again.
    event->accept();
}

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("LX_About"));
    setFont(ArialFont(13));
    SetTextColor(this, clBlack);
    setFixedSize(543, 332);

    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignTop;
    Panel1 = MakePanel(this, "Panel1", 8, 10, 529, 127);
    LblName = MakeLabel(Panel1, "LblName", 8, 12, 513, 34, centre);
    QFont nameFont = ArialFont(30);
    nameFont.setBold(true);
    nameFont.setItalic(true);
    LblName->setFont(nameFont);
    SetTextColor(LblName, clMaroon);
    LblName->setText(QStringLiteral("Ionpath"));
    LblVersion = MakeLabel(Panel1, "LblVersion", 8, 50, 513, 16, centre);
    LblVersion->setText(QStringLiteral("Version 2.1"));
    LblAuthor = MakeLabel(Panel1, "LblAuthor", 8, 74, 513, 16, centre);
    LblCopyright = MakeLabel(Panel1, "LblCopyright", 8, 100, 513, 16, centre);
    LblCopyright->setText(QStringLiteral("LX_Notice")); // the licences of the program and of the spectra

    LblDescription = MakeLabel(this, "LblDescription", 8, 152, 529, 65, centre);
    LblDescription->setWordWrap(true);
    SetTextColor(LblDescription, clMaroon);

    Panel2 = MakePanel(this, "Panel2", 8, 224, 529, 65);
    Panel2->setMouseTracking(true);
    Panel2->installEventFilter(this);
    LblWebSite = MakeLabel(Panel2, "LblWebSite", 8, 8, 137, 49, Qt::AlignRight | Qt::AlignTop);
    LblWebSite->setWordWrap(true);
    LblHomePage = MakeLink(Panel2, "LblHomePage", 152, 12);
    LblHomePage->setText(QStringLiteral("LX_HomePage"));
    LblHomePage->setVisible(false); // stored hidden; FormShow shows it
    LblHomePage->OnClick = [this] { LblHomePageClick(); };
    LblHomePage->OnMouseMove = [this] { LblHomePageMouseMove(); };
    LblSimus = MakeLink(Panel2, "LblSimus", 152, 36);
    LblSimus->setText(SimulationsAddress);
    LblSimus->OnClick = [this] { LblSimusClick(); };
    LblSimus->OnMouseMove = [this] { LblSimusMouseMove(); };

    BButOK = new QPushButton(QStringLiteral("LX_OK"), this);
    BButOK->setObjectName(QStringLiteral("BButOK"));
    BButOK->setGeometry(424, 296, 113, 33);
    BButOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BButOK->setDefault(true);
    connect(BButOK, &QPushButton::clicked, this, [this] { BButOKClick(); });
    // A link with the keyboard focus shows it as the mouse over it does.
    LblHomePage->installEventFilter(this);
    LblSimus->installEventFilter(this);
    DescribeControls(*this);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
    // Enter closes the box at once, as the start-up notice is meant to be
    // closed; the links come first only in the Tab order.
    BButOK->setFocus(Qt::OtherFocusReason);
}

bool TFrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel2 && event->type() == QEvent::MouseMove)
        Panel2MouseMove();
    if (watched == LblHomePage || watched == LblSimus) {
        if (event->type() == QEvent::FocusIn)
            SetTextColor(static_cast<QWidget*>(watched), clRed);
        else if (event->type() == QEvent::FocusOut)
            SetTextColor(static_cast<QWidget*>(watched), clBlue);
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmAbout::FormShow()
{
    LblHomePage->setVisible(true);
}

void TFrmAbout::Open(const QString& address)
{
    // The hourglass shows while the desktop starts the browser, which can
    // take a while; it is restored whatever the outcome.
    const QCursor saved = cursor();
    setCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    if (const auto& open = AddressOpener())
        open(QUrl(address, QUrl::StrictMode));
    setCursor(saved);
}

void TFrmAbout::LblHomePageClick()
{
    Open(homePage_);
}

void TFrmAbout::LblSimusClick()
{
    Open(SimulationsAddress);
}

void TFrmAbout::LblHomePageMouseMove()
{
    SetTextColor(LblHomePage, clRed);
}

void TFrmAbout::LblSimusMouseMove()
{
    SetTextColor(LblSimus, clRed);
}

void TFrmAbout::Panel2MouseMove()
{
    SetTextColor(LblHomePage, clBlue);
    SetTextColor(LblSimus, clBlue);
}

void TFrmAbout::BButOKClick()
{
    close();
}

void PrepareAboutTexts(TFrmAbout& box, TLexifer2000& lexifer)
{
    box.LblName->setText(QStringLiteral("Ionpath"));
    box.LblVersion->setText(QStringLiteral("Version 2.1"));
    box.SetHomePage(lexifer.Translate(QStringLiteral("HomePageURL")));
    const std::uint8_t language = MessageDialogLanguageOf(lexifer.Translate(QStringLiteral("$dlglanguage$")));
    lexifer.TranslateForm(&box);
    switch (language) {
    case MessageDialogGerman:
        box.LblWebSite->setText(QStringLiteral("Mehr Informationen finden Sie auf folgenden Webseiten:"));
        box.LblDescription->setText(
            QStringLiteral("Dieses Programm zeigt die grundlegende Funktion eines Sektorfeld-Massenspektrometers") +
            QLatin1Char(' ') +
            QStringLiteral("und wird in verschiedenen interaktiven elektronischen Lehrb\u00fcchern eingesetzt."));
        break;
    case MessageDialogFrench:
        // French sets a colon apart with a space that must not break the line.
        box.LblWebSite->setText(QStringLiteral("Plus d'informations sur les sites web suivants\u00a0:"));
        box.LblDescription->setText(
            QStringLiteral("Ce programme montre le fonctionnement de base d'un spectrom\u00e8tre de masse \u00e0 "
                           "secteur magn\u00e9tique.") +
            QLatin1Char(' ') +
            QStringLiteral("Il est utilis\u00e9 dans divers manuels \u00e9lectroniques interactifs."));
        break;
    case MessageDialogSpanish:
        box.LblWebSite->setText(QStringLiteral("M\u00e1s informaci\u00f3n en los siguientes sitios web:"));
        box.LblDescription->setText(
            QStringLiteral("Este programa muestra el funcionamiento b\u00e1sico de un espectr\u00f3metro de masas de "
                           "sector magn\u00e9tico.") +
            QLatin1Char(' ') +
            QStringLiteral("Se utiliza en diversos libros de texto electr\u00f3nicos interactivos."));
        break;
    default:
        box.LblWebSite->setText(QStringLiteral("More information can be found at the following Web sites:"));
        box.LblDescription->setText(
            QStringLiteral("This program shows the basic function of a sector field mass spectrometer.") +
            QLatin1Char(' ') + QStringLiteral("It is used in various electronic textbooks."));
    }
    // The box keeps its classic layout in every language: a text too long
    // for its label is set smaller rather than cut.
    for (QLabel* l : box.findChildren<QLabel*>())
        FitLabelText(*l, l->font(), l->contentsRect().size());
}
