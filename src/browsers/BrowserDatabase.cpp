#include "browsers/BrowserDatabase.h"

#include "base/Texts.h"
#include "removal/FileRemoval.h"
#include "stores/SQLiteDatabase.h"

namespace nullvane::browsers {

namespace {

bool NeedsExist(stores::TSQLiteDatabase& db, const TDatabaseStatement& statement) {
    for (const std::string& table : statement.Tables)
        if (!db.HasTable(table)) return false;
    for (const auto& [table, column] : statement.Columns)
        if (!db.HasTable(table) || !db.HasColumn(table, column)) return false;
    for (const std::string& table : statement.WithoutTables)
        if (db.HasTable(table)) return false;
    return true;
}

// Runs the statements whose needs exist in one transaction; a failure leaves
// the transaction open, and closing the connection rolls it back.
void RunStatements(stores::TSQLiteDatabase& db, const std::vector<TDatabaseStatement>& statements) {
    // Taking the write lock first means the needs are read under it, so no
    // other writer changes the schema between the look and the statements.
    db.RunStatement("BEGIN IMMEDIATE");
    db.InTransaction = true;
    for (const TDatabaseStatement& statement : statements)
        if (NeedsExist(db, statement)) {
            if (statement.ReturnsRow)
                (void)db.QueryTable(statement.Sql);
            else
                db.RunStatement(statement.Sql);
        }
    db.RunStatement("COMMIT");
    db.InTransaction = false;
}

}  // namespace

bool CleanDatabase(base::TRunContext& run, const std::string& path, const std::vector<TDatabaseStatement>& statements) {
    platform::FileSystem& files = run.Machine.files;
    auto attributes = files.GetAttributes(path);
    if (!attributes || (*attributes & platform::faDirectory)) return false;
    // Written through only when the name leads to this very file, as a delete
    // would take it: a link's target elsewhere is never rewritten.
    switch (removal::ExamineFileIdentity(files, path)) {
        case removal::TFileIdentity::fiAbsent: return false;
        case removal::TFileIdentity::fiThroughLink:
            run.AddLogLine(base::texts::kDatabaseThroughLink + path);
            return false;
        case removal::TFileIdentity::fiOtherNames:
            run.AddLogLine(base::texts::kDatabaseOtherNames + path);
            return false;
        case removal::TFileIdentity::fiUnexamined:
            // A browser holding the file alone lets nobody look at it.
            if (!run.IsTestRun() && removal::IsFileLocked(run, path))
                run.ReportFileInUse(path);
            else
                run.AddLogLine(base::texts::kDatabaseUnexamined + path);
            return false;
        case removal::TFileIdentity::fiSelf: break;
    }
    if (!run.FastScan()) run.AddLogLine(run.LogPrefix + base::texts::kCleaningDatabase + " " + path);
    if (run.IsTestRun()) return false;
    if (*attributes & platform::faReadOnly) {
        run.ReportError(base::texts::kFileReadOnly + path);
        return false;
    }
    if (removal::IsFileLocked(run, path)) {
        run.ReportFileInUse(path);
        return false;
    }
    const std::string native = files.NativePath(path);
    if (native.empty()) return false;
    try {
        stores::TSQLiteDatabase db(native, stores::TSQLiteDatabase::TOpenMode::omExistingOnly);
        RunStatements(db, statements);
        return true;
    } catch (const stores::ESQLiteException& e) {
        // The connection is closed here and its transaction rolled back; the
        // file and its companions stay as they were.
        if (e.InUse()) {
            run.ReportFileInUse(path);
        } else if (e.Damaged()) {
            run.ReportError(base::texts::kDatabaseDamaged + path);
        } else if (e.ReadOnly()) {
            run.ReportError(base::texts::kFileReadOnly + path);
        } else {
            throw;
        }
        return false;
    }
}

}  // namespace nullvane::browsers
