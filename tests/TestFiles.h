#pragma once
// Files a test writes and reads back whole.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

inline void WriteTestFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The bytes, or "(missing)" when the file cannot be read.
inline QByteArray ReadTestFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}
