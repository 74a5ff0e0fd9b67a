#include "platform/WorkbookModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

const std::vector<WorkbookCell> kNoCells;

bool validPosition(int row, int column)
{
    return row >= 1 && column >= 1;
}

// Characters, not bytes, of a UTF-8 text.
size_t characterCount(std::string_view utf8)
{
    size_t n = 0;
    for (const char b : utf8)
        n += (static_cast<unsigned char>(b) & 0xC0) != 0x80;
    return n;
}

// The General format shows at most 11 characters of a number, dropping significant digits to fit.
std::string_view generalText(double value, char (&buffer)[32])
{
    for (int digits = 11; digits >= 1; --digits) {
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
        const std::string_view t(buffer, static_cast<size_t>(r.ptr - buffer));
        if (t.size() <= 11 || digits == 1)
            return t;
    }
    return {};
}

} // namespace

WorkbookModel::Sheet &WorkbookModel::addSheet(const QString &name)
{
    return sheets_.emplace_back(name);
}

WorkbookModel::Sheet::Sheet(QString name) : name_(std::move(name))
{
    styles_.emplace_back(); // index 0: the default style
}

WorkbookCell &WorkbookModel::Sheet::at(int row, int column)
{
    if (static_cast<size_t>(row) > rows_.size())
        rows_.resize(static_cast<size_t>(row));
    auto &cells = rows_[static_cast<size_t>(row - 1)];
    if (static_cast<size_t>(column) > cells.size()) {
        // Rows tend to be as wide as the ones before: one allocation per row instead of several.
        widestRow_ = std::max(widestRow_, static_cast<size_t>(column));
        cells.reserve(widestRow_);
        cells.resize(static_cast<size_t>(column));
    }
    return cells[static_cast<size_t>(column - 1)];
}

void WorkbookModel::Sheet::reserveRows(int rows)
{
    if (rows > 0)
        rows_.reserve(static_cast<size_t>(rows));
}

void WorkbookModel::Sheet::store(WorkbookCell &cell, std::string_view utf8)
{
    // An empty text empties the cell, as in a spreadsheet application; the cell keeps its style.
    cell.number = 0.0;
    cell.textOffset = 0;
    cell.textLength = 0;
    if (utf8.empty()) {
        cell.kind = WorkbookCell::Kind::Blank;
        return;
    }
    if (textPool_.size() + utf8.size() > std::numeric_limits<uint32_t>::max())
        throw std::length_error("workbook sheet texts exceed 4 GiB");
    cell.kind = WorkbookCell::Kind::Text;
    cell.textOffset = static_cast<uint32_t>(textPool_.size());
    cell.textLength = static_cast<uint32_t>(utf8.size());
    textPool_.append(utf8);
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
    c.textOffset = 0;
    c.textLength = 0;
}

void WorkbookModel::Sheet::setText(int row, int column, const QString &text)
{
    if (!validPosition(row, column))
        return;
    // Most report texts are plain ASCII number texts: copy them without a conversion buffer.
    char ascii[64];
    if (text.size() <= qsizetype(sizeof ascii)) {
        size_t n = 0;
        for (const QChar ch : text) {
            if (ch.unicode() >= 0x80)
                break;
            ascii[n++] = static_cast<char>(ch.unicode());
        }
        if (n == static_cast<size_t>(text.size())) {
            store(at(row, column), std::string_view(ascii, n));
            return;
        }
    }
    const QByteArray utf8 = text.toUtf8();
    store(at(row, column), std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

void WorkbookModel::Sheet::setText(int row, int column, const std::string &utf8)
{
    if (!validPosition(row, column))
        return;
    store(at(row, column), utf8);
}

std::string_view WorkbookModel::Sheet::text(const WorkbookCell &cell) const
{
    if (cell.kind != WorkbookCell::Kind::Text)
        return {};
    return std::string_view(textPool_).substr(cell.textOffset, cell.textLength);
}

uint32_t WorkbookModel::Sheet::intern(const CellStyle &style)
{
    const auto found = std::find(styles_.begin(), styles_.end(), style);
    if (found != styles_.end())
        return static_cast<uint32_t>(found - styles_.begin());
    styles_.push_back(style);
    return static_cast<uint32_t>(styles_.size() - 1);
}

// Applies a change to every cell of a rectangle. The change depends on the old style and on where the
// cell lies on the rectangle's edges, so each distinct (style, place) is worked out once per call,
// however many cells share it.
template <typename Change>
void WorkbookModel::Sheet::restyle(int firstRow, int firstColumn, int lastRow, int lastColumn, Change change)
{
    firstRow = std::max(firstRow, 1);
    firstColumn = std::max(firstColumn, 1);
    if (lastRow < firstRow || lastColumn < firstColumn)
        return;
    struct Memo {
        uint32_t from;
        unsigned place;
        uint32_t to;
    };
    std::vector<Memo> memo;
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const unsigned place = (r == firstRow ? 1u : 0u) | (r == lastRow ? 2u : 0u) | (c == firstColumn ? 4u : 0u)
                | (c == lastColumn ? 8u : 0u);
            WorkbookCell &cell = at(r, c);
            const auto hit = std::find_if(memo.begin(), memo.end(),
                                          [&](const Memo &m) { return m.from == cell.style && m.place == place; });
            if (hit != memo.end()) {
                cell.style = hit->to;
                continue;
            }
            CellStyle changed = styles_[cell.style];
            change(changed, place);
            const uint32_t index = intern(changed);
            memo.push_back({cell.style, place, index});
            cell.style = index;
        }
    }
}

