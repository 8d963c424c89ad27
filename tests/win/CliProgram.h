#pragma once
// Starts nullvane-cli.exe for real, as scripts start it, and collects what it printed.
#include <process.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace nullvane::testing {

struct TCliResult {
    int Status = -1;
    std::vector<std::string> Out;
    std::string Err;
};

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Runs the program beside the tests with no console input.
inline TCliResult RunCliProgram(const std::string& arguments) {
    // A name of its own per start: under Wine the shell of the previous start
    // may still hold its redirection file open for a moment.
    static int starts = 0;
    const std::string errFile = "cli-program-test-" + std::to_string(_getpid()) + "-" + std::to_string(++starts) + ".err";
    std::string command = "nullvane-cli.exe " + arguments + " 2>" + errFile + " <NUL";
    TCliResult result;
    FILE* pipe = _popen(command.c_str(), "rb");
    if (!pipe) return result;
    std::string out;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    result.Status = _pclose(pipe);
    result.Out = Lines(out);
    std::ifstream err(errFile, std::ios::binary);
    result.Err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    err.close();
    std::remove(errFile.c_str());
    return result;
}

}  // namespace nullvane::testing
