#pragma once
// A recovery file: the data points of a test that the database would not take (busy, disk full, damaged),
// written beside the database so that nothing the instrument sent is lost, and read back by the main
// window's "Import Recovered Test..." command. Comma-separated text (UTF-8), so a spreadsheet opens it too:
//
//     K7100DAQ recovered test,1
//     TestName,"Mud 7, hot"          <- the test's related information, one line each
//     TestId,12                      <- the id the test had in the database (0: none)
//     MudId,... SampleTime,... CompanyName,... Desc,...
//     Reason,"the disk is full (...)"
//     StepNo,Time,Temperature,Speed,Shearstress,Gel,Rbfactor
//     1,30,77,300,250,12,1           <- one line a point, in stored units, in the order they were taken
//
// Texts are quoted when they hold a comma, a quote or a line break (quotes doubled); numbers are written
// so that they read back exactly.
#include "store/TestLibrary.h"
#include "store/TestPoint.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

struct RecoveredTest {
    RelatedInfoRecord info; // info.testId: the id the test had in the database, 0 when none
    QString reason;         // why the points are not in the database
    TestPoints points;
};

namespace RecoveryFile {

QString fileFilter(); // for the file dialogs

QByteArray encode(const RecoveredTest &test);
// nullopt with the reason in *error when the text is no recovery file or a line is damaged.
std::optional<RecoveredTest> decode(const QByteArray &bytes, QString *error = nullptr);

// "K7100 recovered - <test name> - 2026-01-15 091502.csv", characters that no file name may hold replaced.
QString fileNameFor(const QString &testName, const QDateTime &when);

// Writes the file into the first of `folders` that takes it (a new file, never replacing one); returns its
// path, or "" with the reasons in *error when no folder did.
QString write(const RecoveredTest &test, const QStringList &folders, const QDateTime &when, QString *error = nullptr);

std::optional<RecoveredTest> read(const QString &path, QString *error = nullptr);

// Where recovery files go: beside the database, then the home folder, then the temporary folder.
QStringList foldersFor(const QString &databasePath);

} // namespace RecoveryFile
