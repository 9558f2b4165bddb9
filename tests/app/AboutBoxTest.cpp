#include "app/AboutBox.h"
#include "gfx/Color.h"
#include "i18n/Lexifer2000.h"
#include "support/ScopedHook.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

void Load(TLexifer2000& lex, const QByteArray& file)
{
    QByteArray data = file;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    lex.LoadFromStream(buffer);
}

const QString kEnglishDescription = QStringLiteral(
    "This program shows the basic function of a sector field mass spectrometer. It is used in various electronic "
    "textbooks.");
const QString kGermanDescription = QStringLiteral(
    "Dieses Programm zeigt die grundlegende Funktion eines Sektorfeld-Massenspektrometers und wird in verschiedenen "
    "interaktiven elektronischen Lehrb\u00fcchern eingesetzt.");

// Records what the links would open, and the cursor the box shows meanwhile.
struct OpenRecorder {
    QStringList opened;
    TScopedHook<bool(const QUrl&)> opener;
    explicit OpenRecorder(TFrmAbout& box)
        : opener(TFrmAbout::AddressOpener(), [this, &box](const QUrl& url) {
              opened.append(url.toString());
              EXPECT_EQ(box.cursor().shape(), Qt::WaitCursor);
              return false;
          })
    {
    }
};

void Send(QWidget* w, QEvent::Type type)
{
    const QPointF pos(2, 2);
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton,
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void Click(QWidget* w)
{
    Send(w, QEvent::MouseButtonPress);
    Send(w, QEvent::MouseButtonRelease);
}

TColor TextColor(const QWidget* w)
{
    const QColor c = w->palette().color(QPalette::WindowText);
    return TColor(c.red() | (c.green() << 8) | (c.blue() << 16));
}

} // namespace

TEST(AboutBox, ChoosesGermanOrEnglishByTheFilesLanguage)
{
    const struct {
        QByteArray file;
        bool german;
    } cases[] = {
        {"", false},
        {"[$dlglanguage$]=lggerman|$$", true},
        {"[$DlgLanguage$]=LgGerman|$$", true},
        {"[$dlglanguage$]=LGGERMAN|$$", true},
        {"[$dlglanguage$]=lgenglish|$$", false},
        {"[$dlglanguage$]= lggerman|$$", false},
    };
    for (const auto& c : cases) {
        TLexifer2000 lex;
        Load(lex, c.file);
        TFrmAbout box;
        PrepareAboutTexts(box, lex);
        EXPECT_EQ(box.LblDescription->text(), c.german ? kGermanDescription : kEnglishDescription) << c.file.constData();
        EXPECT_EQ(box.LblWebSite->text(),
                  c.german ? QStringLiteral("Mehr Informationen finden Sie auf folgenden Webseiten:")
                           : QStringLiteral("More information can be found at the following Web sites:"))
            << c.file.constData();
        EXPECT_EQ(box.LblName->text(), QStringLiteral("Ionpath"));
        EXPECT_EQ(box.LblVersion->text(), QStringLiteral("Version 2.1"));
    }
}

// The two sentences of a French or Spanish table are in that language, not
// the English or German ones.
TEST(AboutBox, FrenchAndSpanishTablesGetSentencesOfTheirOwn)
{
    const struct {
        QByteArray file;
        const char* description;
        const char* webSites;
    } cases[] = {
        {"[$dlglanguage$]=lgfrench|$$", "spectrom\u00e8tre de masse", "sites web suivants"},
        {"[$dlglanguage$]=LgFrench|$$", "spectrom\u00e8tre de masse", "sites web suivants"},
        {"[$dlglanguage$]=lgspanish|$$", "espectr\u00f3metro de masas", "sitios web"},
    };
    for (const auto& c : cases) {
        TLexifer2000 lex;
        Load(lex, c.file);
        TFrmAbout box;
        PrepareAboutTexts(box, lex);
        const QString description = box.LblDescription->text();
        EXPECT_TRUE(description.contains(QString::fromUtf8(c.description))) << description.toStdString();
        EXPECT_NE(description, kEnglishDescription);
        EXPECT_NE(description, kGermanDescription);
        EXPECT_TRUE(box.LblWebSite->text().contains(QString::fromUtf8(c.webSites))) << c.file.constData();
    }
}

