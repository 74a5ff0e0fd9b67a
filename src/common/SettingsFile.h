#pragma once
// "initial.txt": line 1 = position of the port in the "Comm 1".."Comm 20" list (0-based), line 2 = unit
// system (1 EI, 2 SI), line 3 = screen factor. Lines end in CR LF; numbers are written in the classic print
// form (" 0 ": a blank before a number of zero or more and one after).
#include <QString>
#include <QStringList>
#include <optional>

struct ProgramState;

struct SettingsValues {
    int portIndex = 0;           // 0-based list position
    int unitSystem = 1;          // line 2, or EI when it names no unit system
    bool unitSystemRead = false; // line 2 held 1 or 2 (the setup screen changes its options only then)
    double screenFactor = 1.0;
    int linesRead = 0; // how many of the three meaningful lines held a number
    // Line 3 held a number outside the usable range (screenFactor is then 1.0); what it held.
    std::optional<double> refusedScreenFactor;
};

class SettingsFile {
public:
    static QString fileName() { return QStringLiteral("initial.txt"); }

    // The screen factor scales every control twice (when its place is recorded and when it is placed), so
    // above 1 the right and bottom edges of each window move out of reach, and well below 1 the texts no
    // longer fit their controls. Factors outside this range are refused.
    static constexpr double MinScreenFactor = 0.9;
    static constexpr double MaxScreenFactor = 1.0;
    static bool isUsableScreenFactor(double factor) { return factor >= MinScreenFactor && factor <= MaxScreenFactor; }
    // What the user is told about a refused factor; `kept` is the factor used instead.
    static QString screenFactorRefusedText(const QString &given, double kept);

    // Reads the file; what is missing, unreadable or out of range falls back to port 1, EI, factor 1.0.
    static SettingsValues read(const QString &path);

    // Start-up: applies the file to the state (CommPortNumber = line 1 + 1, UnitSystem, ScreenFactor).
    static void apply(const SettingsValues &values, ProgramState &state);

    // Setup screen's Return: rewrites the file from scratch. screenFactorText is written as its number.
    static bool writeFromSetup(const QString &path, int portIndex, int unitSystem, double screenFactor);

    // Reset Screen: keeps lines 1 and 2 character for character and writes 1 as line 3; lines after the
    // third are dropped. A missing file gets the defaults for lines 1 and 2.
    static bool resetScreen(const QString &path);

    // The classic numeric print form: " 5 ", "-1.25 ".
    static QString printForm(double value);
};
