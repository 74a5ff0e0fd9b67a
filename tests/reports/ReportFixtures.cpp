#include "tests/reports/ReportFixtures.h"

namespace ReportFixtures {

ResultRow row(std::initializer_list<double> fields)
{
    ResultRow r;
    int i = 0;
    for (double f : fields)
        r[i++] = f;
    return r;
}

ResultTable table(std::initializer_list<std::initializer_list<double>> rows)
{
    ResultTable t;
    for (const auto &r : rows)
        t.push_back(row(r));
    return t;
}

ReportedTestInfo eiInfo()
{
    ReportedTestInfo r;
    r.testId = 3;
    r.testName = QStringLiteral("Mud A-12");
    r.mudId = QStringLiteral("WBM 12.5 ppg");
    r.sampleTime = QStringLiteral("2024-03-14 10:30");
    r.desc = QStringLiteral("Hot rolled 16 h at 150°F");
    return r; // no company: a null value
}

ResultTable eiRows()
{
    return table({
        {1, 30, 120, 1021.38, 600, 62.5, 30.59372, 0, 1, 58.5616},
        {1, 59.5, 120.04, 1021.38, 600, 62.75, 30.71612, 0, 1, 58.79589},
        {2, 3.2, 119.95, 510.69, 300, 41.2, 40.33425, 0, 1, 38.60391},
        {2, 10, 120, 0, 0.000001, 0.2, 28126652.25, 4.5, 1, 0},
        {3, 15, 121.5, 5.1069, 3, 9.5, 929.99, 9.75, 1, 8.9},
    });
}

ReportedTestInfo siInfo()
{
    ReportedTestInfo r;
    r.testId = 8;
    r.testName = QStringLiteral("Ölprobe 7");
    r.mudId = QString(); // left blank
    r.sampleTime = QStringLiteral("14/03/2024 08:00");
    r.companyName = QStringLiteral("Kelco Lab");
    r.desc = QStringLiteral("Gels 10 s/10 min/30 min");
    return r;
}

ResultTable siRows()
{
    return table({
        {1, 20, 48.888888888888886, 766.035, 450, 299.25, 39.06, 0, 1.5, 58.561643835616},
        {2, 10.5, 49.5, 383.0175, 225, 200.125, 52.25, 0, 1.5, 39.163},
        {2, 11.5, 49.5, 0, 0.000001, 3.2, 1000000000, 12.775, 1.5, 0.626223},
        {3, 600, -5.5, 5.1069, 3, 15.33, 300.04, 15.33, 1.5, 3.0},
    });
}

ResultTable fannSixSpeedRows()
{
    const double speeds[] = {600, 300, 200, 100, 6, 3};
    const double dials[] = {60, 40, 32, 23, 8, 7};
    ResultTable t;
    for (int s = 0; s < 6; ++s) {
        for (int k = 1; k <= 4; ++k) {
            const double dial = dials[s] + (4 - k) * 0.25; // settles onto the step's last reading
            const double stress = dial * 5.11 / 4.788;
            t.push_back(row({double(s + 1), 10.0 * k, 120, speeds[s] * 1.7023, speeds[s], stress,
                             dial * 5.11 / (speeds[s] * 1.7023) * 100, 0, 1, dial}));
        }
    }
    return t;
}

} // namespace ReportFixtures
