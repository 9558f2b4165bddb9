#pragma once
// The 8-bit encodings of the program's text files. A file is read as UTF-8
// when all its bytes are valid UTF-8, otherwise as Windows-1252 (which gives
// every byte a character), and written back in the encoding it was read in.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

enum class TTextEncoding { Utf8, Windows1252 };

TTextEncoding DetectTextEncoding(QByteArrayView bytes);
QString DecodeText(QByteArrayView bytes, TTextEncoding encoding);
// Characters Windows-1252 cannot hold become "?".
QByteArray EncodeText(const QString& text, TTextEncoding encoding);
