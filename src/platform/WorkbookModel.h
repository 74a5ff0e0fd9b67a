#pragma once
// A spreadsheet workbook as plain data: sheets of cells (a number or a text, with number format, bold
// font, fill and borders), column widths and page setup. Report builders fill it and tests inspect it;
// XlsxWriter only transcribes it to a file. Rows and columns are 1-based sheet coordinates (column 1 is A).
//
// Kept compact for tests of 100,000 points and more: styles are interned per sheet (a cell holds an
// index into the sheet's style table) and texts live in one UTF-8 pool per sheet (a cell holds where).
#include <QString>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class BorderLine : uint8_t { None, Thin, Medium, Thick };

// The edges a range border can be drawn on, as a spreadsheet application names them.
enum class BorderEdge { Left, Top, Bottom, Right, InsideVertical, InsideHorizontal };

struct CellStyle {
    std::string numberFormat; // "" is the General format
    bool bold = false;
    bool filled = false;
    uint32_t fillRgb = 0; // 0xRRGGBB, solid fill when `filled`
    BorderLine left = BorderLine::None;
    BorderLine top = BorderLine::None;
    BorderLine bottom = BorderLine::None;
    BorderLine right = BorderLine::None;

    bool operator==(const CellStyle &) const = default;
};

struct CellRange {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;
};

struct PageSetup {
    bool landscape = false;
    int fitPagesWide = 0; // 0 and 0: printed at its own size, not fitted
    int fitPagesTall = 0;
    int titleFirstRow = 0; // rows repeated at the top of every printed page; 0 = none
    int titleLastRow = 0;
};

struct WorkbookCell {
    enum class Kind : uint8_t { Blank, Number, Text };
    double number = 0.0;     // a Number cell's value
    uint32_t textOffset = 0; // a Text cell's UTF-8 bytes in its sheet's text pool (Sheet::text)
    uint32_t textLength = 0;
    uint32_t style = 0; // index into the sheet's styles(); 0 is the default style
    Kind kind = Kind::Blank;
};

class WorkbookModel {
public:
    class Sheet {
    public:
        explicit Sheet(QString name);

        const QString &name() const { return name_; }

        // Values; positions before row 1 or column 1 are ignored. A text always stays a text (a leading
        // "=" is never a formula); an empty text empties the cell. A number that is not finite cannot be
        // stored in a workbook and becomes the text "#NUM!".
        void setNumber(int row, int column, double value);
        void setText(int row, int column, const QString &text);
        void setText(int row, int column, const std::string &utf8);

        // Room for this many rows, when a builder knows it ahead (saves regrowing a long sheet).
        void reserveRows(int rows);

        // Formatting of a range; cells that hold no value yet become styled blanks.
        void setNumberFormat(const CellRange &range, const std::string &format);
        void setBold(const CellRange &range, bool bold);
        void setFill(const CellRange &range, uint32_t rgb);
        void setBorder(const CellRange &range, BorderEdge edge, BorderLine line);
        // All lines of a range in one pass: `outer` around it, the inside lines between its columns and
        // between its rows (None clears them).
        void setBorders(const CellRange &range, BorderLine outer, BorderLine insideVertical,
                        BorderLine insideHorizontal);

        // Column widths in characters of the default font; 0 leaves the application's default width.
        void setColumnWidth(int column, double width);
        double columnWidth(int column) const;
        // Fits each column to the longest text it shows now (all rows of the column).
        void autoFitColumns(int firstColumn, int lastColumn);

        PageSetup &pageSetup() { return page_; }
        const PageSetup &pageSetup() const { return page_; }

        // Reading back. cell() is null for a position never written or styled.
        const WorkbookCell *cell(int row, int column) const;
        const CellStyle &styleAt(int row, int column) const;
        QString textAt(int row, int column) const;                 // "" unless a text cell
        std::optional<double> numberAt(int row, int column) const; // set only for a number cell
        int lastRow() const { return static_cast<int>(rows_.size()); }
        int lastColumn() const;
        const std::vector<WorkbookCell> &row(int row) const; // cells of a row, column 1 first
        const std::vector<CellStyle> &styles() const { return styles_; }
        const std::vector<double> &columnWidths() const { return widths_; } // index 0 is column 1

        // A text cell's UTF-8 text ("" for other cells); valid until the sheet changes.
        std::string_view text(const WorkbookCell &cell) const;
        // The text the cell shows under its General format (what a column is fitted to).
        QString displayText(const WorkbookCell &cell) const;

    private:
        WorkbookCell &at(int row, int column);
        void store(WorkbookCell &cell, std::string_view utf8);
        uint32_t intern(const CellStyle &style);
        template <typename Change>
        void restyle(int firstRow, int firstColumn, int lastRow, int lastColumn, Change change);

        QString name_;
        std::vector<std::vector<WorkbookCell>> rows_;
        size_t widestRow_ = 0;
        std::string textPool_;
        std::vector<CellStyle> styles_;
        std::vector<double> widths_;
        PageSetup page_;
    };

    // The returned sheet stays valid while the workbook lives (adding sheets does not move it).
    Sheet &addSheet(const QString &name);
    std::deque<Sheet> &sheets() { return sheets_; }
    const std::deque<Sheet> &sheets() const { return sheets_; }

private:
    std::deque<Sheet> sheets_;
};
