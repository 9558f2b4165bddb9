#include "i18n/TranslationFile.h"

#include "i18n/Lexifer2000.h"
#include "../widgets/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(TranslationFile, PrefersTheUsersLanguageBesideTheExecutable)
{
    QTemporaryDir dir;
    const QString exe = dir.filePath("ionpath");
    EXPECT_EQ(FindTranslationFile(exe, {"de-DE"}), QString()); // nothing there
    Write(dir.filePath("ionpath.itl"), "[exit]=Exit|$$");
    Write(dir.filePath("ionpath.de.itl"), "[exit]=Beenden|$$");
    struct Case {
        QStringList languages;
        const char* file;
    };
    const Case cases[] = {
        {{"de-DE", "de"}, "ionpath.de.itl"},
        {{"DE_AT"}, "ionpath.de.itl"},
        {{"fr-FR", "de"}, "ionpath.de.itl"},
        {{"fr-FR"}, "ionpath.itl"},
        {{}, "ionpath.itl"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindTranslationFile(exe, c.languages), dir.filePath(c.file)) << c.languages.join(',').toStdString();
    // French and Spanish desktops, in any of their countries, once their files are there.
    Write(dir.filePath("ionpath.fr.itl"), "[exit]=Quitter|$$");
    Write(dir.filePath("ionpath.es.itl"), "[exit]=Salir|$$");
    const Case more[] = {
        {{"fr-FR", "fr"}, "ionpath.fr.itl"},
        {{"fr"}, "ionpath.fr.itl"},
        {{"fr-CA", "de"}, "ionpath.fr.itl"},
        {{"es-MX", "es"}, "ionpath.es.itl"},
        {{"it-IT", "es"}, "ionpath.es.itl"},
    };
    for (const auto& c : more)
        EXPECT_EQ(FindTranslationFile(exe, c.languages), dir.filePath(c.file)) << c.languages.join(',').toStdString();
    // With an extension the file keeps the executable's base name.
    Write(dir.filePath("ms.de.itl"), "");
    EXPECT_EQ(FindTranslationFile(dir.filePath("ms.exe"), {"de"}), dir.filePath("ms.de.itl"));
}

TEST(TranslationFile, LoadsOrLeavesTheTableAlone)
{
    QTemporaryDir dir;
    Write(dir.filePath("a.itl"), "[exit]=Beenden|$$");
    TLexifer2000 lex;
    EXPECT_TRUE(LoadTranslationFile(lex, dir.filePath("a.itl")));
    EXPECT_FALSE(LoadTranslationFile(lex, dir.filePath("missing.itl")));
    EXPECT_FALSE(LoadTranslationFile(lex, QString()));
    EXPECT_EQ(lex.Translate(QStringLiteral("Exit")), QStringLiteral("Beenden"));
}
