#pragma once
// The community catalogue winapp2.ini, read as text: "[Entry Name *]"
// sections of "Key=Value" lines, ";" comments. Values hold "|" and ";", and
// the file is large, so it is parsed here in one pass rather than through
// the system's profile functions. Nothing is trusted: a line that does not
// fit is skipped and counted, an entry keeps what did fit.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nullvane::stores {

// FileKeyN=FOLDER|MASKS|FLAG
struct TWinapp2FileKey {
    enum TFlag { fkFolderOnly, fkRecurse, fkRemoveSelf };
    std::string Folder;               // as written, variables unexpanded
    std::vector<std::string> Masks;   // at least one
    TFlag Flag = fkFolderOnly;
};

// RegKeyN=KEY or KEY|VALUE
struct TWinapp2RegKey {
    std::string Key;
    std::optional<std::string> Value;  // one value; none for the whole key
};

// ExcludeKeyN=FILE|FOLDER|NAMES, PATH|FOLDER|MASKS or REG|KEY
struct TWinapp2ExcludeKey {
    enum TKind { ekFile, ekPath, ekRegistry };
    TKind Kind = ekFile;
    std::string Where;                // the folder, or the key
    std::vector<std::string> Names;   // the file names or masks; empty for a key
};

struct TWinapp2Entry {
    std::string Name;   // without the trailing " *"
    std::string Group;  // "Applications" for LangSecRef=3021, or Section's text
    std::vector<std::string> Detects;      // registry keys
    std::vector<std::string> DetectFiles;  // paths, a wildcard only in the last name
    std::string Warning;
    std::vector<TWinapp2FileKey> FileKeys;
    std::vector<TWinapp2RegKey> RegKeys;
    std::vector<TWinapp2ExcludeKey> ExcludeKeys;
    // An ExcludeKey line that could not be read: what it meant to keep is
    // unknown, so none of the entry's keys may run.
    bool DamagedExcludeKey = false;
};

struct TWinapp2File {
    std::vector<TWinapp2Entry> Entries;  // in file order
    int32_t MalformedLines = 0;
};

// The group a LangSecRef number stands for ("3021" is "Applications");
// unknown numbers stay as they are written.
[[nodiscard]] std::string Winapp2GroupOf(std::string_view langSecRef);

// The whole file's text (UTF-8 or ASCII, with or without a byte order mark,
// CRLF or LF lines).
[[nodiscard]] TWinapp2File ParseWinapp2(std::string_view text);

}  // namespace nullvane::stores
