#include "platform/WorkbookModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const std::vector<WorkbookCell> kNoCells;

bool validPosition(int row, int column)
{
    return row >= 1 && column >= 1;
}

} // namespace

WorkbookModel::Sheet &WorkbookModel::addSheet(const QString &name)
{
    return sheets_.emplace_back(name);
}

WorkbookModel::Sheet::Sheet(QString name) : name_(std::move(name))
{
    styles_.emplace_back();  // index 0: the default style
}

WorkbookCell &WorkbookModel::Sheet::at(int row, int column)
{
    if (static_cast<size_t>(row) > rows_.size())
        rows_.resize(static_cast<size_t>(row));
    auto &cells = rows_[static_cast<size_t>(row - 1)];
    if (static_cast<size_t>(column) > cells.size())
        cells.resize(static_cast<size_t>(column));
    return cells[static_cast<size_t>(column - 1)];
}

void WorkbookModel::Sheet::setNumber(int row, int column, double value)
{
    if (!validPosition(row, column))
        return;
    if (!std::isfinite(value)) {
        setText(row, column, std::string("#NUM!"));
        return;
    }
    WorkbookCell &c = at(row, column);
    c.kind = WorkbookCell::Kind::Number;
    c.number = value;
    c.text.clear();
}

void WorkbookModel::Sheet::setText(int row, int column, const QString &text)
{
    setText(row, column, text.toStdString());
}

void WorkbookModel::Sheet::setText(int row, int column, std::string utf8)
{
    if (!validPosition(row, column))
        return;
    WorkbookCell &c = at(row, column);
    // An empty text empties the cell, as in a spreadsheet application; the cell keeps its style.
    c.kind = utf8.empty() ? WorkbookCell::Kind::Blank : WorkbookCell::Kind::Text;
    c.number = 0.0;
    c.text = std::move(utf8);
}

uint32_t WorkbookModel::Sheet::intern(const CellStyle &style)
{
    const auto found = std::find(styles_.begin(), styles_.end(), style);
    if (found != styles_.end())
        return static_cast<uint32_t>(found - styles_.begin());
    styles_.push_back(style);
    return static_cast<uint32_t>(styles_.size() - 1);
}

// Applies one change to every cell of a rectangle. The change depends only on the old style, so each
// distinct old style is looked up once per call, however many cells share it.
template <typename Change>
void WorkbookModel::Sheet::restyle(int firstRow, int firstColumn, int lastRow, int lastColumn, Change change)
{
    firstRow = std::max(firstRow, 1);
    firstColumn = std::max(firstColumn, 1);
    if (lastRow < firstRow || lastColumn < firstColumn)
        return;
    std::vector<std::pair<uint32_t, uint32_t>> memo;
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c) {
            WorkbookCell &cell = at(r, c);
            const auto hit = std::find_if(memo.begin(), memo.end(),
                                          [&](const auto &m) { return m.first == cell.style; });
            if (hit != memo.end()) {
                cell.style = hit->second;
                continue;
            }
            CellStyle changed = styles_[cell.style];
            change(changed);
            const uint32_t index = intern(changed);
            memo.emplace_back(cell.style, index);
            cell.style = index;
        }
    }
}

void WorkbookModel::Sheet::setNumberFormat(const CellRange &range, const std::string &format)
{
    restyle(range.firstRow, range.firstColumn, range.lastRow, range.lastColumn,
            [&](CellStyle &s) { s.numberFormat = format; });
}

void WorkbookModel::Sheet::setBold(const CellRange &range, bool bold)
{
    restyle(range.firstRow, range.firstColumn, range.lastRow, range.lastColumn,
            [&](CellStyle &s) { s.bold = bold; });
}

void WorkbookModel::Sheet::setFill(const CellRange &range, uint32_t rgb)
{
    restyle(range.firstRow, range.firstColumn, range.lastRow, range.lastColumn, [&](CellStyle &s) {
        s.filled = true;
        s.fillRgb = rgb & 0xFFFFFFu;
    });
}

