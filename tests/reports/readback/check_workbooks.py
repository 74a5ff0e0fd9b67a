#!/usr/bin/env python3
"""Independent read-back of the report workbooks.

For every <name>.json in the folder given on the command line, opens <name>.xlsx with openpyxl and
checks that the file holds exactly the cells of the model dump: the same numbers, texts stored as texts
(never formulas), number formats, bold, fills, borders, column widths and page setup; and that the report
data cells are numbers shown through their report picture, "N/A" the only text. Exits non-zero and lists
every difference otherwise.
"""
import glob
import json
import math
import os
import sys

import openpyxl
from openpyxl.utils import get_column_letter

LINES = {"none": None, "thin": "thin", "medium": "medium", "thick": "thick"}


def check_cell(where, cell, expected, problems):
    kind = expected["kind"]
    value = cell.value
    if kind == "number":
        if cell.data_type != "n" or isinstance(value, bool) or not isinstance(value, (int, float)):
            problems.append(f"{where}: expected the number {expected['value']!r}, found {value!r} ({cell.data_type})")
        elif not math.isclose(value, expected["value"], rel_tol=1e-14, abs_tol=1e-300):
            problems.append(f"{where}: expected {expected['value']!r}, found {value!r}")
    elif kind == "text":
        if cell.data_type != "s" or value != expected["value"]:
            problems.append(f"{where}: expected the text {expected['value']!r}, found {value!r} ({cell.data_type})")
    elif value is not None:
        problems.append(f"{where}: expected no value, found {value!r}")

    number_format = expected["numberFormat"] or "General"
    if cell.number_format != number_format:
        problems.append(f"{where}: number format {cell.number_format!r}, expected {number_format!r}")
    if bool(cell.font.b) != expected["bold"]:
        problems.append(f"{where}: bold is {bool(cell.font.b)}, expected {expected['bold']}")

    fill = cell.fill
    if expected["fill"]:
        rgb = fill.fgColor.rgb if fill.fgColor is not None else None
        if fill.patternType != "solid" or not isinstance(rgb, str) or rgb[-6:].upper() != expected["fill"]:
            problems.append(f"{where}: fill {fill.patternType} {rgb!r}, expected solid {expected['fill']}")
    elif fill.patternType not in (None, "none"):
        problems.append(f"{where}: unexpected fill {fill.patternType}")

    for side in ("left", "top", "bottom", "right"):
        got = getattr(cell.border, side).style
        want = LINES[expected[side]]
        if got != want:
            problems.append(f"{where}: {side} border {got!r}, expected {want!r}")


def is_untouched(cell):
    return (cell.value is None and cell.fill.patternType in (None, "none") and not cell.font.b
            and all(getattr(cell.border, s).style is None for s in ("left", "top", "bottom", "right")))


def check_sheet(name, ws, model, problems):
    expected = {(c["row"], c["column"]): c for c in model["cells"]}
    for (row, column), cell_model in expected.items():
        check_cell(f"{name}!{get_column_letter(column)}{row}", ws.cell(row=row, column=column), cell_model, problems)
    for row in ws.iter_rows():
        for cell in row:
            if (cell.row, cell.column) not in expected and not is_untouched(cell):
                problems.append(f"{name}!{cell.coordinate}: not in the model but holds {cell.value!r}")

    widths = model["widths"]
    for index, width in enumerate(widths, start=1):
        letter = get_column_letter(index)
        dim = ws.column_dimensions.get(letter) if letter in ws.column_dimensions else None
        if width > 0:
            # the file keeps the width in whole pixels of the default font, so allow a fraction
            if dim is None or dim.width is None or abs(dim.width - width) > 1.0:
                problems.append(f"{name}: column {letter} width {dim.width if dim else None}, expected {width}")
    for letter, dim in ws.column_dimensions.items():
        index = openpyxl.utils.column_index_from_string(letter)
        if dim.customWidth and (index > len(widths) or widths[index - 1] == 0):
            problems.append(f"{name}: column {letter} has a width the model does not give")

    page = model["page"]
    orientation = ws.page_setup.orientation or "default"
    if (orientation == "landscape") != page["landscape"]:
        problems.append(f"{name}: orientation {orientation}, expected landscape={page['landscape']}")
    fitted = bool(ws.sheet_properties.pageSetUpPr and ws.sheet_properties.pageSetUpPr.fitToPage)
    if fitted != (page["fitWide"] > 0 or page["fitTall"] > 0):
        problems.append(f"{name}: fit to page is {fitted}")
    if fitted:
        wide = ws.page_setup.fitToWidth if ws.page_setup.fitToWidth is not None else 1
        tall = ws.page_setup.fitToHeight if ws.page_setup.fitToHeight is not None else 1
        if (int(wide), int(tall)) != (page["fitWide"], page["fitTall"]):
            problems.append(f"{name}: fitted {wide} wide by {tall} tall, expected {page['fitWide']} by {page['fitTall']}")
    titles = (ws.print_title_rows or "").replace("$", "")
    want_titles = f"{page['titleFirst']}:{page['titleLast']}" if page["titleFirst"] else ""
    if titles != want_titles:
        problems.append(f"{name}: print title rows {titles!r}, expected {want_titles!r}")


