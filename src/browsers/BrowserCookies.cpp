#include "browsers/BrowserCookies.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <set>

namespace nullvane::browsers {

namespace {

// More sites than any profile's cookies name: a hostile database does not
// make the listing hold millions of them.
constexpr size_t kMostSites = 100000;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A read-only connection that runs no trigger and trusts nothing in the
// schema. It never writes the database; SQLite may add the shared-memory
// companion of a write-ahead log that lacks one. Not open when SQLite
// refused the file.
class TReadOnlyDatabase {
public:
    TReadOnlyDatabase(platform::FileSystem& files, const std::string& path) {
        auto attributes = files.GetAttributes(path);
        // What a link points to was never found in the profile.
        if (!attributes || (*attributes & (platform::faDirectory | platform::faReparsePoint))) return;
        const std::string native = files.NativePath(path);
        if (native.empty()) return;
        if (sqlite3_open_v2(native.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            Close();
            return;
        }
        if (sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr) != SQLITE_OK ||
            sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr) != SQLITE_OK ||
            sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr) != SQLITE_OK)
            Close();
    }
    ~TReadOnlyDatabase() { Close(); }
    TReadOnlyDatabase(const TReadOnlyDatabase&) = delete;
    TReadOnlyDatabase& operator=(const TReadOnlyDatabase&) = delete;

    [[nodiscard]] bool IsOpen() const { return db_ != nullptr; }

    // Whether the database holds a table (no view) of that name, letter case aside.
    [[nodiscard]] bool HasTable(const char* name) {
        bool found = false;
        return Each("SELECT 1 FROM sqlite_master WHERE type = 'table' AND lower(name) = '" + std::string(name) + "'",
                    [&](sqlite3_stmt*) {
                        found = true;
                        return false;
                    }) &&
               found;
    }

    // Calls `row` for each row until it answers false; false when the query failed.
    template <typename TRow>
    bool Each(const std::string& sql, TRow row) {
        if (!db_) return false;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK || !statement) {
            sqlite3_finalize(statement);
            return false;
        }
        int result;
        while ((result = sqlite3_step(statement)) == SQLITE_ROW)
            if (!row(statement)) {
                result = SQLITE_DONE;
                break;
            }
        sqlite3_finalize(statement);
        return result == SQLITE_DONE;
    }

private:
    void Close() {
        if (db_) sqlite3_close(db_);
        db_ = nullptr;
    }

    sqlite3* db_ = nullptr;
};

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'";
}

// True for the cookies of a row that one of the sites keeps. The sites are
// put into the text as quoted literals, one VALUES row each, so the
// condition's depth stays the same however long the keep list grows.
std::string KeptCondition(const TCookieTable& table, const std::vector<std::string>& sites) {
    if (sites.empty()) return "0";
    const std::string host = std::string("lower(ltrim(") + table.HostColumn + ", '.'))";
    std::string values;
    for (const std::string& site : sites) values += (values.empty() ? "(" : ", (") + Quoted(site) + ")";
    return "EXISTS (SELECT 1 FROM (VALUES " + values + ") AS kept WHERE " + host + " = kept.column1 OR substr(" +
           host + ", -length(kept.column1) - 1) = '.' || kept.column1)";
}

}  // namespace

std::string CookieHostSite(std::string_view host) {
    while (!host.empty() && host.front() == '.') host.remove_prefix(1);
    std::string site(host);
    std::transform(site.begin(), site.end(), site.begin(), LowerAscii);
    return site;
}

std::vector<std::string> KeptCookieSites(const TCookieKeepList& list) {
    std::vector<std::string> sites;
    for (const std::string& entry : list.Entries) {
        if (entry.find(".txt") != std::string::npos || entry.find('\0') != std::string::npos) continue;
        std::string_view site = std::string_view(entry).substr(0, entry.find('/'));
        if (site.substr(0, 2) == "*.") site.remove_prefix(1);
        std::string host = CookieHostSite(site);
        if (!host.empty() && std::find(sites.begin(), sites.end(), host) == sites.end()) sites.push_back(host);
    }
    return sites;
}

bool KeepsCookieHost(const std::vector<std::string>& sites, std::string_view host) {
    const std::string site = CookieHostSite(host);
    return std::any_of(sites.begin(), sites.end(), [&](const std::string& kept) {
        return site == kept || (site.size() > kept.size() && site.ends_with(kept) &&
                                site[site.size() - kept.size() - 1] == '.');
    });
}

std::vector<TDatabaseStatement> KeepCookieStatements(const TCookieTable& table, const std::vector<std::string>& sites) {
    // Secure delete overwrites the deleted cookies' bytes in the file
    // instead of leaving them in its free space.
    return {{"PRAGMA secure_delete = ON", {}, {}, {}, true},
            {std::string("DELETE FROM ") + table.Table + " WHERE NOT " + KeptCondition(table, sites),
             {table.Table},
             {{table.Table, table.HostColumn}},
             {}}};
}

std::vector<std::string> ReadCookieDatabaseSites(platform::FileSystem& files, const std::string& path,
                                                 const TCookieTable& table) {
    TReadOnlyDatabase db(files, path);
    if (!db.IsOpen() || !db.HasTable(table.Table)) return {};
    std::set<std::string> sites;
    const bool read = db.Each(std::string("SELECT DISTINCT ") + table.HostColumn + " FROM " + table.Table,
                              [&](sqlite3_stmt* row) {
                                  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, 0));
                                  if (text) {
                                      std::string site = CookieHostSite(
                                          std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(row, 0))));
                                      if (!site.empty()) sites.insert(std::move(site));
                                  }
                                  return sites.size() < kMostSites;
                              });
    if (!read) return {};
    return {sites.begin(), sites.end()};
}

std::optional<int64_t> CountCookiesNotKept(platform::FileSystem& files, const std::string& path,
                                           const TCookieTable& table, const std::vector<std::string>& sites) {
    TReadOnlyDatabase db(files, path);
    if (!db.IsOpen() || !db.HasTable(table.Table)) return std::nullopt;
    int64_t count = 0;
    if (!db.Each(std::string("SELECT count(*) FROM ") + table.Table + " WHERE NOT " + KeptCondition(table, sites),
                 [&](sqlite3_stmt* row) {
                     count = sqlite3_column_int64(row, 0);
                     return false;
                 }))
        return std::nullopt;
    return count;
}

void KeepOnlyKeptCookies(base::TRunContext& run, const std::string& path, const TCookieTable& table,
                         const std::vector<std::string>& sites) {
    // Counted before the Clean opens the file for writing: the browser is
    // closed by then, so what is counted is what the statements delete.
    const int64_t count = CountCookiesNotKept(run.Machine.files, path, table, sites).value_or(0);
    // A Test logs the database and opens nothing for writing.
    const bool committed = CleanDatabase(run, path, KeepCookieStatements(table, sites));
    if (!run.IsTestRun() && !committed) return;
    const int64_t total = std::min<int64_t>(run.ItemCount + count, std::numeric_limits<int32_t>::max());
    run.ItemCount = static_cast<int32_t>(total);
    run.PostItemProgressIfDue();
}

}  // namespace nullvane::browsers
