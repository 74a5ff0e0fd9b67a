#pragma once
// The example sequence a new database starts with: "API Standard", the standard oil-field viscometer
// test. A flow curve at 600, 300, 200, 100, 6 and 3 rpm gives PV and YP from the 600 and 300 rpm readings;
// then two gel readings, each stirred at 600 rpm, rested at 0 rpm (10 s, then 10 min) and read at 3 rpm.
// Rest steps record every second (short rest) or every 10 s (long rest), so the last stored point of each
// rest falls at its end and the derived-values rules can tell a 10-second from a 10-minute gel.
#include "sequence/SequenceStep.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

class ExampleSequence {
public:
    static QString name() { return QStringLiteral("API Standard"); }
    static QList<SequenceStep> steps();

    // Adds the example unless a sequence of that name (any letter case) exists. True when it was added.
    static bool create(QSqlDatabase db);
};