def pictures_of(sample):
    """The picture (number format) of each pictured column of a report sample, by column."""
    si = sample.endswith("_si")
    if sample.startswith("detail"):
        columns = {c: "#0.#####" for c in list(range(5, 13)) + [15, 16, 17]}
        columns[6] = "#0.###"
        if si:
            del columns[8]  # the SI viscosity is written unformatted
        return 11, columns
    columns = {c: "####0.0##" for c in range(5, 13)}
    if si:
        columns[8] = "####0.0#"
    return 12, columns


def decimals(picture):
    return len(picture.split(".", 1)[1]) if "." in picture else 0


def check_report_numbers(sample, ws, problems):
    """A report's data cells are numbers a spreadsheet can add, never numbers stored as text: each shows its
    picture's digits through the picture as its number format; only "N/A" (a standing rotor's viscosity)
    stays text."""
    first_row, pictures = pictures_of(sample)
    for row in range(first_row, ws.max_row + 1):
        for column in range(1, 18):
            cell = ws.cell(row=row, column=column)
            where = f"{sample}!{cell.coordinate}"
            if cell.value is None:
                continue
            if column == 8 and cell.value == "N/A":
                if cell.data_type != "s":
                    problems.append(f"{where}: N/A is not text")
                continue
            if cell.data_type != "n" or isinstance(cell.value, bool):
                problems.append(f"{where}: {cell.value!r} is stored as {cell.data_type}, not as a number")
                continue
            picture = pictures.get(column)
            if picture is None:
                continue
            if cell.number_format != picture:
                problems.append(f"{where}: number format {cell.number_format!r}, the report shows {picture!r}")
            shown = round(cell.value, decimals(picture))
            if not math.isclose(cell.value, shown, rel_tol=1e-12, abs_tol=1e-12):
                problems.append(f"{where}: {cell.value!r} holds more digits than {picture!r} shows")


def main():
    folder = sys.argv[1]
    samples = sorted(glob.glob(os.path.join(folder, "*.json")))
    if not samples:
        print(f"no samples in {folder}")
        return 1
    problems = []
    for dump_path in samples:
        base = os.path.splitext(dump_path)[0]
        with open(dump_path, encoding="utf-8") as f:
            model = json.load(f)
        book = openpyxl.load_workbook(base + ".xlsx")
        if len(book.worksheets) != len(model["sheets"]):
            problems.append(f"{base}: {len(book.worksheets)} sheets, expected {len(model['sheets'])}")
        for ws, sheet in zip(book.worksheets, model["sheets"]):
            if ws.title != sheet["name"]:
                problems.append(f"{base}: sheet named {ws.title!r}, expected {sheet['name']!r}")
            check_sheet(os.path.basename(base), ws, sheet, problems)
        # The report's own sheet; a second sheet (Rheology) is checked against its model above.
        check_report_numbers(os.path.basename(base), book.worksheets[0], problems)
        print(f"{os.path.basename(base)}: {len(model['sheets'][0]['cells'])} cells checked")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
