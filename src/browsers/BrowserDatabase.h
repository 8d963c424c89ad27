#pragma once
// The statements a browser cleaner runs on one profile database.
#include <string>
#include <utility>
#include <vector>

#include "base/RunContext.h"

namespace nullvane::browsers {

// One statement of a database step. It runs only if every table it needs
// exists, every (table, column) it needs exists and none of WithoutTables
// exists (the variant of a statement for databases that lack a table);
// statements whose needs are missing are skipped, the rest run.
struct TDatabaseStatement {
    std::string Sql;
    std::vector<std::string> Tables{};
    std::vector<std::pair<std::string, std::string>> Columns{};
    std::vector<std::string> WithoutTables{};
    // A statement that answers with a row (a PRAGMA that sets a value): its
    // answer is read and dropped.
    bool ReturnsRow = false;
};

// The database step on one file. A file whose name does not lead to this
// very file (a link, reached through one, other names) is left with a log
// line and never opened. Otherwise, where the file exists, logs
// run.LogPrefix + "cleaning database " + path (not in Fast Mode); a Test
// stops there and opens nothing. A Clean: a read-only file is reported
// ("The file is read-only: "), a database in use (IsFileLocked) through
// run.ReportFileInUse, and nothing is written; otherwise it is opened
// existing-only (triggers off, defensive) and the statements whose needs
// exist run in one BEGIN IMMEDIATE ... COMMIT. SQLITE_BUSY or SQLITE_LOCKED
// rolls back and reports the file in use; SQLITE_CORRUPT or SQLITE_NOTADB
// rolls back and reports "The database is damaged and was left: "; the run
// goes on and ends with errors. Any other failure rolls back and leaves as
// ESQLiteException. Rows are never counted. True when the statements were
// committed.
bool CleanDatabase(base::TRunContext& run, const std::string& path, const std::vector<TDatabaseStatement>& statements);

}  // namespace nullvane::browsers
