#pragma once
// The rotor-bob combinations the instrument can be fitted with, in the order of the setup screen's list.
// The code stored with sequences and readings (`Rbfactor`) is the list position + 1. The factors are kept
// in single precision because stored tests and statements were always computed with those values.
#include <QString>
#include <QStringList>

struct ProgramState;

struct RotorBobEntry {
    QString text;       // list text, "R1-B1" ...
    int code;           // 1..6
    float stressFactor; // divides the Fann dial equivalent
    float rateFactor;   // multiplies the R1-B1 shear rate per rpm
};

class RotorBobTable {
public:
    static constexpr int Count = 6;

    // The list texts in list order ("R1-B1", "R2-B1", "R3-B1", "R1-B2", "R1-B5", "R1-B4").
    static QStringList texts();

    // Entry at a list position (0..Count-1); positions outside the list give R1-B1.
    static RotorBobEntry atPosition(int position);

    // True for the table codes 1..6 (a stored value above 7 is a custom factor, not a table code).
    static bool isTableCode(int code) { return code >= 1 && code <= Count; }

    // Entry for a table code; codes outside 1..6 give R1-B1.
    static RotorBobEntry byCode(int code) { return atPosition(code - 1); }

    // The setup screen's choice: makes the combination at `position` the current one (RotorBob,
    // StressFactor, RateFactor) and the one fitted to the instrument (InstrumentRotorBob).
    static void select(int position, ProgramState &state);

    // The code a command that programs the instrument sends: the rotor-bob chosen on the setup screen,
    // never the factor code of a custom test opened since. Before any choice it is R1-B1's, the geometry
    // the instrument's readings refer to (and the only one the calibration check supports).
    static int instrumentCode(const ProgramState &state);
};
