#pragma once
// The "Calibration Check Result" table: one row per target stress with the signed error (dyn/cm2) and the
// unsigned percent error of the measured stress, "N/A" until the step has been measured. A row is
// measured from the readings at 27 and 28 seconds into its step (the later one stays): by then the
// 30-second step has settled and the instrument has not yet moved on. The check decides no pass or fail;
// the operator reads the errors.
#include "calcheck/CalibrationPlan.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

struct RealTimeReading;

struct CalibrationRow {
    int target = 0;                       // dyn/cm2, the caption of the row
    double speedRpm = 0;                  // the check speed of the target
    bool run = false;                     // the target was sent to the instrument
    std::optional<qint64> measured;       // F4 of the last reading taken for the row
    QString error = notMeasured();        // "Error (dyn/cm2)"
    QString percentError = notMeasured(); // "Error (%)"

    static QString notMeasured() { return QStringLiteral("N/A"); }
};

class CalibrationTable {
public:
    static constexpr int FirstSecond = 27;
    static constexpr int LastSecond = 28;

    CalibrationTable();

    // A new check: every error cell back to "N/A", the rows' speeds and run flags from the plan.
    void reset(const CalibrationPlan &plan, const QDateTime &startedAt);

    // Takes a valid reading into its step's row when it falls on second 27 or 28 of a step that was sent.
    // True when a row changed. Readings of other seconds, or of a step the check did not send (there is no
    // row for it), are left alone.
    bool take(const RealTimeReading &reading);

    // The cell texts: the error formatted "0.0", and the percent error computed from the error as shown
    // (already rounded to one decimal), also "0.0".
    static QString errorText(qint64 measured, int target);
    static QString percentErrorText(const QString &shownError, int target);

    bool hasCheck() const { return started_; }
    const CalibrationPlan &plan() const { return plan_; }
    QDateTime startedAt() const { return startedAt_; }
    const std::array<CalibrationRow, CalibrationPlan::TargetCount> &rows() const { return rows_; }

private:
    bool started_ = false;
    CalibrationPlan plan_;
    QDateTime startedAt_;
    std::array<CalibrationRow, CalibrationPlan::TargetCount> rows_;
};
