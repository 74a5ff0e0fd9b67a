#pragma once
// Independent read-back of written workbooks: runs a Python snippet with openpyxl. The interpreter is the one
// CMake found (K7100_OPENPYXL_PYTHON in every test's environment); without it the call fails and says why.
#include <QString>
#include <QStringList>

namespace Openpyxl {

// The python3 that has openpyxl, "" when none was found.
QString python();

// Runs `script` (which reads sys.argv[1:]) with `args`; its standard output split into lines. On failure
// *error says what went wrong and the result is empty.
QStringList run(const QString &script, const QStringList &args, QString *error);

// Every non-empty cell of every sheet as "Sheet!A1<tab>value" lines.
QStringList cells(const QString &path, QString *error);

} // namespace Openpyxl
