#pragma once
// The texts of the step table: its header (a grid format text and the per-column titles) and the six
// cells of a step in the display units. The window, the step dialogs and the printed list read these.
#include "sequence/SequenceStep.h"

#include <QString>
#include <QStringList>

class StepTable {
public:
    enum Column { StepNo, Time, Temperature, Speed, ShearRate, RecordRate, ColumnCount };

    // "<Step No|<Elaps Time" CR "(S)|<Temp" CR "(F°)|..." ("(C°)" in SI); CR separates a title's lines.
    static QString headerFormat(bool si);
    // The column titles of that format text, without the alignment marks (lines still split by CR).
    static QStringList headerTitles(bool si);
    static QStringList cells(const SequenceStep &step, bool si, float rateFactor);
};
