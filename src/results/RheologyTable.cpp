#include "results/RheologyTable.h"

#include <QJsonArray>
#include <cmath>

namespace {

QString fixed(double value, int decimals)
{
    QString s = QString::number(value, 'f', decimals);
    // "-0.00" says no more than "0.00".
    if (s.startsWith(QLatin1Char('-')) && s.mid(1).remove(QLatin1Char('0')).remove(QLatin1Char('.')).isEmpty())
        s.remove(0, 1);
    return s;
}

const QString kNotAvailable = QStringLiteral("N/A");

std::optional<double> scaled(const std::optional<double> &value, double factor)
{
    if (!value)
        return std::nullopt;
    return *value * factor;
}

QString padRight(const QString &s, int width)
{
    return s + QString(std::max(0, width - int(s.size())), QLatin1Char(' '));
}

QString padLeft(const QString &s, int width)
{
    return QString(std::max(0, width - int(s.size())), QLatin1Char(' ')) + s;
}

// Lines of cells in columns as wide as their widest cell; columns listed in `right` are right-aligned.
QString aligned(const std::vector<QStringList> &lines, const QList<int> &right, const QString &indent = {})
{
    std::vector<int> widths;
    for (const QStringList &line : lines)
        for (int c = 0; c < line.size(); ++c) {
            if (c >= int(widths.size()))
                widths.push_back(0);
            widths[size_t(c)] = std::max(widths[size_t(c)], int(line.at(c).size()));
        }
    QString out;
    for (const QStringList &line : lines) {
        QString text = indent;
        for (int c = 0; c < line.size(); ++c) {
            if (c > 0)
                text += QStringLiteral("  ");
            text +=
                right.contains(c) ? padLeft(line.at(c), widths[size_t(c)]) : padRight(line.at(c), widths[size_t(c)]);
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        out += text + QLatin1Char('\n');
    }
    return out;
}

} // namespace

QString RheologyParameter::text() const
{
    if (!value || !std::isfinite(*value))
        return kNotAvailable;
    return fixed(*value, decimals);
}

namespace RheologyTable {

QString stressUnit(bool si)
{
    return si ? QStringLiteral("dyn/cm2") : QStringLiteral("lb/100ft2");
}

std::vector<RheologyModelRows> models(const RheologyModels &m, bool si)
{
    // Dial-based stresses: a degree is 1 lb/100ft2 (EI) or 5.11 dyn/cm2 (SI).
    const double stress = si ? Rheology::DynesPerDial : 1.0;
    const QString stressU = stressUnit(si);
    const QString cP = QStringLiteral("cP");
    const QString powerK = QStringLiteral("dyn·s^n/cm2");
    const QString hbK = si ? powerK : QStringLiteral("lb·s^n/100ft2");

    std::vector<RheologyModelRows> out;
    out.push_back({QStringLiteral("Bingham plastic"),
                   {{QStringLiteral("PV"), cP, m.pv, 2},
                    {QStringLiteral("YP"), stressU, scaled(m.yp, stress), 2},
                    {QStringLiteral("AV"), cP, m.av, 2}}});
    out.push_back({QStringLiteral("Gel strength"),
                   {{QStringLiteral("10-second gel"), stressU, scaled(m.gel10s, stress), 2},
                    {QStringLiteral("10-minute gel"), stressU, scaled(m.gel10m, stress), 2},
                    {QStringLiteral("30-minute gel"), stressU, scaled(m.gel30m, stress), 2}}});
    out.push_back({QStringLiteral("Power law, pipe (600/300 rpm)"),
                   {{QStringLiteral("n"), QString(), m.pipe.n, 3}, {QStringLiteral("K"), powerK, m.pipe.K, 4}}});
    out.push_back({QStringLiteral("Power law, annulus (100/3 rpm)"),
                   {{QStringLiteral("n"), QString(), m.annulus.n, 3}, {QStringLiteral("K"), powerK, m.annulus.K, 4}}});
    out.push_back({QStringLiteral("Herschel-Bulkley, API RP 13D"),
                   {{QStringLiteral("τy"), stressU, scaled(m.api.tauY, stress), 2},
                    {QStringLiteral("n"), QString(), m.api.n, 3},
                    {QStringLiteral("K"), hbK, scaled(m.api.K, stress), 4}}});
    out.push_back({QStringLiteral("Herschel-Bulkley, least squares"),
                   {{QStringLiteral("τy"), stressU, scaled(m.fit.tauY, stress), 2},
                    {QStringLiteral("n"), QString(), m.fit.n, 3},
                    {QStringLiteral("K"), hbK, scaled(m.fit.K, stress), 4},
                    {QStringLiteral("R²"), QString(), m.fit.r2, 4},
                    {QStringLiteral("RMS residual"), stressU, scaled(m.fit.rms, stress), 3},
                    {QStringLiteral("Readings"), QString(), double(m.fit.points), 0}}});
    return out;
}

QStringList readingHeadings()
{
    return {QStringLiteral("Step"), QStringLiteral("Speed (rpm)"), QStringLiteral("Shear Rate (1/S)"),
            QStringLiteral("Fann 35 Dial (deg)")};
}

QStringList readingCells(const FlowReading &r)
{
    return {QString::number(r.step), fixed(r.speed, 1), fixed(r.shearRate, 2), fixed(r.dial, 2)};
}

QString text(const QString &testName, const RheologyModels &m, bool si)
{
    QString out = QStringLiteral("Rheology of \"%1\" (%2 units)\n\n")
                      .arg(testName, si ? QStringLiteral("SI") : QStringLiteral("EI"));
    if (m.flowCurve.readings.empty()) {
        out += QStringLiteral("Flow curve: none (no step with a turning rotor)\n\n");
    } else {
        out += QStringLiteral("Flow curve readings\n");
        std::vector<QStringList> lines{readingHeadings()};
        for (const FlowReading &r : m.flowCurve.readings)
            lines.push_back(readingCells(r));
        out += aligned(lines, {0, 1, 2, 3}, QStringLiteral("  ")) + QLatin1Char('\n');
    }
    std::vector<QStringList> lines{
        {QStringLiteral("Model"), QStringLiteral("Parameter"), QStringLiteral("Value"), QStringLiteral("Unit")}};
    for (const RheologyModelRows &model : models(m, si)) {
        bool first = true;
        for (const RheologyParameter &p : model.parameters) {
            lines.push_back({first ? model.model : QString(), p.name, p.text(), p.unit});
            first = false;
        }
    }
    return out + aligned(lines, {2});
}

QJsonObject json(const QString &testName, const RheologyModels &m, bool si)
{
    QJsonArray readings;
    for (const FlowReading &r : m.flowCurve.readings)
        readings.append(QJsonObject{{QStringLiteral("step"), r.step},
                                    {QStringLiteral("speed"), r.speed},
                                    {QStringLiteral("shearRate"), r.shearRate},
                                    {QStringLiteral("dial"), r.dial}});
    QJsonArray modelList;
    for (const RheologyModelRows &model : models(m, si)) {
        QJsonArray parameters;
        for (const RheologyParameter &p : model.parameters) {
            const bool known = p.value && std::isfinite(*p.value);
            parameters.append(QJsonObject{{QStringLiteral("name"), p.name},
                                          {QStringLiteral("value"), known ? QJsonValue(*p.value) : QJsonValue()},
                                          {QStringLiteral("unit"), p.unit},
                                          {QStringLiteral("text"), p.text()}});
        }
        modelList.append(
            QJsonObject{{QStringLiteral("model"), model.model}, {QStringLiteral("parameters"), parameters}});
    }
    return QJsonObject{{QStringLiteral("test"), testName},
                       {QStringLiteral("units"), si ? QStringLiteral("SI") : QStringLiteral("EI")},
                       {QStringLiteral("readings"), readings},
                       {QStringLiteral("models"), modelList}};
}

} // namespace RheologyTable
