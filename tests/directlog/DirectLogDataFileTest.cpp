// The data file: its line form, creating it with its header and appending to it.
#include "directlog/DirectLogDataFile.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

TEST(DirectLogDataFile, LinesUseTheClassicPrintForm)
{
    struct Case {
        qint64 seconds;
        QTime clock;
        qint64 stress;
        double speed;
        float viscosity;
        const char *line;
    };
    const Case cases[] = {
        {30, QTime(9, 15, 2), 250, 300, 48.95337677f, " 30 ,09:15:02, 250 , 300 , 48.95338 \r\n"},
        {5, QTime(14, 0, 0), 0, 123.45, 0.5f, " 5 ,14:00:00, 0 , 123.45 , .5 \r\n"},
        {60000, QTime(0, 0, 9), 60000, 0, 1234567.8f, " 60000 ,00:00:09, 60000 , 0 , 1234568 \r\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DirectLogDataFile::line(c.seconds, c.clock, c.stress, c.speed, c.viscosity),
                  QString::fromLatin1(c.line));
}

TEST(DirectLogDataFile, CreateWritesTheHeaderAndAppendKeepsWhatIsThere)
{
    TempDir dir;
    DirectLogDataFile file(DirectLogDataFile::pathFor(dir.path(), QStringLiteral(" run1.txt ")));
    EXPECT_EQ(file.path(), dir.file(QStringLiteral("run1.txt")));
    QString error;
    ASSERT_TRUE(file.append(QStringLiteral("old\r\n"), &error)) << error.toStdString();
    ASSERT_TRUE(file.create(&error)) << error.toStdString();
    EXPECT_EQ(contents(file.path()), QByteArray("Accu_Time(Sec),Clock_Time,S_Stress(dyn/cm2),Speed(Rpm),Visc(cP)\r\n"));
    ASSERT_TRUE(file.append(QStringLiteral("a\r\n"), &error));
    ASSERT_TRUE(file.append(QStringLiteral("b\r\n"), &error));
    EXPECT_TRUE(contents(file.path()).endsWith("\r\na\r\nb\r\n"));
}

TEST(DirectLogDataFile, FailuresGiveTheReason)
{
    TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    for (const QString &name : {QStringLiteral("folder"), QStringLiteral("missing/data.txt")}) {
        DirectLogDataFile file(dir.file(name));
        QString error;
        EXPECT_FALSE(file.create(&error)) << name.toStdString();
        EXPECT_FALSE(error.isEmpty());
        error.clear();
        EXPECT_FALSE(file.append(QStringLiteral("x"), &error)) << name.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}
