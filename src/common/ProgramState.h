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
    int RotorBob = 1; // 1..6: R1-B1, R2-B1, R3-B1, R1-B2, R1-B5, R1-B4
    float StressFactor = 1.0f;
    float RateFactor = 1.0f;
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
