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

// Rows for a Firefox places.sqlite of today. Places: 1 bookmarked, 2 named by
// a keyword, 3 tagged (a bookmark under a tag), 4 visited, 5 downloaded only,
// 6 downloaded and visited, 7 bookmarked and downloaded only, 8 named by a
// keyword and downloaded only. Origins 1 (places 1, 2, 7), 2 (4), 3 (5).
// Downloads are visits of type 7 with a "downloads/" annotation.
inline constexpr char kFirefoxPlacesRows[] =
    "INSERT INTO moz_origins (id, prefix, host, frecency) VALUES (1, 'https://', 'kept.example', 1),"
    " (2, 'https://', 'visited.example', 1), (3, 'https://', 'download.example', 1);"
    "INSERT INTO moz_places (id, url, guid, visit_count, typed, last_visit_date, origin_id) VALUES"
    " (1, 'https://kept.example/bookmark', 'g1', 3, 1, 100, 1), (2, 'https://kept.example/keyword', 'g2', 2, 1, 100, 1),"
    " (3, 'https://tag.example/', 'g3', 1, 0, 100, NULL), (4, 'https://visited.example/', 'g4', 5, 1, 100, 2),"
    " (5, 'https://download.example/file.zip', 'g5', 1, 0, 100, 3), (6, 'https://visited.example/both', 'g6', 2, 0, 100, 2),"
    " (7, 'https://kept.example/saved.zip', 'g7', 1, 0, 100, 1), (8, 'https://kept.example/kw.zip', 'g8', 1, 0, 100, 1);"
    "INSERT INTO moz_historyvisits (place_id, visit_date, visit_type) VALUES (1, 100, 1), (2, 100, 2), (3, 100, 1),"
    " (4, 100, 1), (4, 101, 2), (5, 100, 7), (6, 100, 7), (6, 101, 1), (7, 100, 7), (8, 100, 7);"
    "INSERT INTO moz_bookmarks (id, type, fk, parent, title, guid) VALUES (1, 2, NULL, 0, 'root', 'root'),"
    " (2, 1, 1, 1, 'bookmark', 'b2'), (3, 2, NULL, 1, 'tag', 'b3'), (4, 1, 3, 3, NULL, 'b4'), (5, 1, 7, 1, 'saved', 'b5');"
    "INSERT INTO moz_keywords (keyword, place_id) VALUES ('kw', 2), ('zip', 8);"
    "INSERT INTO moz_anno_attributes (id, name) VALUES (1, 'downloads/destinationFileURI'), (2, 'other/note');"
    "INSERT INTO moz_annos (place_id, anno_attribute_id, content) VALUES (1, 2, 'note'), (4, 2, 'note'),"
    " (5, 1, 'file:///d/file.zip'), (7, 1, 'file:///d/saved.zip');"
    "INSERT INTO moz_inputhistory (place_id, input, use_count) VALUES (1, 'kep', 1), (4, 'vis', 2);"
    "INSERT INTO moz_places_metadata_search_queries (id, terms) VALUES (1, 'private terms');"
    "INSERT INTO moz_places_metadata (place_id, created_at, search_query_id) VALUES (1, 1, NULL), (4, 1, 1);"
    "INSERT INTO moz_meta (key, value) VALUES ('origin_frecency_count', 3);";

// The single integer that `query` gives on the database at `hostPath`.
[[nodiscard]] long long QueryNumber(const std::string& hostPath, const std::string& query);

}  // namespace nullvane::testing
