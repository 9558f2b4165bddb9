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
