#pragma once
// The results grid's table: one row per result row of the open test, ten columns shown with the grid's
// number pictures, the header texts of the current unit system, and the derived values of the same load.
// Cells are formatted when the view asks for them, so a 100,000-point test loads without a pause.
#include "results/DerivedValues.h"
#include "results/ResultRow.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <memory>

class LongWork;
class ResultQuery;

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnWidthTwips = 1090;
    static constexpr int HeaderHeightTwips = 400;

    explicit ResultGridModel(QObject *parent = nullptr);

    // The header as one text in the grid's column-format syntax: "|" between columns, "<" for left
    // alignment, a carriage return inside a text breaking it onto a second line.
    static QString headerFormat(int unitSystem);
    // The ten header texts of that format, each line break as "\n".
    static QStringList headerTexts(int unitSystem);
    // The number picture of a column ("##0", "###0.#", ...).
    static QString cellPicture(int column);
    // A cell as the grid shows it (reports read the speed column back this way).
    static QString cellText(const ResultRow &row, int column);

    // SetGridHeader: the header for the unit system.
    void SetGridHeader(int unitSystem);
    // LoadResultGrid: runs dosql for the open test, shows its rows and derives PV/YP and gels.
    // Returns the number of rows. The reading and deriving run as long work (labelled `label`) on a
    // connection of the worker's own; dosql's rotor-bob settings reach the query's state afterwards.
    int LoadResultGrid(ResultQuery &query);
    int LoadResultGrid(ResultQuery &query, LongWork &work, const QString &label);
    // Shows given rows and derives their values (rows read by other means, tests).
    void setResults(ResultTable rows, int unitSystem);
    // Shows rows whose values were derived already.
    void setResults(std::shared_ptr<const ResultTable> rows, DerivedValues derived);
    void clear();

    const ResultTable &results() const { return *rows_; }
    // The same rows, shared: work on another thread keeps them alive while the grid moves on.
    std::shared_ptr<const ResultTable> sharedResults() const { return rows_; }
    const DerivedValues &derived() const { return derived_; }
    int unitSystem() const { return unitSystem_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const ResultTable> rows_;
    DerivedValues derived_;
    QStringList header_;
    int unitSystem_ = 1;
};