TEST(AboutBox, TranslatesItsOwnKeysAndTakesTheHomePage)
{
    TLexifer2000 lex;
    Load(lex, "[About]=\xc3\x9c" "ber|$$[HomePage]=Zur Startseite|$$[OK]=Gut|$$"
              "[HomePageURL]=https://ionpath.example/home|$$");
    TFrmAbout box;
    PrepareAboutTexts(box, lex);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("\u00dcber"));
    EXPECT_EQ(box.LblHomePage->text(), QStringLiteral("Zur Startseite"));
    EXPECT_EQ(box.BButOK->text(), QStringLiteral("Gut"));
    EXPECT_EQ(box.HomePage(), QStringLiteral("https://ionpath.example/home"));

    // Without a table the wording of the keys shows.
    TLexifer2000 empty;
    TFrmAbout plain;
    PrepareAboutTexts(plain, empty);
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(plain.LblHomePage->text(), QStringLiteral("HomePage"));
    EXPECT_EQ(plain.HomePage(), QStringLiteral("HomePageURL"));
}

TEST(AboutBox, LinksOpenTheirAddressesUnderTheHourglass)
{
    TLexifer2000 lex;
    Load(lex, "[HomePageURL]=https://ionpath.example/home|$$");
    TFrmAbout box;
    PrepareAboutTexts(box, lex);
    box.setCursor(Qt::IBeamCursor);
    box.show();
    OpenRecorder recorder(box);
    Click(box.LblHomePage);
    Click(box.LblSimus);
    EXPECT_EQ(recorder.opened, (QStringList{QStringLiteral("https://ionpath.example/home"), TFrmAbout::SimulationsAddress}));
    EXPECT_EQ(box.cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(box.LblHomePage->cursor().shape(), Qt::PointingHandCursor);
}

TEST(AboutBox, AnUntranslatedHomePageOpensNothing)
{
    // The desktop opener refuses an address without a scheme instead of
    // taking it for a file name.
    EXPECT_FALSE(TFrmAbout::AddressOpener()(QUrl(QStringLiteral("HomePageURL"))));
    TLexifer2000 lex;
    TFrmAbout box;
    PrepareAboutTexts(box, lex);
    box.show();
    box.setCursor(Qt::ArrowCursor);
    box.LblHomePageClick();
    EXPECT_EQ(box.cursor().shape(), Qt::ArrowCursor);
}

TEST(AboutBox, HomePageLinkIsVisibleOnEveryShowing)
{
    TFrmAbout box;
    EXPECT_TRUE(box.LblHomePage->isHidden()); // stored hidden
    for (int i = 0; i < 2; ++i) {
        box.show();
        EXPECT_TRUE(box.LblHomePage->isVisible()) << i;
        box.LblHomePage->hide();
        box.hide();
    }
}

TEST(AboutBox, LinksTurnRedUnderTheMouseAndBlueBesideThem)
{
    TFrmAbout box;
    box.show();
    EXPECT_EQ(TextColor(box.LblHomePage), clBlue);
    Send(box.LblHomePage, QEvent::MouseMove);
    EXPECT_EQ(TextColor(box.LblHomePage), clRed);
    EXPECT_EQ(TextColor(box.LblSimus), clBlue);
    Send(box.LblSimus, QEvent::MouseMove);
    EXPECT_EQ(TextColor(box.LblSimus), clRed);
    Send(box.Panel2, QEvent::MouseMove);
    EXPECT_EQ(TextColor(box.LblHomePage), clBlue);
    EXPECT_EQ(TextColor(box.LblSimus), clBlue);
}

TEST(AboutBox, LayoutAndOkButton)
{
    TFrmAbout box;
    EXPECT_EQ(box.size(), QSize(543, 332));
    EXPECT_EQ(box.Panel2->geometry(), QRect(8, 224, 529, 65));
    EXPECT_EQ(box.LblHomePage->geometry(), QRect(152, 12, 369, 16));
    EXPECT_EQ(box.BButOK->geometry(), QRect(424, 296, 113, 33));
    EXPECT_EQ(TextColor(box.LblName), clMaroon);
    box.show();
    box.BButOK->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);
}
