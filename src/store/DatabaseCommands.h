#pragma once
// The main window's database commands in its File menu: "Import Recovered Test..." (a recovery file back
// into the database), "Check Database" (SQLite's integrity check in plain words) and "Back Up
// Database..." (a complete, checked copy of the database in one file, also during a run).
struct AppContext;

namespace DatabaseCommands {

void importRecoveredTest(AppContext &context);
void checkDatabase(AppContext &context);
void backUpDatabase(AppContext &context);

} // namespace DatabaseCommands
