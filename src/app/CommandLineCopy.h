#pragma once
// k7100daq copy --from DB --to DB [--dry-run]: every test and sequence of one database (a file or a
// server's URI) into another (see DatabaseCopy). The source must exist; a target file that does not is
// made. Names already in the target refuse the copy: nothing is written, and the one error line lists them.
#include "app/CommandLine.h"

class QTextStream;

namespace CommandLineCopy {

int run(const CommandLine::Request &request, const QString &workDir, QTextStream &out, QTextStream &err);
QString helpText();

} // namespace CommandLineCopy
