#pragma once
// Sets up a table view as the main window's results grid (`MSFlexGrid1`) over a ResultGridModel:
// names, tool tip, column widths (widened where a header line needs it) and header height of the classic
// grid, fixed row heights (so a long test scrolls without measuring every row).
class QTableView;
class ResultGridModel;

class ResultGridView {
public:
    static void setUp(QTableView &view, ResultGridModel &model);
};
