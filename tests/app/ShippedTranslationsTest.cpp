#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "i18n/Lexifer2000.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString Shipped(const char* name)
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../data/") + QLatin1String(name));
}

} // namespace

// Every key the two windows carry must have an entry in every file we ship,
// or a user sees the English wording in a translated interface.
TEST(ShippedTranslations, CoverEveryKeyOfBothWindows)
{
    const struct {
        const char* file;
        const char* language;
        const char* exit;
    } cases[] = {
        {"ionpath.itl", "lgenglish", "Exit"},
        {"ionpath.de.itl", "lggerman", "Beenden"},
        {"ionpath.fr.itl", "lgfrench", "Quitter"},
        {"ionpath.es.itl", "lgspanish", "Salir"},
    };
    QSet<QString> notices;
    for (const auto& c : cases) {
        QFile file(Shipped(c.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.file;
        TLexifer2000 lex;
        lex.LoadFromStream(file);
        EXPECT_EQ(lex.Encoding(), TTextEncoding::Utf8) << c.file;
        lex.SetAutoCreateItlFile(true); // collects the keys it cannot find
        TfrmExample main(nullptr, TWindowTexts::Keys);
        lex.TranslateForm(&main);
        TFrmAbout about;
        PrepareAboutTexts(about, lex);
        EXPECT_TRUE(lex.NewEntries().isEmpty()) << c.file << ": " << lex.NewEntries().join(u' ').toStdString();
        lex.SetAutoCreateItlFile(false);

        EXPECT_EQ(lex.Translate(QStringLiteral("$dlglanguage$")), QString::fromLatin1(c.language)) << c.file;
        EXPECT_EQ(main.cmdExit->text(), QString::fromUtf8(c.exit)) << c.file;
        EXPECT_TRUE(lex.Translate(QStringLiteral("HomePageURL")).startsWith(QStringLiteral("https://"))) << c.file;
        // The explanation is real text in several lines, with the radius formula.
        // The licence line is true (MIT for the program, the spectra's own
        // licence) and in the file's language.
        const QString notice = about.LblCopyright->text();
        EXPECT_TRUE(notice.contains(QStringLiteral("MIT")) && notice.contains(QStringLiteral("CC BY-NC-SA")))
            << c.file << ": " << notice.toStdString();
        EXPECT_FALSE(notice.contains(QStringLiteral("rights reserved"), Qt::CaseInsensitive)) << c.file;
        EXPECT_FALSE(notices.contains(notice)) << c.file << ": the notice of another language";
        notices.insert(notice);
        const QString explain = main.MMExplain->toPlainText();
        EXPECT_GE(explain.count(u'\n'), 3) << c.file;
        EXPECT_TRUE(explain.contains(QStringLiteral("r = sqrt(2 m U / (e B\u00b2))"))) << c.file;
        for (const QObject* o : main.findChildren<QObject*>())
            for (const char* prop : {"text", "windowTitle", "Caption", "RightText"})
                EXPECT_FALSE(o->property(prop).toString().startsWith(QStringLiteral("LX_")))
                    << c.file << ": " << o->objectName().toStdString() << "." << prop;
    }
}

// The texts that are not captions of the two windows (chart menus, tool tips,
// the licence line) are looked up by their keys at run time: every key of
// the English file must be in every other one, and what the program fills in
// or what must stay as written must have come through the translation.
TEST(ShippedTranslations, EveryFileHasEveryKeyOfTheEnglishOne)
{
    const auto load = [](const char* name, TLexifer2000& lex) {
        QFile file(Shipped(name));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        lex.LoadFromStream(file);
        return true;
    };
    TLexifer2000 english;
    ASSERT_TRUE(load("ionpath.itl", english));
    ASSERT_GT(english.Keys().size(), 50);
    for (const char* name : {"ionpath.de.itl", "ionpath.fr.itl", "ionpath.es.itl"}) {
        SCOPED_TRACE(name);
        TLexifer2000 lex;
        ASSERT_TRUE(load(name, lex));
        // Keys come back as they were stored; compare them in that form.
        QStringList missing;
        for (const QString& key : english.Keys())
            if (!lex.Keys().contains(key))
                missing << key;
        EXPECT_TRUE(missing.isEmpty()) << missing.join(QStringLiteral(" | ")).toStdString();
        EXPECT_EQ(lex.Keys().size(), english.Keys().size()) << "a key the English file does not have";

        const QString tip = lex.Translate(QStringLiteral("StickTip"), {QStringLiteral("28"), QStringLiteral("100")});
        EXPECT_TRUE(tip.contains(QStringLiteral("28")) && tip.contains(QStringLiteral("100 %"))) << tip.toStdString();
        const QString notice = lex.Translate(QStringLiteral("Notice"));
        EXPECT_TRUE(notice.contains(QStringLiteral("MIT")) && notice.contains(QStringLiteral("CC BY-NC-SA")))
            << notice.toStdString();
        // A translated text, not the English one left in place.
        for (const char* key : {"Start Scan", "Mass Spectrum", "Logarithmic abundance", "MMExplain"})
            EXPECT_NE(lex.Translate(QString::fromLatin1(key)), english.Translate(QString::fromLatin1(key))) << key;
    }
}
