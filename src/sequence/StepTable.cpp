#include "sequence/StepTable.h"

#include "common/NumberText.h"
#include "common/RecordRate.h"
#include "sequence/StepRules.h"

QString StepTable::headerFormat(bool si)
{
    const QString cr = QStringLiteral("\r");
    return QStringLiteral("<Step No|<Elaps Time") + cr + QStringLiteral("(S)|<Temp") + cr
        + (si ? QStringLiteral("(C°)|<Speed ") : QStringLiteral("(F°)|<Speed ")) + cr
        + QStringLiteral("(Rpm)|<Shear Rate") + cr + QStringLiteral(" (1/S)|<Record Rate") + cr
        + QStringLiteral("(Sec/Datum)");
}

QStringList StepTable::headerTitles(bool si)
{
    QStringList titles = headerFormat(si).split(QLatin1Char('|'));
    for (QString &t : titles)
        if (t.startsWith(QLatin1Char('<')))
            t.remove(0, 1);
    return titles;
}

QStringList StepTable::cells(const SequenceStep &s, bool si, float rateFactor)
{
    return {
        NumberText::Text(s.stepNo),
        NumberText::Text(s.time),
        NumberText::Format(StepRules::displayTemperature(s.temperature, si), QStringLiteral("###.0")),
        NumberText::Format(s.speed, QStringLiteral("###0.00")),
        NumberText::Format(StepRules::shearRate(s.speed, rateFactor), QStringLiteral("###0.00")),
        // A stored fraction shows as the whole seconds a run records at.
        NumberText::Text(RecordRate::seconds(s.recordRate)),
    };
}