// A workbook stores a line between two cells on both of them; each edge here sets the sides of the
// cells that lie on that line inside the range, as a spreadsheet application does.
void WorkbookModel::Sheet::setBorder(const CellRange &r, BorderEdge edge, BorderLine line)
{
    switch (edge) {
    case BorderEdge::Left:
        restyle(r.firstRow, r.firstColumn, r.lastRow, r.firstColumn, [&](CellStyle &s) { s.left = line; });
        break;
    case BorderEdge::Right:
        restyle(r.firstRow, r.lastColumn, r.lastRow, r.lastColumn, [&](CellStyle &s) { s.right = line; });
        break;
    case BorderEdge::Top:
        restyle(r.firstRow, r.firstColumn, r.firstRow, r.lastColumn, [&](CellStyle &s) { s.top = line; });
        break;
    case BorderEdge::Bottom:
        restyle(r.lastRow, r.firstColumn, r.lastRow, r.lastColumn, [&](CellStyle &s) { s.bottom = line; });
        break;
    case BorderEdge::InsideVertical:
        restyle(r.firstRow, r.firstColumn, r.lastRow, r.lastColumn - 1, [&](CellStyle &s) { s.right = line; });
        restyle(r.firstRow, r.firstColumn + 1, r.lastRow, r.lastColumn, [&](CellStyle &s) { s.left = line; });
        break;
    case BorderEdge::InsideHorizontal:
        restyle(r.firstRow, r.firstColumn, r.lastRow - 1, r.lastColumn, [&](CellStyle &s) { s.bottom = line; });
        restyle(r.firstRow + 1, r.firstColumn, r.lastRow, r.lastColumn, [&](CellStyle &s) { s.top = line; });
        break;
    }
}

void WorkbookModel::Sheet::setColumnWidth(int column, double width)
{
    if (column < 1)
        return;
    if (static_cast<size_t>(column) > widths_.size())
        widths_.resize(static_cast<size_t>(column), 0.0);
    widths_[static_cast<size_t>(column - 1)] = std::max(0.0, width);
}

double WorkbookModel::Sheet::columnWidth(int column) const
{
    if (column < 1 || static_cast<size_t>(column) > widths_.size())
        return 0.0;
    return widths_[static_cast<size_t>(column - 1)];
}

QString WorkbookModel::Sheet::displayText(const WorkbookCell &cell)
{
    switch (cell.kind) {
    case WorkbookCell::Kind::Blank:
        return {};
    case WorkbookCell::Kind::Text:
        return QString::fromStdString(cell.text);
    case WorkbookCell::Kind::Number:
        break;
    }
    // The General format shows at most 11 characters, dropping significant digits to fit.
    for (int digits = 11; digits > 1; --digits) {
        const QString t = QString::number(cell.number, 'g', digits);
        if (t.size() <= 11)
            return t;
    }
    return QString::number(cell.number, 'g', 1);
}

// Widths are in characters of the default font: the longest shown text plus room for the cell margins,
// a little more for bold text. A column with nothing to show keeps its width.
void WorkbookModel::Sheet::autoFitColumns(int firstColumn, int lastColumn)
{
    firstColumn = std::max(firstColumn, 1);
    for (int c = firstColumn; c <= lastColumn; ++c) {
        double widest = 0.0;
        for (const auto &cells : rows_) {
            if (static_cast<size_t>(c) > cells.size())
                continue;
            const WorkbookCell &cell = cells[static_cast<size_t>(c - 1)];
            if (cell.kind == WorkbookCell::Kind::Blank)
                continue;
            const qsizetype length = cell.kind == WorkbookCell::Kind::Text
                ? QString::fromUtf8(cell.text.data(), static_cast<qsizetype>(cell.text.size())).size()
                : displayText(cell).size();
            const double chars = static_cast<double>(length) * (styles_[cell.style].bold ? 1.1 : 1.0);
            widest = std::max(widest, chars);
        }
        if (widest > 0.0)
            setColumnWidth(c, std::min(widest + 2.0, 255.0));
    }
}

const WorkbookCell *WorkbookModel::Sheet::cell(int row, int column) const
{
    if (!validPosition(row, column) || static_cast<size_t>(row) > rows_.size())
        return nullptr;
    const auto &cells = rows_[static_cast<size_t>(row - 1)];
    if (static_cast<size_t>(column) > cells.size())
        return nullptr;
    return &cells[static_cast<size_t>(column - 1)];
}

const CellStyle &WorkbookModel::Sheet::styleAt(int row, int column) const
{
    const WorkbookCell *c = cell(row, column);
    return styles_[c ? c->style : 0];
}

QString WorkbookModel::Sheet::textAt(int row, int column) const
{
    const WorkbookCell *c = cell(row, column);
    if (!c || c->kind != WorkbookCell::Kind::Text)
        return {};
    return QString::fromStdString(c->text);
}

std::optional<double> WorkbookModel::Sheet::numberAt(int row, int column) const
{
    const WorkbookCell *c = cell(row, column);
    if (!c || c->kind != WorkbookCell::Kind::Number)
        return std::nullopt;
    return c->number;
}

int WorkbookModel::Sheet::lastColumn() const
{
    size_t widest = 0;
    for (const auto &cells : rows_)
        widest = std::max(widest, cells.size());
    return static_cast<int>(widest);
}

const std::vector<WorkbookCell> &WorkbookModel::Sheet::row(int row) const
{
    if (row < 1 || static_cast<size_t>(row) > rows_.size())
        return kNoCells;
    return rows_[static_cast<size_t>(row - 1)];
}
