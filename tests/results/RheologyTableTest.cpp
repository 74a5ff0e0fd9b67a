#include "results/RheologyTable.h"
#include "results/RheologyCurves.h"
#include "tests/results/RheologyTestRows.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

// "Model/Parameter" -> the parameter, for looking entries up by name.
std::map<QString, RheologyParameter> byName(const std::vector<RheologyModelRows> &models)
{
    std::map<QString, RheologyParameter> out;
    for (const RheologyModelRows &m : models)
        for (const RheologyParameter &p : m.parameters)
            out[m.model + QLatin1Char('/') + p.name] = p;
    return out;
}

const QString kBingham = QStringLiteral("Bingham plastic");
const QString kPipe = QStringLiteral("Power law, pipe (600/300 rpm)");
const QString kAnnulus = QStringLiteral("Power law, annulus (100/3 rpm)");
const QString kApi = QStringLiteral("Herschel-Bulkley, API RP 13D");
const QString kFit = QStringLiteral("Herschel-Bulkley, least squares");

} // namespace

TEST(RheologyTable, UnitsOfEachSystem)
{
    const RheologyModels m = RheologyTestRows::models(RheologyTestRows::waterBasedMud());
    struct Expect {
        QString key;
        QString eiText, eiUnit, siText, siUnit;
    };
    // SI stresses are the dial values × 5.11 (the program's dyn/cm2 for a dial reading); the power-law K is
    // dyn·s^n/cm2 in both; HB K follows τy.
    const Expect expects[] = {
        {kBingham + "/PV", "20.00", "cP", "20.00", "cP"},
        {kBingham + "/YP", "20.00", "lb/100ft2", "102.20", "dyn/cm2"},
        {kBingham + "/AV", "30.00", "cP", "30.00", "cP"},
        {kPipe + "/n", "0.585", "", "0.585", ""},
        {kPipe + "/K", "5.3355", "dyn·s^n/cm2", "5.3355", "dyn·s^n/cm2"},
        {kAnnulus + "/K", "20.5543", "dyn·s^n/cm2", "20.5543", "dyn·s^n/cm2"},
        {kApi + "/τy", "6.00", "lb/100ft2", "30.66", "dyn/cm2"},
        {kApi + "/n", "0.667", "", "0.667", ""},
        {kApi + "/K", "0.5307", "lb·s^n/100ft2", "2.7120", "dyn·s^n/cm2"},
        {kFit + "/Readings", "6", "", "6", ""},
    };
    const auto ei = byName(RheologyTable::models(m, false));
    const auto si = byName(RheologyTable::models(m, true));
    for (const Expect &e : expects) {
        SCOPED_TRACE(e.key.toStdString());
        ASSERT_TRUE(ei.contains(e.key) && si.contains(e.key));
        EXPECT_EQ(ei.at(e.key).text(), e.eiText);
        EXPECT_EQ(ei.at(e.key).unit, e.eiUnit);
        EXPECT_EQ(si.at(e.key).text(), e.siText);
        EXPECT_EQ(si.at(e.key).unit, e.siUnit);
    }
    // The fit's τy and RMS residual convert like every stress.
    EXPECT_NEAR(*si.at(kFit + "/τy").value, *ei.at(kFit + "/τy").value * 5.11, 1e-9);
    EXPECT_NEAR(*si.at(kFit + "/RMS residual").value, *ei.at(kFit + "/RMS residual").value * 5.11, 1e-9);
}

TEST(RheologyTable, MissingReadingsShowNotAvailable)
{
    const RheologyModels m = RheologyTestRows::models({{300, 40}, {200, 32}, {100, 23}, {6, 8}});
    const auto t = byName(RheologyTable::models(m, false));
    for (const char *key : {"Bingham plastic/AV", "Power law, pipe (600/300 rpm)/n", "Power law, annulus (100/3 rpm)/K",
                            "Herschel-Bulkley, API RP 13D/τy", "Gel strength/10-second gel"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(t.at(QString::fromUtf8(key)).value);
        EXPECT_EQ(t.at(QString::fromUtf8(key)).text(), "N/A");
    }
    EXPECT_EQ(t.at(kBingham + "/PV").text(), "25.50");
}

TEST(RheologyTable, TextAndJsonCarryTheSameNamesUnitsAndValues)
{
    const RheologyModels m = RheologyTestRows::models({{600, 60}, {300, 40}, {200, 32}, {100, 23}, {6, 8}});
    const QString text = RheologyTable::text(QStringLiteral("Mud \"A\""), m, false);
    const QStringList lines = text.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.at(0), "Rheology of \"Mud \"A\"\" (EI units)");
    EXPECT_TRUE(lines.contains("  Step  Speed (rpm)  Shear Rate (1/S)  Fann 35 Dial (deg)")) << text.toStdString();
    EXPECT_TRUE(lines.contains("     2        300.0            510.69               40.00")) << text.toStdString();
    // Values right-aligned in one column; the model named on its first parameter only.
    const int header = int(lines.indexOf(QRegularExpression(QStringLiteral("^Model +Parameter +Value +Unit$"))));
    ASSERT_GE(header, 0) << text.toStdString();
    const int valueEnd = int(lines.at(header).indexOf(QStringLiteral("Value"))) + 5;
    int checked = 0;
    for (int i = header + 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty())
            continue;
        ++checked;
        EXPECT_TRUE(line.size() >= valueEnd && line.at(valueEnd - 1) != QLatin1Char(' ')) << line.toStdString();
    }
    EXPECT_EQ(checked, 19);
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\nPower law, annulus \\(100/3 rpm\\) +n +N/A\n"))));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\n +K +5\\.3355  dyn·s\\^n/cm2\n"))));

    const QJsonObject json = RheologyTable::json(QStringLiteral("Mud \"A\""), m, true);
    const QJsonObject back = QJsonDocument::fromJson(QJsonDocument(json).toJson()).object();
    EXPECT_EQ(back["test"].toString(), "Mud \"A\"");
    EXPECT_EQ(back["units"].toString(), "SI");
    ASSERT_EQ(back["readings"].toArray().size(), 5);
    EXPECT_EQ(back["readings"].toArray().at(1).toObject()["dial"].toDouble(), 40);
    const QJsonArray models = back["models"].toArray();
    ASSERT_EQ(models.size(), 6);
    const QJsonObject bingham = models.at(0).toObject();
    EXPECT_EQ(bingham["model"].toString(), kBingham);
    const QJsonObject yp = bingham["parameters"].toArray().at(1).toObject();
    EXPECT_EQ(yp["name"].toString(), "YP");
    EXPECT_DOUBLE_EQ(yp["value"].toDouble(), 20 * 5.11);
    EXPECT_EQ(yp["unit"].toString(), "dyn/cm2");
    const QJsonObject annulusN = models.at(3).toObject()["parameters"].toArray().at(0).toObject();
    EXPECT_TRUE(annulusN["value"].isNull());
    EXPECT_EQ(annulusN["text"].toString(), "N/A");
}

