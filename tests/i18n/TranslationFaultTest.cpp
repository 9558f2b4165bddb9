// The translation files when the file system does not cooperate: a file
// that cannot be read, one whose reading fails part-way, and the collected
// file at the end going to a folder the user may not write to.
#include "i18n/Lexifer2000.h"
#include "i18n/TranslationFile.h"
#include "support/Errors.h"
#include "support/ScopedHook.h"

#include "../faults/AsOtherUser.h"
#include "../widgets/QStringPrinter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Write(const QString& path, const QByteArray& bytes, QFile::Permissions permissions)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    f.close();
    ASSERT_TRUE(QFile::setPermissions(path, permissions));
}

const QFile::Permissions kReadable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions kOpenFolder = kReadable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
const QFile::Permissions kReadOnlyFolder = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                           QFile::ReadOther | QFile::ExeOther;
const QFile::Permissions kNoAccess = QFile::Permissions::fromInt(0);

// A device that delivers some bytes and then fails, like a file on a disk
// that dies part-way.
class TFailingDevice : public QIODevice {
public:
    explicit TFailingDevice(QByteArray first) : first_(std::move(first)) { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        if (given_ >= first_.size())
            return -1;
        const qint64 n = std::min<qint64>(max, first_.size() - given_);
        memcpy(data, first_.constData() + given_, size_t(n));
        given_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    bool isSequential() const override { return false; }

private:
    QByteArray first_;
    qint64 given_ = 0;
};

void LoadText(TLexifer2000& lex, QByteArray text)
{
    QBuffer b(&text);
    b.open(QIODevice::ReadOnly);
    lex.LoadFromStream(b);
}

} // namespace

TEST(TranslationFault, AReadErrorLeavesTheTableAsItWas)
{
    TLexifer2000 lex;
    LoadText(lex, "[exit]=Beenden|$$");
    // 600 bytes of good entries first, so the failure comes after whole blocks.
    QByteArray entries;
    while (entries.size() < 600)
        entries += "[exit]=Ende|$$\r\n";
    TFailingDevice failing(entries);
    EXPECT_THROW(lex.LoadFromStream(failing), Exception);
    EXPECT_EQ(lex.Keys(), QStringList{QStringLiteral("exit")});
    EXPECT_EQ(lex.Translate(QStringLiteral("Exit")), QStringLiteral("Beenden"));
}

TEST(TranslationFault, AFileThatFailsToReadIsNotLoadedAndDoesNotEndTheProgram)
{
    if (!QFileInfo(QStringLiteral("/proc/self/mem")).exists())
        GTEST_SKIP() << "no /proc";
    // The process's own memory file opens, but reading its first page fails
    // with an I/O error: a real file whose reading fails.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ionpath.itl"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), path));
    TLexifer2000 lex;
    LoadText(lex, "[exit]=Beenden|$$");
    bool loaded = true;
    EXPECT_NO_THROW(loaded = LoadTranslationFile(lex, path));
    EXPECT_FALSE(loaded);
    EXPECT_EQ(lex.Translate(QStringLiteral("Exit")), QStringLiteral("Beenden"));
}

TEST(TranslationFault, AnUnreadableLanguageFileGivesWayToThePlainOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), kOpenFolder));
    const QString exe = dir.filePath(QStringLiteral("ionpath"));
    Write(dir.filePath(QStringLiteral("ionpath.itl")), "[mmexplain]=How the instrument works|$$", kReadable);
    Write(dir.filePath(QStringLiteral("ionpath.de.itl")), "[mmexplain]=So arbeitet das Instrument|$$", kNoAccess);
    const TChildResult r = RunAsOtherUser([&] {
        TLexifer2000 lex;
        LoadTranslationFile(lex, FindTranslationFile(exe, {QStringLiteral("de-DE"), QStringLiteral("de")}));
        return lex.Translate(QStringLiteral("MMExplain"));
    });
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.text, QStringLiteral("How the instrument works"));
}

TEST(TranslationFault, WithoutAReadableFileTheWindowShowsItsWordingWithoutThePrefix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), kOpenFolder));
    const QString exe = dir.filePath(QStringLiteral("ionpath"));
    const QString itl = dir.filePath(QStringLiteral("ionpath.itl"));
    Write(itl, "[exit]=Beenden|$$", kNoAccess);
    const TChildResult r = RunAsOtherUser([&] {
        TLexifer2000 lex;
        const bool found = !FindTranslationFile(exe, {}).isEmpty();
        const bool loaded = LoadTranslationFile(lex, itl); // also when asked directly
        QLabel label(QStringLiteral("LX_Exit"));
        lex.TranslateForm(&label);
        return QStringLiteral("%1 %2 %3").arg(found).arg(loaded).arg(label.text());
    });
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.text, QStringLiteral("0 0 Exit"));
}

TEST(TranslationFault, TheFileAtTheEndInAReadOnlyFolderIsReportedAndTheOldOneKept)
{
    QTemporaryDir dir;
    const QString name = ItlFileName(QCoreApplication::applicationFilePath());
    const QString old = dir.filePath(name);
    Write(old, "[old]=Alt|$$\r\n", kReadable);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), kReadOnlyFolder));
    const TChildResult r = RunAsOtherUser([&] {
        if (!QDir::setCurrent(dir.path()))
            return QStringLiteral("cannot enter the folder");
        QStringList reports;
        TScopedHook report(TLexifer2000::WriteFailureReport(), [&](const QString& m) { reports << m; });
        {
            TLexifer2000 lex;
            lex.SetAutoCreateItlFile(true);
            lex.Translate(QStringLiteral("Hello"));
        } // the engine ends here and writes; nothing may be thrown
        return reports.join(u'|');
    });
    QFile::setPermissions(dir.path(), kOpenFolder); // so the folder can be removed
    ASSERT_TRUE(r.ran);
    EXPECT_TRUE(r.text.startsWith(QStringLiteral("Cannot write the translation file \"%1\"").arg(name))) << r.text.toStdString();
    EXPECT_FALSE(r.text.contains(u'|')); // reported once
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[old]=Alt|$$\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no half-written file left
}
