#pragma once
// Finds stored tests by up to three conditions on their related information. Each condition is a column
// from the fixed list of RelatedInfo's columns, an operator from the fixed list and a value that is bound,
// never pasted into the statement. " Like " means "contains" (%, _ and \ in the value match literally);
// TestId compares as a number, SampleTime as a date-time, the other columns as text without regard to case.
// Conditions 2 and 3 count only together with condition 1: with condition 1 empty every test is listed.
#include <QList>
#include <QLocale>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>

class TestSearch {
public:
    enum Column { TestIdColumn = 0, TestNameColumn, MudIdColumn, SampleTimeColumn, CompanyNameColumn, DescColumn };
    enum Operator { OpGreater = 0, OpGreaterOrEqual, OpLess, OpLessOrEqual, OpEqual, OpNotEqual, OpLike };

    // The column box entries, in table order: TestId, TestName, MudId, SampleTime, CompanyName, Desc.
    static QStringList columnNames();
    // The operator box entries, with their blanks: " > ", " >= ", " < ", " <= ", " = ", " <> ", " Like ".
    static QStringList operatorTexts();

    struct Condition {
        int column = TestIdColumn; // index into columnNames()
        int op = OpGreater;        // index into operatorTexts()
        QString value;             // blank: the condition is empty
    };

    struct Result {
        bool ok = true;
        QString error;           // "Wrong search string.  " + the reason, when !ok
        QStringList header;      // the names of the five shown columns (all but TestId)
        QList<QStringList> rows; // TestName, MudId, SampleTime, CompanyName, Desc; newest test first
    };

    explicit TestSearch(const QSqlDatabase &db, const QLocale &locale = QLocale());

    // Checks that the table can be read (the dialog's load); false with the engine's text otherwise.
    bool checkTable(QString *error) const;

    Result run(const std::array<Condition, 3> &conditions) const;

private:
    QSqlDatabase db_;
    QLocale locale_;
};
