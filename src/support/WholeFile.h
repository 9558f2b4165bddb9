#pragma once
// Writing a file so that it is either complete or not there: the bytes go to
// a new file beside it, which replaces the old one only once every byte is
// on the disk. A full disk or a size limit in the middle leaves the old file
// as it was and no part of the new one.

#include <QByteArray>
#include <QString>

// False when the file cannot be written; `error` then says why.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
