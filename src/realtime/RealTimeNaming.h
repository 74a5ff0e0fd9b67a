#pragma once
// What the naming dialog of a real-time run does with its fields: checks the name (required, unique
// without regard to letter case), the sample time and, for a custom rotor-bob, the two factors; stores
// the test's RelatedInfo row at once with the next TestId; and hands the run its id and factors through
// the shared state. Refusals are told through Prompts and keep the dialog open.
#include <QLocale>
#include <QString>

struct ProgramState;
class Prompts;
class Clock;
class TestLibrary;

struct RealTimeNamingFields {
    QString testName;
    QString mudId;
    QString sampleTime;
    QString companyName;
    QString desc;
    QString stressFactor;
    QString rateFactor;
};

class RealTimeNaming {
public:
    static QString inputErrorText() { return QStringLiteral("Input error! Please check your input."); }

    RealTimeNaming(ProgramState &state, Prompts &prompts, Clock &clock, TestLibrary &library,
                   const QLocale &locale = QLocale());

    // The dialog's load: the factor choice starts at "No" (CustomRB False); returns the sample time shown
    // at first (now).
    QString load();

    // The "Custom RB factor?" choice: No (false) or Yes (true).
    void chooseCustom(bool custom);
    bool isCustom() const;

    // OK. Sets RelatedOk first, whatever follows. True when the test is stored and the dialog closes;
    // `fields` then hold what was stored ("N/A", the sample time as shown).
    bool accept(RealTimeNamingFields &fields);

    // Cancel, Esc or the window's close box: RelatedOk False.
    void cancel();

    // The stored test (after a successful accept).
    QString testName() const { return testName_; }
    int testId() const { return testId_; }

    // A factor text is usable when it is a number greater than zero, nothing else in it.
    static bool parseFactor(const QString &text, double *value);

private:
    bool refuse(const QString &text, const QString &title);

    ProgramState &state_;
    Prompts &prompts_;
    Clock &clock_;
    TestLibrary &library_;
    QLocale locale_;
    QString testName_;
    int testId_ = 0;
};
