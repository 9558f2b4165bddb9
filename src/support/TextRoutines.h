#pragma once
// Small text routines shared by the readers of the program's files.
// Positions are 1-based; 0 means "not found". Case-insensitive comparisons
// fold only the letters A to Z, so that a name with accented letters
// matches itself and nothing else, whatever the user's locale.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Without leading and trailing blanks (code 32 only; tabs stay).
QString StripBlanks(const QString& text);
QByteArray StripBlanks(const QByteArray& text);
QByteArrayView StripBlanks(QByteArrayView text); // a view into the same bytes

// A to Z become a to z; every other character stays.
QString LowerCaseAZ(QString text);
QByteArray LowerCaseAZ(QByteArray text);

// Position of the N-th occurrence of Find that begins at or after StartPos
// (StartPos <= 0 counts as 1), counting occurrences without overlap; 0 when
// there are fewer than N, when N < 1 or when Find is empty.
int FindOccurrence(const QString& find, const QString& text, int startPos, bool ignoreCase, int n);

// Every occurrence of Find replaced, left to right; the inserted text is not
// searched again, so a Replacement that contains Find still terminates.
// An empty Find changes nothing.
QString ReplaceAll(const QString& text, const QString& find, const QString& replacement, bool ignoreCase);
