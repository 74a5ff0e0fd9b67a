#pragma once
// The program-wide state every window shares. One instance lives for the whole run (created by the
// start-up code and passed to each window); fields keep the names the operators' documentation uses.
#include <QString>
#include <cstdint>

enum UnitSystemCode : int32_t { UnitsEI = 1, UnitsSI = 2 };

struct ProgramState {
    int CommPortNumber = 1; // "Comm n", 1..20
    int32_t UnitSystem = UnitsEI;
    double ScreenFactor = 1.0;
    bool DebugMode = false;
    bool SequenceSent = false;
    QString CurrentTestName; // "" when no test is open
    bool NewTestMode = true;
    bool RelatedOk = false;
    int32_t NewTestId = 0; // ids are kept in 32 bits
    bool UnitsChanged = false;
    // The rotor-bob state starts empty: RateFactor 0 means no rotor-bob has been chosen in this run yet
    // (the direct-logging screen refuses to run then). The setup screen and an opened or retrieved test
    // set it, so it describes the test last looked at as much as the instrument.
    int RotorBob = 0; // 1..6: R1-B1, R2-B1, R3-B1, R1-B2, R1-B5, R1-B4; a custom test's factor x 1000
    float StressFactor = 0.0f;
    float RateFactor = 0.0f;
    // The rotor-bob chosen on the setup screen (1..6), 0 until one was chosen: the one fitted to the
    // instrument, whose code every command that programs the instrument sends. Opening a test leaves it.
    int InstrumentRotorBob = 0;
    bool CustomRB = false;
    double CustomStressFactor = 0.0;
    double CustomRateFactor = 0.0;
    QString CurrentSequence;
    QString OverlapTestName;
    QString CurrentMudId;
    QString CurrentSampleTime;
    QString CurrentCompany;

    // Chart plotting method chosen on the setup screen: 0 straight lines, 1 spline,
    // 2 points with least-squares line, 3 points with least-squares power curve.
    int PlottingMethod = 0;

    bool isSI() const { return UnitSystem == UnitsSI; }
};
