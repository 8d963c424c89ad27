#include "platform/FileSystem.h"

namespace nullvane::platform {

bool FileSystem::DirectoryExists(const std::string& path) {
    auto attributes = GetAttributes(path);
    return attributes && (*attributes & faDirectory);
}

bool FileSystem::CreateDirectories(const std::string& path) {
    std::string folder = path;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (folder.empty()) return false;
    if (DirectoryExists(folder)) return true;
    auto slash = folder.find_last_of('\\');
    if (slash != std::string::npos && slash > 0) {
        std::string parent = folder.substr(0, slash);
        // A drive ("C:") always exists; stop there.
        if (!(parent.size() == 2 && parent[1] == ':') && !CreateDirectories(parent)) return false;
    }
    return CreateDirectory(folder) || DirectoryExists(folder);
}

std::optional<std::string> FileSystem::ReadAll(const std::string& path) {
    FilePtr file = Open(path, OpenMode::Read, ShareMode::ReadWrite);
    if (!file) return std::nullopt;
    std::string data;
    char buffer[65536];
    for (;;) {
        size_t got = file->Read(buffer, sizeof buffer);
        if (got == 0) break;
        data.append(buffer, got);
    }
    return data;
}

bool FileSystem::ShellDelete(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) return false;
    auto attributes = GetAttributes(path);
    if (!attributes || (*attributes & faDirectory)) return false;
    if (DeleteFile(path)) return true;
    // The shell clears the attributes that stop a plain delete and tries again.
    constexpr uint32_t blocking = faReadOnly | faHidden | faSystem;
    if (!(*attributes & blocking)) return false;
    uint32_t cleared = *attributes & ~blocking;
    if (!SetAttributes(path, cleared != 0 ? cleared : faNormal)) return false;
    if (DeleteFile(path)) return true;
    SetAttributes(path, *attributes);
    return false;
}

bool FileSystem::ScheduleDeleteAtReboot(const std::string&) { return false; }

bool FileSystem::WriteAll(const std::string& path, const std::string& data) {
    FilePtr file = Open(path, OpenMode::CreateAlways, ShareMode::Exclusive);
    if (!file) return false;
    if (!data.empty() && !file->Write(data.data(), data.size())) return false;
    return file->Flush();
}

}  // namespace nullvane::platform
