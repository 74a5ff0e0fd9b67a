#pragma once
// What the related-information dialog does with its fields: in new-test mode it names and stores a new
// test (unique name, next TestId, "N/A" for a blank fluid id); otherwise it rewrites the description of
// the open test. Refusals are told through Prompts and keep the dialog open; a blank sample time becomes
// the current date and time, a sample time that is no date is refused before anything is stored.
#include "store/TestLibrary.h"

#include <QLocale>
#include <QString>

struct ProgramState;
class Prompts;
class Clock;

struct RelatedInfoFields {
    QString testName;
    QString mudId;
    QString sampleTime;
    QString companyName;
    QString desc;
};

class RelatedInfoEntry {
public:
    RelatedInfoEntry(ProgramState &state, Prompts &prompts, Clock &clock, TestLibrary &library,
                     const QLocale &locale = QLocale());

    // The dialog's load. Editing (NewTestMode False): the open test's fields, with the name locked; a
    // missing row gives empty fields. New test: empty fields.
    struct Loaded {
        RelatedInfoFields fields;
        bool nameLocked = false;
    };
    Loaded load();

    // OK. Returns true when the dialog closes; `fields` then hold what was stored ("N/A", the sample time
    // in display form) for the dialog to show. Sets RelatedOk first, whatever happens next.
    bool accept(RelatedInfoFields &fields);

    // Cancel: RelatedOk = False.
    void cancel();

private:
    bool refuse(const QString &text, const QString &title);

    ProgramState &state_;
    Prompts &prompts_;
    Clock &clock_;
    TestLibrary &library_;
    QLocale locale_;
    int editedTestId_ = 0; // the open test's row found at load; 0 = none
};
