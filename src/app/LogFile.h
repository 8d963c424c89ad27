#pragma once
// Saving the log as a text file.
#include <string>
#include <vector>

namespace nullvane::app {

// The name the log is written under: ".txt" is appended unless the chosen
// name's extension is exactly ".txt".
[[nodiscard]] std::string LogFileName(const std::string& chosen);

// The file's text: two header lines, an empty line, then the log's lines,
// each line ended by CR LF.
[[nodiscard]] std::string LogFileText(const std::vector<std::string>& lines);

}  // namespace nullvane::app
