#pragma once
// The steps of the sequence the instrument is running (the one selected on the setup screen), as the
// real-time screen's step grid shows them, and the record rate of each step.
#include "realtime/RecordRates.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct SequenceStepRow {
    qint64 stepNo = 0;
    double time = 0;        // s
    double temperature = 0; // degF, or degC in SI
    double speed = 0;       // rpm
    double shearRate = 0;   // 1/s for the selected rotor-bob
    int recordRate = 0;     // s per stored point
};

class SequenceSteps {
public:
    // 1/s per rpm of the R1-B1 combination is 1 / 0.58744.
    static constexpr double RpmPerReciprocalSecond = 0.58744;

    // Reads the steps of `sequenceName` in step order. The shear rate uses rateFactor as the operators have
    // always seen it written (its shortest single-precision text, "3.185" rather than 3.18499994...).
    // False, with the engine's message in *error, when the statement fails; an unknown name gives no rows.
    static bool load(const QSqlDatabase &db, const QString &sequenceName, bool si, float rateFactor,
                     QList<SequenceStepRow> *rows, QString *error = nullptr);

    // Entry n holds the n-th row's record rate: the step number the instrument reports.
    static RecordRates recordRates(const QList<SequenceStepRow> &rows);

    // The six two-line column titles of the step grid.
    static QStringList gridHeader(bool si);
    // The six cell texts of one row.
    static QStringList gridCells(const SequenceStepRow &row);
};
