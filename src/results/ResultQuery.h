#pragma once
// Reads a stored test's data points as result rows in the user's unit system: the open test (dosql), an
// overlaid test (dosqloverlap), and the plain data read the retrieve command and the brief report use with
// the rotor-bob state as it stands. It owns the conversion rules (units, shear rate, viscosity, Fann dial
// equivalent) and the rotor-bob probe that sets the program-wide rotor-bob state from a stored test.
//
// Values are computed in C++ from the stored columns; every expression follows the arithmetic, order and
// constants of the classic result statement, with the factors as that statement's text carried them
// (single-precision factors printed to 7 significant digits, so 3.185 and .2215 are the decimal values).
#include "results/ResultRow.h"
#include <cstddef> // ResultRow.h uses size_t without including it

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <optional>

struct ProgramState;
class Prompts;
class WorkProgress;

// One TestResult row as stored: seconds, degrees Fahrenheit, rpm, dyn/cm2 (nulls read as 0).
struct StoredPoint {
    double stepNo = 0;
    double time = 0;
    double temperature = 0;
    double speed = 0;
    double shearstress = 0;
    double gel = 0;
    double rbfactor = 0;
};

// How stored values become display values.
struct ResultConversion {
    bool si = false;           // UnitSystem 2: degrees Celsius and dyn/cm2
    bool custom = false;       // custom rotor-bob: rateFactor is the shear rate per rpm itself
    double rateFactor = 1.0;   // standard: multiplies 1.7023 s-1 per rpm; custom: s-1 per rpm
    double stressFactor = 1.0; // divides the Fann dial equivalent

    // The conversion for the program-wide state as it stands (unit system, CustomRB, the factors).
    static ResultConversion fromState(const ProgramState &state);

    // A factor as the classic statement text carried it: a single-precision value printed with 7
    // significant digits and read back (3.185f -> 3.185), a double with 15.
    static double singleFactor(float factor);
    static double doubleFactor(double factor);

    ResultRow convert(const StoredPoint &p) const;
};

// The program-wide rotor-bob settings dosql sets from the test it reads, to carry them from a copy of
// the state (read on a worker thread) back to the state itself.
struct RotorBobState {
    int RotorBob = 1;
    float StressFactor = 1.0f;
    float RateFactor = 1.0f;
    bool CustomRB = false;
    double CustomRateFactor = 0.0;

    static RotorBobState of(const ProgramState &state);
    void applyTo(ProgramState &state) const;
};

class ResultQuery {
public:
    enum class RowOrder {
        StepAndTime, // "ORDER BY StepNo, Time": every reader except the overlay
        AsStored     // the order the rows were written in (the overlay statement has no ordering clause)
    };

    // What the rotor-bob probe found: whether the test has points, and its first point's Rbfactor
    // (nullopt when that value is null).
    struct Probe {
        bool hasRows = false;
        std::optional<double> rbfactor;
    };

    // With prompts, a read error (a damaged database file) is told to the user; the rows of that test are
    // then not returned at all, never in part.
    ResultQuery(const QSqlDatabase &db, ProgramState &state, Prompts *prompts = nullptr);

    // The read error of the last call ("" when it read every row).
    QString lastError() const { return lastError_; }
    static QString readFailedText(const QString &testName, const QString &error);
    // Takes over a read error met elsewhere (by a reader on a worker thread, which has no prompts): sets
    // lastError() ("" for none) and tells the user of an error when this query has prompts.
    void tellReadError(const QString &testName, const QString &error) const;

    ProgramState &state() const { return state_; }
    QSqlDatabase database() const { return db_; }

    // Where reading rows reports how many of the test's rows it has read (none by default).
    void setProgress(WorkProgress *progress) { progress_ = progress; }

    // dosql: the rows of CurrentTestName in display units. Resets StressFactor and RateFactor to 1, then
    // sets RotorBob, StressFactor, RateFactor, CustomRB and CustomRateFactor from the first stored point;
    // a test without points gives no rows and leaves the rest of the state alone.
    ResultTable dosql();

    // dosqloverlap: the rows of OverlapTestName, with its own shear-rate factor and the open test's stress
    // factor, in the order they were stored. The program-wide rotor-bob state is left as the open test set
    // it, so reports of the open test stay right after an overlay. openTest: how the open test was read,
    // when known (the setup screen may have changed StressFactor since); its stress factor is used then.
    ResultTable dosqloverlap(const std::optional<ResultConversion> &openTest = std::nullopt);

    // The rows of a test with a given conversion, no probe (retrieve, brief report).
    ResultTable rows(const QString &testName, const ResultConversion &conversion,
                     RowOrder order = RowOrder::StepAndTime) const;

    // The same by the test's id (the open test's rows, whatever its name matches).
    ResultTable rowsOf(int testId, const ResultConversion &conversion, RowOrder order = RowOrder::StepAndTime) const;

    // TestId of the first stored test with this name (letter case ignored); nullopt when there is none.
    std::optional<int> testId(const QString &testName) const;
    // True while the test with this id is stored (its RelatedInfo row exists); also when the database
    // cannot be read just now, so a passing failure does not close the open test.
    bool testExists(int testId) const;

    // The rotor-bob probe: the Rbfactor of the test's first point in step and time order.
    Probe probe(const QString &testName) const;

    // The probe's rule applied to the state: codes 1..6 select the table entry, a value above 7 is a
    // custom shear-rate factor times 1000, anything else (0, 7, a fraction, null) changes nothing.
    static void applyRotorBob(const std::optional<double> &rbfactor, ProgramState &state);

private:
    ResultTable readRows(int testId, const QString &testName, const ResultConversion &conversion, RowOrder order) const;
    void readFailed(const QString &testName, const QSqlQuery &q) const;

    QSqlDatabase db_;
    ProgramState &state_;
    Prompts *prompts_ = nullptr;
    mutable QString lastError_;
    WorkProgress *progress_ = nullptr;
};
