#include "platform/XlsxWriter.h"

#include "platform/WorkProgress.h"
#include "platform/WorkbookModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <xlsxwriter.h>

namespace {

uint8_t borderOf(BorderLine line)
{
    switch (line) {
    case BorderLine::None: return LXW_BORDER_NONE;
    case BorderLine::Thin: return LXW_BORDER_THIN;
    case BorderLine::Medium: return LXW_BORDER_MEDIUM;
    case BorderLine::Thick: return LXW_BORDER_THICK;
    }
    return LXW_BORDER_NONE;
}

lxw_format *formatOf(lxw_workbook *book, const CellStyle &style)
{
    if (style == CellStyle{})
        return nullptr;
    lxw_format *f = workbook_add_format(book);
    if (!f)
        return nullptr;
    if (!style.numberFormat.empty())
        format_set_num_format(f, style.numberFormat.c_str());
    if (style.bold)
        format_set_bold(f);
    if (style.filled) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, static_cast<lxw_color_t>(style.fillRgb));
    }
    if (style.left != BorderLine::None)
        format_set_left(f, borderOf(style.left));
    if (style.top != BorderLine::None)
        format_set_top(f, borderOf(style.top));
    if (style.bottom != BorderLine::None)
        format_set_bottom(f, borderOf(style.bottom));
    if (style.right != BorderLine::None)
        format_set_right(f, borderOf(style.right));
    return f;
}

// A cell text as the C string the library takes, cut to the longest a cell holds (counted in
// characters, never inside one). buffer is reused from cell to cell.
const char *cellText(std::string_view utf8, std::string &buffer)
{
    size_t chars = 0;
    size_t end = utf8.size();
    for (size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
            continue;
        if (++chars > static_cast<size_t>(XlsxWriter::maxCellTextLength)) {
            end = i;
            break;
        }
    }
    buffer.assign(utf8.data(), end);
    return buffer.c_str();
}

// Rows written so far over all sheets, and the stop request, for a progress that follows the writing.
struct RowCounter {
    WorkProgress *progress = nullptr;
    qint64 done = 0;
    bool stopped = false;
    // False when the writing should end.
    bool next()
    {
        if (progress && progress->checkpoint(done++))
            stopped = true;
        return !stopped;
    }
};

lxw_error writeSheet(lxw_workbook *book, const WorkbookModel::Sheet &sheet, RowCounter &counter)
{
    const QByteArray name = sheet.name().toUtf8();
    lxw_worksheet *ws = workbook_add_worksheet(book, name.isEmpty() ? nullptr : name.constData());
    if (!ws)
        return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;

    std::vector<lxw_format *> formats;
    formats.reserve(sheet.styles().size());
    for (const CellStyle &style : sheet.styles())
        formats.push_back(formatOf(book, style));

    const auto &widths = sheet.columnWidths();
    for (size_t c = 0; c < widths.size(); ++c) {
        if (widths[c] > 0.0) {
            const auto col = static_cast<lxw_col_t>(c);
            if (const lxw_error e = worksheet_set_column(ws, col, col, widths[c], nullptr))
                return e;
        }
    }

    const PageSetup &page = sheet.pageSetup();
    if (page.landscape)
        worksheet_set_landscape(ws);
    if (page.fitPagesWide > 0 || page.fitPagesTall > 0)
        worksheet_fit_to_pages(ws, static_cast<uint16_t>(page.fitPagesWide), static_cast<uint16_t>(page.fitPagesTall));
    if (page.titleFirstRow > 0 && page.titleLastRow >= page.titleFirstRow) {
        if (const lxw_error e = worksheet_repeat_rows(ws, static_cast<lxw_row_t>(page.titleFirstRow - 1),
                                                      static_cast<lxw_row_t>(page.titleLastRow - 1)))
            return e;
    }

    // Rows go out in order: the workbook is opened in constant-memory mode, which streams each row.
    std::string buffer;
    for (int r = 1; r <= sheet.lastRow(); ++r) {
        if (!counter.next())
            return LXW_NO_ERROR;
        const auto &cells = sheet.row(r);
        const auto row = static_cast<lxw_row_t>(r - 1);
        for (size_t c = 0; c < cells.size(); ++c) {
            const WorkbookCell &cell = cells[c];
            const auto col = static_cast<lxw_col_t>(c);
            lxw_format *format = formats[cell.style];
            lxw_error e = LXW_NO_ERROR;
            switch (cell.kind) {
            case WorkbookCell::Kind::Number: e = worksheet_write_number(ws, row, col, cell.number, format); break;
            case WorkbookCell::Kind::Text:
                // Always a string cell: a text starting with "=" must never become a formula.
                e = worksheet_write_string(ws, row, col, cellText(sheet.text(cell), buffer), format);
                break;
            case WorkbookCell::Kind::Blank:
                if (format)
                    e = worksheet_write_blank(ws, row, col, format);
                break;
            }
            if (e != LXW_NO_ERROR)
                return e;
        }
    }
    return LXW_NO_ERROR;
}

QString temporaryNameBeside(const QFileInfo &target)
{
    const QDir dir = target.absoluteDir();
    for (;;) {
        QString candidate =
            dir.filePath(QStringLiteral(".%1.%2.tmp")
                             .arg(target.fileName(), QString::number(QRandomGenerator::global()->generate(), 16)));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QString reasonOf(lxw_error e)
{
    return QString::fromUtf8(lxw_strerror(e));
}

} // namespace

bool XlsxWriter::write(const WorkbookModel &model, const QString &path, QString *error, WorkProgress *progress)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };

    const QFileInfo target(path);
    if (path.isEmpty() || target.fileName().isEmpty())
        return fail(QStringLiteral("No file name was given."));
    if (target.isDir())
        return fail(QStringLiteral("A folder has that name."));
    if (!target.absoluteDir().exists())
        return fail(QStringLiteral("The folder does not exist."));

    const QString temp = temporaryNameBeside(target);
    const QByteArray tempName = QFile::encodeName(temp);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook *book = workbook_new_opt(tempName.constData(), &options);
    if (!book)
        return fail(QStringLiteral("Not enough memory to start the workbook."));

    RowCounter counter;
    counter.progress = progress;
    if (progress) {
        qint64 rows = 0;
        for (const auto &sheet : model.sheets())
            rows += sheet.lastRow();
        progress->beginPart(rows);
    }
    lxw_error sheetError = LXW_NO_ERROR;
    if (model.sheets().empty()) {
        if (!workbook_add_worksheet(book, nullptr))
            sheetError = LXW_ERROR_MEMORY_MALLOC_FAILED;
    }
    for (const auto &sheet : model.sheets()) {
        sheetError = writeSheet(book, sheet, counter);
        if (sheetError != LXW_NO_ERROR || counter.stopped)
            break;
    }
    // Closing also frees the workbook, so it runs even after a failed or stopped sheet.
    const lxw_error closeError = workbook_close(book);
    if (counter.stopped) {
        QFile::remove(temp);
        return fail(stoppedText());
    }
    if (sheetError != LXW_NO_ERROR || closeError != LXW_NO_ERROR) {
        QFile::remove(temp);
        return fail(reasonOf(sheetError != LXW_NO_ERROR ? sheetError : closeError));
    }

    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(temp.toStdU16String()),
                            std::filesystem::path(target.absoluteFilePath().toStdU16String()), ec);
    if (ec) {
        QFile::remove(temp);
        return fail(QString::fromLocal8Bit(ec.message().c_str()));
    }
    return true;
}
