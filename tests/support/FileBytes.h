#pragma once
// Whole-file reads and writes for tests that prepare or inspect settings and report files.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

// Replaces the file's content; a file that cannot be written fails the test.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

// The file's content; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
