#include "realtime/RealTimeNaming.h"

#include "common/ProgramState.h"
#include "platform/Clock.h"
#include "platform/Prompts.h"
#include "store/SampleTime.h"
#include "store/TestLibrary.h"

#include <cmath>

RealTimeNaming::RealTimeNaming(ProgramState &state, Prompts &prompts, Clock &clock, TestLibrary &library,
                               const QLocale &locale)
    : state_(state), prompts_(prompts), clock_(clock), library_(library), locale_(locale)
{}

namespace {
QDateTime wholeSeconds(const QDateTime &t)
{
    return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute(), t.time().second()));
}
} // namespace

QString RealTimeNaming::load()
{
    state_.CustomRB = false;
    return SampleTime::toDisplay(wholeSeconds(clock_.currentDateTime()));
}

void RealTimeNaming::chooseCustom(bool custom)
{
    state_.CustomRB = custom;
}

bool RealTimeNaming::isCustom() const
{
    return state_.CustomRB;
}

bool RealTimeNaming::parseFactor(const QString &text, double *value)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v) || v <= 0)
        return false;
    *value = v;
    return true;
}

bool RealTimeNaming::refuse(const QString &text, const QString &title)
{
    prompts_.message(text, title, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

bool RealTimeNaming::accept(RealTimeNamingFields &fields)
{
    state_.RelatedOk = true;
    const QString name = fields.testName.trimmed();
    if (name.isEmpty())
        return refuse(QStringLiteral("Must enter a test name."), QStringLiteral("Blank Input Error."));
    if (library_.isNameTaken(name))
        return refuse(QStringLiteral("Duplicated test name. Please enter a new test name."),
                      QStringLiteral("Test Name Error."));

    // A factor of zero would make the custom viscosity divide by zero for the whole run, and a text that
    // is no number would silently become that zero: both are refused before anything is stored.
    double stressFactor = 0;
    double rateFactor = 0;
    if (state_.CustomRB
        && (!parseFactor(fields.stressFactor, &stressFactor) || !parseFactor(fields.rateFactor, &rateFactor)))
        return refuse(inputErrorText(), QStringLiteral("Input Error"));

    QDateTime sampleTime;
    if (fields.sampleTime.trimmed().isEmpty()) {
        sampleTime = wholeSeconds(clock_.currentDateTime());
    } else if (const auto typed = SampleTime::parse(fields.sampleTime, locale_)) {
        sampleTime = *typed;
    } else {
        // The column holds date-times: a text that is no date cannot be stored.
        return refuse(inputErrorText(), QStringLiteral("Input Error"));
    }

    RelatedInfoRecord record;
    record.testName = name;
    record.mudId = fields.mudId.trimmed().isEmpty() ? QStringLiteral("N/A") : fields.mudId;
    record.sampleTime = sampleTime;
    record.companyName = fields.companyName;
    record.desc = fields.desc;
    const std::optional<int> id = library_.addTest(record);
    if (!id) // the name was taken meanwhile by another program, or the database refused the row
        return refuse(QStringLiteral("The test could not be stored: %1. Please try again.").arg(library_.lastError()),
                      QStringLiteral("Database Error"));

    testName_ = name;
    testId_ = *id;
    fields.testName = name;
    fields.mudId = record.mudId;
    fields.sampleTime = SampleTime::toDisplay(sampleTime);
    state_.NewTestId = *id;
    state_.CurrentMudId = fields.mudId;
    state_.CurrentSampleTime = fields.sampleTime;
    state_.CurrentCompany = fields.companyName;
    if (state_.CustomRB) {
        state_.CustomStressFactor = stressFactor;
        state_.CustomRateFactor = rateFactor;
    }
    return true;
}

void RealTimeNaming::cancel()
{
    state_.RelatedOk = false;
}
