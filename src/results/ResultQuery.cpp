#include "results/ResultQuery.h"

#include "common/NumberText.h"
#include "common/ProgramState.h"
#include "common/RotorBobTable.h"
#include "platform/Prompts.h"
#include "platform/WorkProgress.h"
#include "store/SqlDialect.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <limits>

namespace {

// Conversion constants of the stored units.
constexpr double kDynPerLb100ft2Inverse = 1 / 4.788; // the statement multiplies by (1/4.788)
constexpr double kRateR1B1 = 1.7023;                 // s-1 per rpm of the R1-B1 geometry
constexpr double kDynPerDialDegree = 5.11;           // Fann 35 dial degree
constexpr double kStandingRotor = 0.000001;          // keeps the viscosity of a standing rotor finite

} // namespace

double ResultConversion::singleFactor(float factor)
{
    return NumberText::Val(NumberText::Str(static_cast<double>(factor), 7));
}

double ResultConversion::doubleFactor(double factor)
{
    return NumberText::Val(NumberText::Str(factor, 15));
}

ResultConversion ResultConversion::fromState(const ProgramState &state)
{
    ResultConversion c;
    c.si = state.UnitSystem != UnitsEI;
    c.custom = state.CustomRB;
    c.rateFactor = state.CustomRB ? doubleFactor(state.CustomRateFactor) : singleFactor(state.RateFactor);
    c.stressFactor = singleFactor(state.StressFactor);
    return c;
}

ResultRow ResultConversion::convert(const StoredPoint &p) const
{
    ResultRow r;
    r[ResultRow::Step] = p.stepNo;
    r[ResultRow::Time] = p.time;
    r[ResultRow::Temperature] = si ? (p.temperature - 32) * 5 / 9.0 : p.temperature;
    r[ResultRow::Speed] = p.speed;
    r[ResultRow::ShearStress] = si ? p.shearstress : p.shearstress * kDynPerLb100ft2Inverse;
    r[ResultRow::Gel] = si ? p.gel : p.gel * kDynPerLb100ft2Inverse;
    if (custom) {
        r[ResultRow::ShearRate] = p.speed * rateFactor;
        r[ResultRow::Viscosity] = p.shearstress / ((p.speed + kStandingRotor)) * 100 / rateFactor;
        r[ResultRow::RotorBob] = p.rbfactor / 1000.0;
    } else {
        r[ResultRow::ShearRate] = p.speed * kRateR1B1 * rateFactor;
        r[ResultRow::Viscosity] = p.shearstress / ((p.speed + kStandingRotor) * kRateR1B1) * 100 / rateFactor;
        r[ResultRow::RotorBob] = p.rbfactor;
    }
    r[ResultRow::Fann] = p.shearstress / kDynPerDialDegree / stressFactor;
    return r;
}

RotorBobState RotorBobState::of(const ProgramState &state)
{
    return {state.RotorBob, state.StressFactor, state.RateFactor, state.CustomRB, state.CustomRateFactor};
}

void RotorBobState::applyTo(ProgramState &state) const
{
    state.RotorBob = RotorBob;
    state.StressFactor = StressFactor;
    state.RateFactor = RateFactor;
    state.CustomRB = CustomRB;
    state.CustomRateFactor = CustomRateFactor;
}

ResultQuery::ResultQuery(const QSqlDatabase &db, ProgramState &state, Prompts *prompts)
    : db_(db), state_(state), prompts_(prompts)
{}

QString ResultQuery::readFailedText(const QString &testName, const QString &error)
{
    return QStringLiteral("The test %1 could not be read from the database: %2.\n\nNothing of it is shown, because "
                          "what could be read is not the whole test. \"Check Database\" in the File menu checks the "
                          "database file.")
        .arg(testName, error);
}

void ResultQuery::readFailed(const QString &testName, const QSqlQuery &q) const
{
    tellReadError(testName, StoreError::describe(q.lastError()));
}

void ResultQuery::tellReadError(const QString &testName, const QString &error) const
{
    lastError_ = error;
    if (prompts_ && !error.isEmpty())
        prompts_->message(readFailedText(testName, lastError_), QStringLiteral("Database Error"), MsgButtons::Ok,
                          MsgIcon::Critical);
}

std::optional<int> ResultQuery::testId(const QString &testName) const
{
    lastError_.clear();
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT TestId FROM RelatedInfo WHERE ")
              + SqlDialect::of(db_).nameEquals(QStringLiteral("TestName"))
              + QStringLiteral(" ORDER BY TestId LIMIT 1"));
    q.addBindValue(testName);
    if (!q.exec()) {
        readFailed(testName, q);
        return std::nullopt;
    }
    if (!q.next()) {
        if (q.lastError().isValid())
            readFailed(testName, q);
        return std::nullopt;
    }
    if (q.value(0).isNull())
        return std::nullopt;
    return q.value(0).toInt();
}

bool ResultQuery::testExists(int testId) const
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT 1 FROM RelatedInfo WHERE TestId = ?"));
    q.addBindValue(testId);
    // A statement that fails says nothing about the test: it is taken as still there.
    if (!q.exec())
        return true;
    return q.next();
}

ResultQuery::Probe ResultQuery::probe(const QString &testName) const
{
    Probe result;
    const std::optional<int> id = testId(testName);
    if (!id)
        return result;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT Rbfactor FROM TestResult WHERE TestId = ? ORDER BY StepNo, Time LIMIT 1"));
    q.addBindValue(*id);
    if (!q.exec() || !q.next()) {
        if (q.lastError().isValid())
            readFailed(testName, q);
        return result;
    }
    result.hasRows = true;
    if (!q.value(0).isNull())
        result.rbfactor = q.value(0).toDouble();
    return result;
}

