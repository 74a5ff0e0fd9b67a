#pragma once
// A stored test's related information as the reports print it. A value the database holds as null
// stays unset, so each report can show it its own way (an empty cell, or the word Null).
#include <QSqlDatabase>
#include <QString>
#include <optional>

struct ReportedTestInfo {
    int testId = 0;
    std::optional<QString> testName;
    std::optional<QString> mudId;
    std::optional<QString> sampleTime; // as the dialogs show it
    std::optional<QString> companyName;
    std::optional<QString> desc;

    // The RelatedInfo row with this TestId; nullopt when there is none.
    static std::optional<ReportedTestInfo> load(const QSqlDatabase &db, int testId);
};
