#include "i18n/Lexifer2000.h"
#include "support/ScopedHook.h"

#include "../widgets/QStringPrinter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Load(TLexifer2000& lex, const QByteArray& file)
{
    QByteArray data = file;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    lex.LoadFromStream(buffer);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

const QByteArray kGerman = "[Exit]=Beenden|$$\r\n[Start Scan]=Messung starten|$$\r\n";

} // namespace

TEST(Lexifer, LooksUpAsciiCaseInsensitivelyButNothingElse)
{
    TLexifer2000 lex;
    Load(lex, kGerman);
    const struct {
        const char* key;
        const char* expected;
    } cases[] = {
        {"EXIT", "Beenden"},
        {"exit", "Beenden"},
        {"Start Scan", "Messung starten"},
        {"Start  Scan", "Start  Scan"}, // spaces are not collapsed at lookup
        {" Exit", " Exit"},
        {"Unknown Key", "Unknown Key"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lex.Translate(QString::fromUtf8(c.key)), QString::fromUtf8(c.expected)) << c.key;
}

TEST(Lexifer, CutsAndNormalisesEntries)
{
    const struct {
        QByteArray file;
        const char* key;
        const char* text;
    } cases[] = {
        {"[Acceleration\r\nVoltage]=Beschleunigungsspannung|$$", "acceleration voltage", "Beschleunigungsspannung"},
        {"[ x]=a|$$", "x", "a"},
        {"[x ]=a|$$", "x ", "a"},
        {"[A\t\t B]=a|$$", "a b", "a"},
        {"[[V]]=[V]|$$", "[v]", "[V]"},
        {"remark for the translator [k]=t|$$", "k", "t"},
        {"[k]=a]=b|$$", "k", "a]=b"},
        {"[k]=Line one\\nLine two|$$", "k", "Line one\nLine two"},
        {"[k]=Keep \\N and \\\\n|$$", "k", "Keep \\N and \\\n"},
        {"[k]=two\r\nlines|$$", "k", "two  lines"},
        {"[k]=About <%APPNAME%>, <%appname%>|$$", "k", "About , "},
        {"[ \r\n ]=blank|$$", "", "blank"},
        {"[k]=|$$", "k", ""},
        {"no brackets|$$", "", "o brackets"}, // without "]=" the text starts at 0 + 2
    };
    for (const auto& c : cases) {
        TLexifer2000 lex;
        Load(lex, c.file);
        ASSERT_EQ(lex.Keys().size(), 1) << c.file.constData();
        EXPECT_EQ(lex.Keys()[0], QString::fromUtf8(c.key)) << c.file.constData();
        EXPECT_EQ(lex.Texts()[0], QString::fromUtf8(c.text)) << c.file.constData();
    }
}

TEST(Lexifer, InsertsTheApplicationName)
{
    TLexifer2000 lex(QStringLiteral("Ionpath"));
    Load(lex, "[title]=About <%AppName%>|$$");
    EXPECT_EQ(lex.Translate(QStringLiteral("Title")), QStringLiteral("About Ionpath"));
}

TEST(Lexifer, LoadsWholeEntriesOnly)
{
    TLexifer2000 lex;
    Load(lex, "[a]=1|$$\r\n[b]=2");
    EXPECT_EQ(lex.Keys(), QStringList{QStringLiteral("a")});
    Load(lex, "");
    EXPECT_TRUE(lex.Keys().isEmpty());
    EXPECT_TRUE(lex.Texts().isEmpty());
}

TEST(Lexifer, FindsTerminatorsAcrossBlocksAndReadsFromTheStart)
{
    // Entries longer than a read block, one terminator split over two blocks.
    QByteArray file;
    for (int i = 0; i < 40; ++i)
        file += "[key" + QByteArray::number(i) + "]=" + QByteArray(i * 13 % 300, 'x') + "|$$\r\n";
    QByteArray data = file;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(100);
    TLexifer2000 lex;
    lex.LoadFromStream(buffer);
    ASSERT_EQ(lex.Keys().size(), 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(lex.Keys()[i], QStringLiteral("key%1").arg(i));
        EXPECT_EQ(lex.Texts()[i], QString(i * 13 % 300, u'x'));
    }
}

TEST(Lexifer, FirstOfEqualKeysWinsAndReloadReplaces)
{
    TLexifer2000 lex;
    Load(lex, "[Exit]=first|$$[EXIT]=second|$$");
    EXPECT_EQ(lex.Translate(QStringLiteral("exit")), QStringLiteral("first"));
    EXPECT_EQ(lex.Keys().size(), 2);
    Load(lex, "[Stop]=Halt|$$");
    EXPECT_EQ(lex.Translate(QStringLiteral("Exit")), QStringLiteral("Exit"));
    EXPECT_EQ(lex.Translate(QStringLiteral("stop")), QStringLiteral("Halt"));
}

TEST(Lexifer, ComparesLettersOutsideAsciiExactly)
{
    TLexifer2000 lex;
    Load(lex, "[\xc3\x84nderung]=change|$$"); // "Änderung" in UTF-8
    EXPECT_EQ(lex.Translate(QStringLiteral("\u00c4nderung")), QStringLiteral("change"));
    EXPECT_EQ(lex.Translate(QStringLiteral("\u00e4nderung")), QStringLiteral("\u00e4nderung"));
    EXPECT_EQ(lex.Keys()[0], QStringLiteral("\u00c4nderung"));
}

TEST(Lexifer, ReadsWindows1252WhenNotUtf8)
{
    TLexifer2000 lex;
    Load(lex, "[exit]=Schlie\xdf" "en \x80|$$");
    EXPECT_EQ(lex.Encoding(), TTextEncoding::Windows1252);
    EXPECT_EQ(lex.Translate(QStringLiteral("Exit")), QStringLiteral("Schlie\u00dfen \u20ac"));
}

TEST(Lexifer, SubstitutesArguments)
{
    TLexifer2000 lex;
    Load(lex, "[value <%1%> of <%2%>]=Wert <%1%> von <%2%>|$$[ten]=<%10%>/<%1%>|$$");
    const struct {
        const char* key;
        QStringList args;
        const char* expected;
    } cases[] = {
        {"Value <%1%> of <%2%>", {"3", "7"}, "Wert 3 von 7"},
        {"Missing <%1%> of <%2%>", {"3", "7"}, "Missing 3 of 7"},
        {"<%1%><%1%>", {"a"}, "aa"},
        {"<%1%>", {"<%1%>"}, "<%1%>"},    // not rescanned by its own pass
        {"<%1%> <%2%>", {"<%2%>", "b"}, "b b"}, // but by the later ones
        {"Ten", {"one", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}, "ten/one"},
        {"<%3%>", {"a"}, "<%3%>"},
        {"no args <%1%>", {}, "no args <%1%>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lex.Translate(QString::fromUtf8(c.key), c.args), QString::fromUtf8(c.expected)) << c.key;
}

TEST(Lexifer, CallsOnTranslateForFoundKeysOnly)
{
    TLexifer2000 lex;
    Load(lex, kGerman);
    QStringList seen;
    lex.OnTranslate = [&](TLexifer2000& sender, const QString& key, QString& text) {
        EXPECT_EQ(&sender, &lex);
        seen.append(key);
        text = text.toUpper();
    };
    EXPECT_EQ(lex.Translate(QStringLiteral("EXIT")), QStringLiteral("BEENDEN"));
    EXPECT_EQ(lex.Translate(QStringLiteral("Missing")), QStringLiteral("Missing"));
    EXPECT_EQ(seen, QStringList{QStringLiteral("EXIT")});
}

TEST(Lexifer, CollectsMissingKeysOnlyWhenAsked)
{
    TLexifer2000 lex;
    lex.Translate(QStringLiteral("Hello"));
    EXPECT_TRUE(lex.NewEntries().isEmpty());
    lex.SetAutoCreateItlFile(true);
    Load(lex, kGerman);
    for (const char* key : {"Hello", "Exit", "Hello", "hello", "Value <%1%>"})
        lex.Translate(QString::fromUtf8(key), {QStringLiteral("9")});
    EXPECT_EQ(lex.NewEntries(), (QStringList{QStringLiteral("[Hello]=Hello|$$"), QStringLiteral("[hello]=hello|$$"),
                                             QStringLiteral("[Value <%1%>]=Value <%1%>|$$")}));
    Load(lex, "");
    EXPECT_EQ(lex.NewEntries().size(), 3); // a reload keeps the collection
    lex.SetAutoCreateItlFile(false);
}

TEST(Lexifer, WritesMissingKeysThenTheTableAtDestruction)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString path = dir.filePath(ItlFileName(QCoreApplication::applicationFilePath()));
    {
        TLexifer2000 lex;
        lex.SetAutoCreateItlFile(true);
        Load(lex, "[Exit]=Beenden|$$\r\n[Two\r\nLines]=One\\nTwo|$$");
        lex.Translate(QStringLiteral("Hello"));
        lex.Translate(QStringLiteral("Hello"));
    }
    QDir::setCurrent(oldCurrent);
    const QByteArray written = ReadFile(path);
    EXPECT_EQ(written, QByteArray("[Hello]=Hello|$$\r\n[exit]=Beenden|$$\r\n[two lines]=One\nTwo|$$\r\n"));

    // Read back, the real line feed is only layout.
    TLexifer2000 again;
    Load(again, written);
    EXPECT_EQ(again.Translate(QStringLiteral("two lines")), QStringLiteral("One Two"));
    EXPECT_EQ(again.Translate(QStringLiteral("hello")), QStringLiteral("Hello"));
}

TEST(Lexifer, WritesBackInTheEncodingItRead)
{
    QTemporaryDir dir;
    TLexifer2000 lex;
    Load(lex, "[exit]=Schlie\xdf" "en|$$");
    lex.WriteItlFile(dir.filePath("x.itl"));
    EXPECT_EQ(ReadFile(dir.filePath("x.itl")), QByteArray("[exit]=Schlie\xdf" "en|$$\r\n"));
}

TEST(Lexifer, ReportsAFailedWriteAtDestructionWithoutThrowing)
{
    QTemporaryDir dir;
    const QString oldCurrent = QDir::currentPath();
    // A directory of the file's name cannot be replaced by a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(ItlFileName(QCoreApplication::applicationFilePath())));
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QStringList reports;
    {
        TScopedHook report(TLexifer2000::WriteFailureReport(), [&](const QString& m) { reports.append(m); });
        TLexifer2000 lex;
        lex.SetAutoCreateItlFile(true);
        lex.Translate(QStringLiteral("Hello"));
    }
    QDir::setCurrent(oldCurrent);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Cannot write the translation file")));
}

TEST(Lexifer, NamesTheFileAfterTheExecutable)
{
    const struct {
        const char* exe;
        const char* itl;
    } cases[] = {
        {"/opt/x/ms_example.exe", "ms_example.itl"},
        {"C:/Programs/MS.EXE", "MS.itl"},
        {"/usr/bin/ionpath", "ionpath.itl"},
        {"/home/u/.hidden", ".hidden.itl"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ItlFileName(QString::fromUtf8(c.exe)), QString::fromUtf8(c.itl)) << c.exe;
}