void ResultQuery::applyRotorBob(const std::optional<double> &rbfactor, ProgramState &state)
{
    if (!rbfactor)
        return;
    const double value = *rbfactor;
    if (value == std::floor(value) && RotorBobTable::isTableCode(static_cast<int>(value))) {
        const RotorBobEntry entry = RotorBobTable::byCode(static_cast<int>(value));
        state.RotorBob = entry.code;
        state.StressFactor = entry.stressFactor;
        state.RateFactor = entry.rateFactor;
        state.CustomRB = false;
    } else if (value > 7) {
        // The code stored for a custom rotor-bob is the shear-rate factor times 1000.
        const double rounded = std::nearbyint(value);
        state.RotorBob =
            rounded < std::numeric_limits<int>::max() ? static_cast<int>(rounded) : std::numeric_limits<int>::max();
        state.CustomRB = true;
        state.CustomRateFactor = value / 1000;
    }
}

ResultTable ResultQuery::dosql()
{
    state_.StressFactor = 1.0f;
    state_.RateFactor = 1.0f;
    const std::optional<int> id = testId(state_.CurrentTestName);
    if (!id)
        return {};
    const Probe found = probe(state_.CurrentTestName);
    if (!found.hasRows)
        return {};
    applyRotorBob(found.rbfactor, state_);
    return readRows(*id, state_.CurrentTestName, ResultConversion::fromState(state_), RowOrder::StepAndTime);
}

ResultTable ResultQuery::dosqloverlap(const std::optional<ResultConversion> &openTest)
{
    const std::optional<int> id = testId(state_.OverlapTestName);
    if (!id)
        return {};
    const Probe found = probe(state_.OverlapTestName);
    if (!found.hasRows)
        return {};

    // The overlaid test's own shear-rate factor, worked out on a copy of the rotor-bob state: a value the
    // probe does not recognise keeps the open test's kind of rotor-bob.
    ProgramState local = state_;
    local.RateFactor = 1.0f;
    applyRotorBob(found.rbfactor, local);

    ResultConversion conversion;
    conversion.si = state_.UnitSystem != UnitsEI;
    conversion.custom = local.CustomRB;
    conversion.rateFactor = local.CustomRB ? ResultConversion::doubleFactor(local.CustomRateFactor)
                                           : ResultConversion::singleFactor(local.RateFactor);
    conversion.stressFactor = openTest ? openTest->stressFactor : ResultConversion::singleFactor(state_.StressFactor);
    return readRows(*id, state_.OverlapTestName, conversion, RowOrder::AsStored);
}

ResultTable ResultQuery::rows(const QString &testName, const ResultConversion &conversion, RowOrder order) const
{
    const std::optional<int> id = testId(testName);
    if (!id)
        return {};
    return readRows(*id, testName, conversion, order);
}

ResultTable ResultQuery::rowsOf(int testId, const ResultConversion &conversion, RowOrder order) const
{
    return readRows(testId, state_.CurrentTestName, conversion, order);
}

ResultTable ResultQuery::readRows(int testId, const QString &testName, const ResultConversion &conversion,
                                  RowOrder order) const
{
    ResultTable table;
    // Counted first: the table is made once at its size (a long test would otherwise pass through
    // copies of up to twice its size), and the progress knows how far it has come.
    {
        QSqlQuery count(db_);
        count.prepare(QStringLiteral("SELECT count(*) FROM TestResult WHERE TestId = ?"));
        count.addBindValue(testId);
        if (count.exec() && count.next()) {
            const qint64 n = count.value(0).toLongLong();
            table.reserve(size_t(n));
            if (progress_)
                progress_->beginPart(n);
        }
    }
    QSqlQuery q(db_);
    // A forward-only query on a server is fetched a row at a time; the whole result in one reply is
    // faster for a long test. A file is read as it goes.
    q.setForwardOnly(SqlDialect::of(db_).isSqlite());
    q.prepare(QStringLiteral("SELECT StepNo, Time, Temperature, Speed, Shearstress, Gel, Rbfactor "
                             "FROM TestResult WHERE TestId = ? ")
              + (order == RowOrder::StepAndTime ? QStringLiteral("ORDER BY StepNo, Time")
                                                : QStringLiteral("ORDER BY ") + SqlDialect::of(db_).storedOrder()));
    q.addBindValue(testId);
    if (!q.exec()) {
        readFailed(testName, q);
        return {};
    }
    while (q.next()) {
        if (progress_ && (table.size() & 4095) == 0)
            progress_->setDone(qint64(table.size()));
        StoredPoint p;
        p.stepNo = q.value(0).toDouble();
        p.time = q.value(1).toDouble();
        p.temperature = q.value(2).toDouble();
        p.speed = q.value(3).toDouble();
        p.shearstress = q.value(4).toDouble();
        p.gel = q.value(5).toDouble();
        p.rbfactor = q.value(6).toDouble();
        table.push_back(conversion.convert(p));
    }
    // next() also ends at a read error (a damaged page): the rows so far are then not the test.
    if (q.lastError().isValid() && q.lastError().type() != QSqlError::NoError) {
        readFailed(testName, q);
        return {};
    }
    return table;
}
