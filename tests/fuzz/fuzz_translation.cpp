// The translation engine over any ".itl" bytes: loading, lookups of every
// loaded key and of keys that are not there, argument substitution, the
// collection of missing keys, and (for some inputs) the file written at the
// end, loaded again.
//
// Rules checked: one entry per "|$$"; stored keys are normalised (no A to Z,
// no CR, LF or TAB, no double or leading blank); every stored key finds the
// first translation stored under it; a missing key comes back as it was
// asked, with its arguments substituted left to right without rescanning;
// a missing key is collected once; the written file loads back to the
// collected keys followed by the table.
#include "FuzzApplication.h"

#include "i18n/Lexifer2000.h"
#include "support/TextRoutines.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

void Load(TLexifer2000& lex, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // Start away from 0: loading reads from the start whatever the position.
    buffer.seek(bytes.size() / 2);
    lex.LoadFromStream(buffer);
}

void CheckNormalisedKey(const QString& key)
{
    for (QChar c : key)
        FUZZ_CHECK(!(c >= u'A' && c <= u'Z') && c != u'\r' && c != u'\n' && c != u'\t', key);
    FUZZ_CHECK(!key.contains(QStringLiteral("  ")) && !key.startsWith(u' '), key);
}

// The substitution as the lookup must do it, built on the library's own
// left-to-right replacement rather than on Qt's.
QString Substituted(QString text, const QStringList& args)
{
    for (int n = 1; n <= args.size(); ++n)
        text = ReplaceAll(text, QStringLiteral("<%%1%>").arg(n), args[n - 1], false);
    return text;
}

QString TempItlPath()
{
    // tmpfs where there is one: the save file syncs to disk.
    const QString dir = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("ionpath-fuzz-%1.itl").arg(QCoreApplication::applicationPid()));
}

void CheckWrittenFile(const TLexifer2000& lex)
{
    const QString path = TempItlPath();
    lex.WriteItlFile(path);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), path);
    TLexifer2000 again(lex.AppName());
    again.LoadFromStream(file);
    file.close();
    QFile::remove(path);

    const qsizetype collected = lex.NewEntries().size();
    FUZZ_CHECK(again.Keys().size() == collected + lex.Keys().size(), QString::number(again.Keys().size()));
    // A table read as Windows-1252 only because of a remark outside the
    // entries is written without it and may read back as UTF-8; the texts
    // are then other characters, and there is nothing more to compare.
    if (again.Encoding() != lex.Encoding())
        return;
    for (qsizetype i = 0; i < lex.Keys().size(); ++i) {
        FUZZ_CHECK(again.Keys()[collected + i] == lex.Keys()[i], lex.Keys()[i]);
        // Written with real line feeds, read back through the decoding again.
        FUZZ_CHECK(again.Texts()[collected + i] == DecodeTranslation(lex.Texts()[i], lex.AppName()), lex.Texts()[i]);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // The program's engine has an empty name; an engine with a name keeps
    // every text free of a terminator made by removing the macro.
    const bool named = in.ConsumeBool();
    const bool writeFile = in.ConsumeIntegralInRange<int>(0, 15) == 0;
    QStringList args;
    const int argCount = in.ConsumeIntegralInRange<int>(0, 10);
    for (int i = 0; i < argCount; ++i)
        args << QString::fromStdString(in.ConsumeRandomLengthString(16));
    const QString missing = QStringLiteral("Missing <%1%> key <%2%> ") + QString::fromStdString(in.ConsumeRandomLengthString(24));
    const std::string fileBytes = in.ConsumeRemainingBytesAsString();
    const QByteArray file(fileBytes.data(), qsizetype(fileBytes.size()));

    TLexifer2000 lex(named ? QStringLiteral("Ionpath") : QString());
    Load(lex, file);

    FUZZ_CHECK(lex.Keys().size() == lex.Texts().size(), QString());
    FUZZ_CHECK(lex.Keys().size() == file.count("|$$"), QString::number(lex.Keys().size()));
    for (qsizetype i = 0; i < lex.Keys().size(); ++i) {
        const QString& key = lex.Keys()[i];
        CheckNormalisedKey(key);
        const qsizetype first = lex.Keys().indexOf(key);
        FUZZ_CHECK(lex.Translate(key) == lex.Texts()[first], key);
        FUZZ_CHECK(lex.Translate(key, args) == Substituted(lex.Texts()[first], args), key);
    }

    lex.SetAutoCreateItlFile(true);
    if (!lex.Keys().contains(AsciiLower(missing))) {
        FUZZ_CHECK(lex.Translate(missing, args) == Substituted(missing, args), missing);
        lex.Translate(missing, args);
        const QString entry = QLatin1Char('[') + missing + QStringLiteral("]=") + missing + QStringLiteral("|$$");
        FUZZ_CHECK(lex.NewEntries().count(entry) == 1, entry);
    }
    // A second load replaces the table and keeps what was collected.
    const qsizetype collected = lex.NewEntries().size();
    Load(lex, file.left(file.size() / 2));
    FUZZ_CHECK(lex.NewEntries().size() == collected, QString());

    if (writeFile && named && !missing.contains(QStringLiteral("]=")) && !missing.contains(QStringLiteral("|$$")))
        CheckWrittenFile(lex);
    // The engine ends without writing: the file goes to the working directory.
    lex.SetAutoCreateItlFile(false);
    return 0;
}
