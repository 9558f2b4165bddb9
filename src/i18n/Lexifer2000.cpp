#include "i18n/Lexifer2000.h"

#include "support/Errors.h"

#include <QIODevice>

namespace {

const QByteArray kEntryEnd = QByteArrayLiteral("|$$");
constexpr qint64 kBlockSize = 256;

// Reads the next block of the device into buffer; false at the end.
bool ReadBlock(QIODevice& stream, QByteArray& buffer)
{
    char block[kBlockSize];
    const qint64 n = stream.read(block, kBlockSize);
    if (n < 0)
        throw Exception(QStringLiteral("Cannot read the translation file: %1").arg(stream.errorString()));
    buffer.append(block, n);
    return n > 0;
}

// The characters from..to (counted from 1, inclusive) of entry; empty when
// the range is empty or inverted.
QByteArray Range(const QByteArray& entry, qsizetype from, qsizetype to)
{
    if (from < 1 || to < from)
        return {};
    return entry.mid(from - 1, to - from + 1);
}

struct TRawEntry {
    QByteArray Key;
    QByteArray Translation;
};

// Everything before the first "[" is a remark or the previous line break;
// the key ends at the first "]=" so a key may hold brackets, a translation
// anything but the terminator.
TRawEntry CutEntry(const QByteArray& entry)
{
    const qsizetype p1 = entry.indexOf('[') + 1;
    const qsizetype p2 = entry.indexOf("]=") + 1;
    const qsizetype p3 = entry.size() - kEntryEnd.size() + 1;
    return {Range(entry, p1 + 1, p2 - 1), Range(entry, p2 + 2, p3 - 1)};
}

} // namespace

TLexifer2000::TLexifer2000(QString appName) : appName_(std::move(appName)) {}

QString AsciiLower(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return result;
}

QString NormaliseKey(const QString& rawKey)
{
    QString key = AsciiLower(rawKey);
    for (QChar& c : key)
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    QString collapsed;
    collapsed.reserve(key.size());
    for (QChar c : key) {
        if (c == u' ' && (collapsed.isEmpty() || collapsed.back() == u' '))
            continue; // drops leading spaces and the rest of every run
        collapsed.append(c);
    }
    // A trailing run was cut to its first space, which stays.
    return collapsed;
}

QString DecodeTranslation(const QString& rawTranslation, const QString& appName)
{
    QString text = rawTranslation;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"), Qt::CaseSensitive);
    text.replace(QStringLiteral("<%APPNAME%>"), appName, Qt::CaseInsensitive);
    return text;
}

void TLexifer2000::LoadFromStream(QIODevice& stream)
{
    // The table is replaced only when the whole text has been read, so a
    // device that fails part-way leaves the previous table in place.
    if (!stream.seek(0))
        throw Exception(QStringLiteral("Cannot read the translation file: %1").arg(stream.errorString()));

    // Entries are cut on bytes: the markers are ASCII, which never occurs
    // inside a multi-byte UTF-8 character, so the cut is the same in either
    // encoding. Decoding waits until the whole text's encoding is known.
    std::vector<TRawEntry> raw;
    QByteArray allEntries;
    QByteArray buffer;
    qsizetype searchFrom = 0;
    for (;;) {
        // The terminator has no letters, so a case-insensitive search for
        // it is a plain byte search.
        const qsizetype end = buffer.indexOf(kEntryEnd, searchFrom);
        if (end < 0) {
            searchFrom = std::max<qsizetype>(0, buffer.size() - (kEntryEnd.size() - 1));
            if (!ReadBlock(stream, buffer))
                break; // a remainder without terminator is not an entry
            continue;
        }
        const qsizetype entryLength = end + kEntryEnd.size();
        const QByteArray entry = buffer.left(entryLength);
        raw.push_back(CutEntry(entry));
        allEntries.append(entry);
        buffer.remove(0, entryLength);
        searchFrom = 0;
    }

    encoding_ = DetectTextEncoding(allEntries);
    keys_.clear();
    texts_.clear();
    firstIndex_.clear();
    keys_.reserve(raw.size());
    texts_.reserve(raw.size());
    for (const TRawEntry& e : raw) {
        const QString key = NormaliseKey(DecodeText(e.Key, encoding_));
        if (!firstIndex_.contains(key)) // the first of equal keys wins
            firstIndex_.insert(key, keys_.size());
        keys_.append(key);
        texts_.append(DecodeTranslation(DecodeText(e.Translation, encoding_), appName_));
    }
}

void TLexifer2000::Translate(const QString& key, const QStringList& args, QString& text)
{
    const auto it = firstIndex_.constFind(AsciiLower(key));
    const bool found = it != firstIndex_.constEnd();
    text = found ? texts_[*it] : key;

    // QString::replace continues after each inserted text, so an argument is
    // not rescanned by its own pass (only by the passes for higher numbers).
    for (qsizetype n = 1; n <= args.size(); ++n)
        text.replace(QStringLiteral("<%") + QString::number(n) + QStringLiteral("%>"), args[n - 1]);

    if (found) {
        if (OnTranslate)
            OnTranslate(*this, key, text);
    } else if (autoCreateItlFile_) {
        const QString entry = QLatin1Char('[') + key + QStringLiteral("]=") + key + QStringLiteral("|$$");
        if (!newEntrySet_.contains(entry)) {
            newEntrySet_.insert(entry);
            newEntries_.append(entry);
        }
    }
}

QString TLexifer2000::Translate(const QString& key, const QStringList& args)
{
    QString text;
    Translate(key, args, text);
    return text;
}
