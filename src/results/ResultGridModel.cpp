#include "results/ResultGridModel.h"

#include "common/NumberText.h"
#include "common/ProgramState.h"
#include "platform/LongWork.h"
#include "results/ResultQuery.h"
#include "results/ThreadConnection.h"

#include <array>

namespace {

const std::array<const char *, ResultRow::Count> kPictures = {"##0",     "###0.#",    "##0.#",   "###0.##",  "###0.##",
                                                              "##0.###", "####0.00#", "##0.###", "###0.###", "###0.#"};

} // namespace

ResultGridModel::ResultGridModel(QObject *parent)
    : QAbstractTableModel(parent), rows_(std::make_shared<const ResultTable>())
{
    header_ = headerTexts(unitSystem_);
}

QString ResultGridModel::headerFormat(int unitSystem)
{
    const QString cr = QStringLiteral("\r");
    QString format = QStringLiteral("<Step No|<Elaps Time") + cr + QStringLiteral("(S)|<Temp") + cr
        + QStringLiteral("(F°)|<Shear Rate") + cr + QStringLiteral(" (1/S)|<Speed ") + cr
        + QStringLiteral("(Rpm)|<Shear Stress") + cr + QStringLiteral("(lb/100ft2)|<Viscosity") + cr
        + QStringLiteral(" (cP)|<Gel") + cr + QStringLiteral("(lb/100ft2)|<Rb Factor|<Fann® 35 F1") + cr
        + QStringLiteral("Reading");
    if (unitSystem != UnitsEI) {
        format.replace(QStringLiteral("(F°)|<Shear Rate"), QStringLiteral("(C°)|<Shear rate"));
        format.replace(QStringLiteral("(lb/100ft2)|<Viscosity"), QStringLiteral("(dyn/cm2)|<Viscosity"));
        format.replace(QStringLiteral("(lb/100ft2)|<Rb Factor|<Fann® 35 F1"),
                       QStringLiteral("(dyn/cm2)|<Rb Factor|<Fann® 35 F1"));
    }
    return format;
}

QStringList ResultGridModel::headerTexts(int unitSystem)
{
    QStringList texts = headerFormat(unitSystem).split(QLatin1Char('|'));
    for (QString &t : texts) {
        if (t.startsWith(QLatin1Char('<')))
            t.remove(0, 1);
        t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return texts;
}

QString ResultGridModel::cellPicture(int column)
{
    if (column < 0 || column >= ResultRow::Count)
        return {};
    return QString::fromLatin1(kPictures[static_cast<size_t>(column)]);
}

QString ResultGridModel::cellText(const ResultRow &row, int column)
{
    if (column < 0 || column >= ResultRow::Count)
        return {};
    return NumberText::Format(row[column], cellPicture(column));
}

void ResultGridModel::SetGridHeader(int unitSystem)
{
    unitSystem_ = unitSystem;
    header_ = headerTexts(unitSystem);
    emit headerDataChanged(Qt::Horizontal, 0, ResultRow::Count - 1);
}

int ResultGridModel::LoadResultGrid(ResultQuery &query)
{
    return LoadResultGrid(query, LongWork::orImmediate(nullptr), QString());
}

int ResultGridModel::LoadResultGrid(ResultQuery &query, LongWork &work, const QString &label)
{
    ProgramState &state = query.state();
    // The worker reads with a copy of the state; dosql's rotor-bob settings are taken over afterwards.
    const ProgramState start = state;
    ProgramState own = start;
    std::shared_ptr<ResultTable> rows;
    DerivedValues derived;
    QString readError;
    ThreadConnection::read(work, label, query.database(), [&](const QSqlDatabase &db, WorkProgress &progress) {
        own = start;
        ResultQuery reader(db, own);
        reader.setProgress(&progress);
        rows = std::make_shared<ResultTable>(reader.dosql());
        readError = reader.lastError();
        derived = DerivedValues::fromResults(*rows, own.UnitSystem);
    });
    // A read error is told here, on the windows' thread; the reader gave no rows then, never part of them.
    query.tellReadError(start.CurrentTestName, readError);
    RotorBobState::of(own).applyTo(state);
    setResults(std::move(rows), std::move(derived));
    return rowCount();
}

void ResultGridModel::setResults(ResultTable rows, int unitSystem)
{
    auto shared = std::make_shared<const ResultTable>(std::move(rows));
    DerivedValues derived = DerivedValues::fromResults(*shared, unitSystem);
    setResults(std::move(shared), std::move(derived));
}

void ResultGridModel::setResults(std::shared_ptr<const ResultTable> rows, DerivedValues derived)
{
    beginResetModel();
    rows_ = rows ? std::move(rows) : std::make_shared<const ResultTable>();
    derived_ = std::move(derived);
    endResetModel();
}

void ResultGridModel::clear()
{
    beginResetModel();
    rows_ = std::make_shared<const ResultTable>();
    derived_ = DerivedValues();
    endResetModel();
}

int ResultGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_->size());
}

int ResultGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ResultRow::Count;
}

QVariant ResultGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ResultRow::Count)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return cellText((*rows_)[static_cast<size_t>(index.row())], index.column());
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default: return {};
    }
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= header_.size())
        return {};
    switch (role) {
    case Qt::DisplayRole: return header_[section];
    case Qt::AccessibleTextRole: return QString(header_[section]).replace(QLatin1Char('\n'), QLatin1Char(' '));
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default: return {};
    }
}
