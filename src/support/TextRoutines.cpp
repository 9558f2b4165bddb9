#include "support/TextRoutines.h"

namespace {

template <typename Text>
Text Strip(const Text& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

QString StripBlanks(const QString& text) { return Strip(text); }
QByteArray StripBlanks(const QByteArray& text) { return Strip(text); }
QByteArrayView StripBlanks(QByteArrayView text) { return Strip(text); }

QString LowerCaseAZ(QString text)
{
    for (QChar& c : text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return text;
}

QByteArray LowerCaseAZ(QByteArray text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return text;
}

int FindOccurrence(const QString& find, const QString& text, int startPos, bool ignoreCase, int n)
{
    if (find.isEmpty() || n < 1)
        return 0;
    const QString f = ignoreCase ? LowerCaseAZ(find) : find;
    const QString t = ignoreCase ? LowerCaseAZ(text) : text;
    qsizetype from = startPos <= 0 ? 0 : qsizetype(startPos) - 1;
    for (int found = 0;; ) {
        if (from > t.size())
            return 0;
        const qsizetype at = t.indexOf(f, from);
        if (at < 0)
            return 0;
        if (++found == n)
            return static_cast<int>(at + 1);
        from = at + f.size();
    }
}

QString ReplaceAll(const QString& text, const QString& find, const QString& replacement, bool ignoreCase)
{
    if (find.isEmpty())
        return text;
    const QString f = ignoreCase ? LowerCaseAZ(find) : find;
    const QString t = ignoreCase ? LowerCaseAZ(text) : text;
    // Building the result in one pass gives the same text as deleting and
    // inserting in place and going on after the insertion, without the
    // quadratic cost on long texts.
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = t.indexOf(f, from);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += replacement;
        from = at + f.size();
    }
    result += QStringView(text).mid(from);
    return result;
}
