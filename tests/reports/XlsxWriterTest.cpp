#include "platform/XlsxWriter.h"
#include "platform/WorkProgress.h"
#include "platform/WorkbookModel.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

WorkbookModel smallBook(const QString &sheetName = QStringLiteral("Sheet1"))
{
    WorkbookModel book;
    auto &s = book.addSheet(sheetName);
    s.setText(1, 1, QStringLiteral("K7100 Test Report"));
    s.setNumber(2, 1, 1.5);
    return book;
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(XlsxWriter, writesAZipPackageUnderTheChosenName_andNothingElse)
{
    TempDir tmp;
    const QString path = tmp.file(QStringLiteral("out.xlsx"));
    QString error;
    ASSERT_TRUE(XlsxWriter::write(smallBook(), path, &error)) << error.toStdString();
    EXPECT_TRUE(readFile(path).startsWith("PK"));
    EXPECT_EQ(filesIn(tmp.path()), QStringList{QStringLiteral("out.xlsx")});

    // Writing again replaces the file.
    WorkbookModel bigger = smallBook();
    for (int r = 3; r < 400; ++r)
        bigger.sheets().front().setText(r, 2, QStringLiteral("row %1").arg(r));
    const qint64 before = QFileInfo(path).size();
    ASSERT_TRUE(XlsxWriter::write(bigger, path, &error)) << error.toStdString();
    EXPECT_GT(QFileInfo(path).size(), before);
    EXPECT_EQ(filesIn(tmp.path()), QStringList{QStringLiteral("out.xlsx")});
}

// Each failure is reported with a reason, leaves an earlier file under the name untouched and leaves
// no temporary file behind.
TEST(XlsxWriter, failures_reportAReason_keepTheOldFile_leaveNoTemporary)
{
    TempDir tmp;
    const QString existing = tmp.file(QStringLiteral("kept.xlsx"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier workbook");
    }
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("locked")));
    const QString lockedDir = tmp.file(QStringLiteral("locked"));
    QFile::setPermissions(lockedDir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool permissionsBite = ::geteuid() != 0; // root writes anywhere

    struct Case {
        const char *what;
        WorkbookModel book;
        QString path;
        bool applies;
    };
    const Case cases[] = {
        {"a sheet the library refuses", smallBook(QStringLiteral("bad[name]")), existing, true},
        {"a folder that does not exist", smallBook(), tmp.file(QStringLiteral("missing/x.xlsx")), true},
        {"the name of a folder", smallBook(), lockedDir, true},
        {"a folder without write permission", smallBook(), lockedDir + QStringLiteral("/x.xlsx"), permissionsBite},
        {"no name", smallBook(), QString(), true},
    };
    for (const Case &c : cases) {
        if (!c.applies)
            continue;
        SCOPED_TRACE(c.what);
        QString error;
        EXPECT_FALSE(XlsxWriter::write(c.book, c.path, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(readFile(existing), QByteArray("earlier workbook"));
        EXPECT_EQ(filesIn(tmp.path()), QStringList{QStringLiteral("kept.xlsx")});
        EXPECT_TRUE(filesIn(lockedDir).isEmpty());
    }
    QFile::setPermissions(lockedDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// The user stopped the export: the target keeps what it held, nothing half-written or temporary stays.
TEST(XlsxWriter, aStopRequest_keepsTheOldFile_leavesNoTemporary)
{
    TempDir tmp;
    const QString existing = tmp.file(QStringLiteral("kept.xlsx"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier workbook");
    }
    WorkbookModel book = smallBook();
    for (int r = 3; r < 5000; ++r)
        book.sheets().front().setNumber(r, 1, r);

    WorkProgress stopped;
    stopped.requestStop();
    QString error;
    EXPECT_FALSE(XlsxWriter::write(book, existing, &error, &stopped));
    EXPECT_EQ(error, XlsxWriter::stoppedText());
    EXPECT_EQ(readFile(existing), QByteArray("earlier workbook"));
    EXPECT_EQ(filesIn(tmp.path()), QStringList{QStringLiteral("kept.xlsx")});

    // Without a stop the same progress follows the rows and the file is replaced.
    WorkProgress followed;
    ASSERT_TRUE(XlsxWriter::write(book, existing, &error, &followed)) << error.toStdString();
    EXPECT_EQ(followed.total(), 4999);
    EXPECT_GE(followed.done(), 4096);
    EXPECT_TRUE(readFile(existing).startsWith("PK"));
}