void WorkbookModel::Sheet::setNumberFormat(const CellRange &range, const std::string &format)
{
    restyle(range.firstRow, range.firstColumn, range.lastRow, range.lastColumn,
            [&](CellStyle &s, unsigned) { s.numberFormat = format; });
}

void WorkbookModel::Sheet::setBold(const CellRange &range, bool bold)
{
    restyle(range.firstRow, range.firstColumn, range.lastRow, range.lastColumn,
            [&](CellStyle &s, unsigned) { s.bold = bold; });
}

void WorkbookModel::Sheet::setFill(const CellRange &range, uint32_t rgb)
{
    restyle(range.firstRow, range.firstColumn, range.lastRow, range.lastColumn, [&](CellStyle &s, unsigned) {
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
        restyle(r.firstRow, r.firstColumn, r.lastRow, r.firstColumn, [&](CellStyle &s, unsigned) { s.left = line; });
        break;
    case BorderEdge::Right:
        restyle(r.firstRow, r.lastColumn, r.lastRow, r.lastColumn, [&](CellStyle &s, unsigned) { s.right = line; });
        break;
    case BorderEdge::Top:
        restyle(r.firstRow, r.firstColumn, r.firstRow, r.lastColumn, [&](CellStyle &s, unsigned) { s.top = line; });
        break;
    case BorderEdge::Bottom:
        restyle(r.lastRow, r.firstColumn, r.lastRow, r.lastColumn, [&](CellStyle &s, unsigned) { s.bottom = line; });
        break;
    case BorderEdge::InsideVertical:
        restyle(r.firstRow, r.firstColumn, r.lastRow, r.lastColumn, [&](CellStyle &s, unsigned place) {
            if (!(place & 4u))
                s.left = line;
            if (!(place & 8u))
                s.right = line;
        });
        break;
    case BorderEdge::InsideHorizontal:
        restyle(r.firstRow, r.firstColumn, r.lastRow, r.lastColumn, [&](CellStyle &s, unsigned place) {
            if (!(place & 1u))
                s.top = line;
            if (!(place & 2u))
                s.bottom = line;
        });
        break;
    }
}

void WorkbookModel::Sheet::setBorders(const CellRange &r, BorderLine outer, BorderLine insideVertical,
                                      BorderLine insideHorizontal)
{
    restyle(r.firstRow, r.firstColumn, r.lastRow, r.lastColumn, [&](CellStyle &s, unsigned place) {
        s.top = (place & 1u) ? outer : insideHorizontal;
        s.bottom = (place & 2u) ? outer : insideHorizontal;
        s.left = (place & 4u) ? outer : insideVertical;
        s.right = (place & 8u) ? outer : insideVertical;
    });
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

QString WorkbookModel::Sheet::displayText(const WorkbookCell &cell) const
{
    switch (cell.kind) {
    case WorkbookCell::Kind::Blank: return {};
    case WorkbookCell::Kind::Text: {
        const std::string_view t = text(cell);
        return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    }
    case WorkbookCell::Kind::Number: break;
    }
    char buffer[32];
    const std::string_view t = generalText(cell.number, buffer);
    return QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size()));
}

// Widths are in characters of the default font: the longest shown text plus room for the cell margins,
// a little more for bold text. A column with nothing to show keeps its width. One pass over the rows.
void WorkbookModel::Sheet::autoFitColumns(int firstColumn, int lastColumn)
{
    firstColumn = std::max(firstColumn, 1);
    if (lastColumn < firstColumn)
        return;
    std::vector<double> widest(static_cast<size_t>(lastColumn - firstColumn + 1), 0.0);
    char buffer[32];
    for (const auto &cells : rows_) {
        const size_t end = std::min(cells.size(), static_cast<size_t>(lastColumn));
        for (size_t i = static_cast<size_t>(firstColumn - 1); i < end; ++i) {
            const WorkbookCell &cell = cells[i];
            size_t length = 0;
            if (cell.kind == WorkbookCell::Kind::Text)
                length = characterCount(text(cell));
            else if (cell.kind == WorkbookCell::Kind::Number)
                length = generalText(cell.number, buffer).size();
            else
                continue;
            const double chars = static_cast<double>(length) * (styles_[cell.style].bold ? 1.1 : 1.0);
            double &w = widest[i - static_cast<size_t>(firstColumn - 1)];
            w = std::max(w, chars);
        }
    }
    for (size_t i = 0; i < widest.size(); ++i) {
        if (widest[i] > 0.0)
            setColumnWidth(firstColumn + static_cast<int>(i), std::min(widest[i] + 2.0, 255.0));
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
    return displayText(*c);
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
