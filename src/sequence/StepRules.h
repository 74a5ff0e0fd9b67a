#pragma once
// The limits a step must keep, the unit conversions of the step table and the step dialogs, and the
// speed / shear-rate coupling. Pure functions: the dialogs only move texts in and out.
#include "sequence/SequenceStep.h"

#include <QString>
#include <optional>

enum class StepDialogKind { Edit, Insert };
enum class StepField { Time, Temperature, Speed, ShearRate, RecordRate, CopyRange };

// A refused entry: the message box to show and the field that gets the focus back.
struct StepRefusal {
    StepField field;
    QString text;
    QString title;
};

// The five editable texts of a step dialog, as typed (temperature in the display unit).
struct StepFieldTexts {
    QString time;
    QString temperature;
    QString speed;
    QString shearRate;
    QString recordRate;
};

struct StepCheck {
    std::optional<StepValues> values;   // set when every field passed
    std::optional<StepRefusal> refusal; // the first field that failed, in checking order
};

// Leaving the speed or the shear-rate field: the text the other field gets, and a refusal when the
// typed (or derived) value is out of range.
struct Coupling {
    std::optional<QString> otherText;
    std::optional<StepRefusal> refusal;
};

class StepRules {
public:
    // R1-B1 shear rate per rpm is 1 / this.
    static constexpr double RpmPerShearRate = 0.58744;

    // A field's number: the whole text (blanks around it allowed) must be a decimal number.
    static std::optional<double> number(const QString &text);

    // The checks of the OK button, in the order the operator meets them.
    static StepCheck check(const StepFieldTexts &texts, StepDialogKind kind, bool si);

    // OK of the copy-and-paste dialog: the range must run upwards, the new temperature (°F) must be
    // given and lie within the limits a step may have.
    static std::optional<StepRefusal> checkCopyPaste(int from, int to, const QString &temperatureText);

    static Coupling speedLeft(const QString &speedText, float rateFactor);
    static Coupling shearRateLeft(const QString &shearRateText, float rateFactor);

    // The rotor-bob factor as statements always used it: its shortest decimal text read back as a double.
    static double rateFactorValue(float rateFactor);
    static double shearRate(double speed, float rateFactor);
    static double speedForShearRate(double shearRate, float rateFactor);

    static double displayTemperature(double fahrenheit, bool si);
    // A Celsius entry as it is stored: Fahrenheit with one decimal.
    static double storedFahrenheit(double celsius);

    static QString temperatureLabel(bool si);

    static QString invalidSpeedText() { return QStringLiteral("Invalid speed input."); }
    static QString invalidShearRateText() { return QStringLiteral("Invalid shear rate input."); }
};
