#include "support/WholeFile.h"

#include <QSaveFile>

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false; // the new file is removed with `file`
    };
    // Unbuffered, so that every write reaches the file at once and a short
    // one shows here: bytes that were still buffered when the file is
    // committed could fail to reach the disk unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return fail(file.errorString());
        done += n;
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