TEST(RheologyCurves, CurvesLieOverTheReadingsOfEachStressChart)
{
    // An exact Herschel-Bulkley fluid (τy 5, K 0.3, n 0.7 in dial units at the R1-B1 rates).
    std::vector<RheologyTestRows::Step> steps;
    for (double speed : {600.0, 300.0, 200.0, 100.0, 6.0, 3.0})
        steps.push_back({speed, 5 + 0.3 * std::pow(speed * 1.7023, 0.7)});
    struct Case {
        int type;
        bool si;
        bool xIsSpeed;
        double yPerDial;
    };
    const Case cases[] = {
        {0, false, false, 5.11 / 4.788}, {0, true, false, 5.11}, {2, false, true, 5.11 / 4.788}, {9, true, true, 1.0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type * 10 + int(c.si));
        const ResultTable rows = RheologyTestRows::rows(steps, c.si);
        const RheologyModels m = RheologyModels::compute(rows, DerivedValues::fromResults(rows, c.si ? 2 : 1));
        const QList<ChartCurve> curves = RheologyCurves::forChart(m, c.type, 11);
        ASSERT_EQ(curves.size(), 3);
        EXPECT_EQ(curves[0].label, "Herschel-Bulkley fit");
        EXPECT_EQ(curves[1].label, "Power law, pipe");
        EXPECT_EQ(curves[2].label, "Power law, annulus");
        EXPECT_FALSE(curves[0].dashed);
        EXPECT_TRUE(curves[1].dashed);
        const QList<QPointF> &hb = curves[0].points;
        ASSERT_EQ(hb.size(), 11);
        // Ends at the lowest and highest readings, on them.
        const double xScale = c.xIsSpeed ? 1.0 / 1.7023 : 1.0;
        EXPECT_NEAR(hb.first().x(), 3 * 1.7023 * xScale, 1e-9);
        EXPECT_NEAR(hb.last().x(), 600 * 1.7023 * xScale, 1e-9);
        EXPECT_NEAR(hb.first().y(), steps[5].dial * c.yPerDial, 1e-4);
        EXPECT_NEAR(hb.last().y(), steps[0].dial * c.yPerDial, 1e-4);
        // The pipe power law passes through the 600 rpm reading (its K comes from it, at 1022 1/s).
        EXPECT_NEAR(curves[1].points.last().y() / (steps[0].dial * c.yPerDial), 1.0, 1e-3);
        // Geometric spacing: every step multiplies x by the same factor.
        EXPECT_NEAR(hb[1].x() / hb[0].x(), hb[10].x() / hb[9].x(), 1e-9);
    }
}

TEST(RheologyCurves, OnlyStressAgainstRateChartsTakeCurves)
{
    const RheologyModels m = RheologyTestRows::models(RheologyTestRows::waterBasedMud());
    for (int type = 0; type < 10; ++type) {
        const bool expected = type == 0 || type == 2 || type == 9;
        EXPECT_EQ(RheologyCurves::appliesTo(type), expected) << type;
        EXPECT_EQ(RheologyCurves::forChart(m, type).isEmpty(), !expected) << type;
    }
    // Without a 3 rpm reading there is no annulus power law to draw.
    const RheologyModels no3 = RheologyTestRows::models({{600, 60}, {300, 40}, {200, 32}, {100, 23}, {6, 8}});
    EXPECT_EQ(RheologyCurves::forChart(no3, 0).size(), 2);
    EXPECT_TRUE(RheologyCurves::forChart(RheologyTestRows::models({{0, 0}, {0, 0}}), 0).isEmpty());
}
