#pragma once
// Browser databases for tests, built with SQLite itself from the schemas in
// fixtures/browsers.sql (one section per database file, headed "-- == title").
#include <string>

namespace nullvane::testing {

// The statements of the first section whose title begins with `title`;
// throws if the schema file or the section is missing.
[[nodiscard]] std::string BrowserSchema(const std::string& title);

// Creates the database at `hostPath` (UTF-8) from the schema section, in WAL
// mode when asked (the rows then stay in the "-wal" file after closing), then
// runs `rows` (inserts); throws on any failure.
void MakeBrowserDatabase(const std::string& hostPath, const std::string& title, bool wal, const std::string& rows);

// The single integer that `query` gives on the database at `hostPath`.
[[nodiscard]] long long QueryNumber(const std::string& hostPath, const std::string& query);

}  // namespace nullvane::testing
