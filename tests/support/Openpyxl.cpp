#include "tests/support/Openpyxl.h"

#include <QProcess>

namespace Openpyxl {

QString python()
{
    return qEnvironmentVariable("K7100_OPENPYXL_PYTHON");
}

QStringList run(const QString &script, const QStringList &args, QString *error)
{
    const QString interpreter = python();
    if (interpreter.isEmpty()) {
        *error = QStringLiteral("no python3 with openpyxl found (install python3-openpyxl); "
                                "K7100_OPENPYXL_PYTHON is not set");
        return {};
    }
    QProcess p;
    p.start(interpreter, QStringList{QStringLiteral("-c"), script} + args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QStringLiteral("openpyxl failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return {};
    }
    error->clear();
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList cells(const QString &path, QString *error)
{
    return run(QStringLiteral("import sys, openpyxl\n"
                              "wb = openpyxl.load_workbook(sys.argv[1])\n"
                              "for ws in wb.worksheets:\n"
                              "    for row in ws.iter_rows():\n"
                              "        for c in row:\n"
                              "            if c.value is not None:\n"
                              "                print(f'{ws.title}!{c.coordinate}\\t{c.value}')\n"),
               {path}, error);
}

} // namespace Openpyxl
