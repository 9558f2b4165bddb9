#pragma once
// The About box: the program's name and version, a description, two web
// links and an OK button. The main window prepares its texts once
// (PrepareAboutTexts) and shows it modally at start and on request.

#include <QDialog>
#include <QLabel>
#include <functional>

class QFrame;
class QPushButton;
class QUrl;
class TLexifer2000;

// A label that reports clicks and mouse moves, for the box's links. It
// takes the keyboard focus, and Space or Enter on it counts as a click, so
// that the links can be followed without a mouse; assistive tools see it as
// a link that can be pressed.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(QWidget* parent);
    std::function<void()> OnClick;
    std::function<void()> OnMouseMove;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget* parent = nullptr);

    // The address the home-page link opens.
    QString HomePage() const { return homePage_; }
    void SetHomePage(const QString& address) { homePage_ = address; }

    // Handlers.
    void FormShow();
    void LblHomePageClick();
    void LblSimusClick();
    void LblHomePageMouseMove();
    void LblSimusMouseMove();
    void Panel2MouseMove();
    void BButOKClick();

    // Opens the links' addresses; the result is not examined.
    // Default: the desktop's registered program; tests replace it to see what would be opened.
    static std::function<bool(const QUrl&)>& AddressOpener();
    // The collection of simulations that LblSimus shows and opens.
    static const QString SimulationsAddress;

    QFrame* Panel1;
    QLabel* LblName;
    QLabel* LblVersion;
    QLabel* LblAuthor;
    QLabel* LblCopyright;
    QLabel* LblDescription;
    QFrame* Panel2;
    QLabel* LblWebSite;
    TLinkLabel* LblHomePage;
    TLinkLabel* LblSimus;
    QPushButton* BButOK;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Open(const QString& address);
    QString homePage_;
};

// The main window's preparation of the box before its first showing: name
// and version, the home-page address ("HomePageURL"), the box's own keys,
// and the German, French, Spanish or English description and lead-in, chosen
// by the translation of "$dlglanguage$" (MessageDialogLanguageOf).
void PrepareAboutTexts(TFrmAbout& box, TLexifer2000& lexifer);
