#include "platform/FileSystem.h"

namespace nullvane::platform {

bool FileSystem::DirectoryExists(const std::string& path) {
    auto attributes = GetAttributes(path);
    return attributes && (*attributes & faDirectory);
}

TStatus FileSystem::MakeFolders(const std::string& path) {
    std::string folder = path;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (folder.empty()) return TStatus::Failure(sePathNotFound);
    if (DirectoryExists(folder)) return TStatus::Success();
    auto slash = folder.find_last_of('\\');
    if (slash != std::string::npos && slash > 0) {
        std::string parent = folder.substr(0, slash);
        // A drive ("C:") always exists; stop there.
        if (!(parent.size() == 2 && parent[1] == ':'))
            if (TStatus made = MakeFolders(parent); !made) return made;
    }
    TStatus made = MakeFolder(folder);
    if (made || DirectoryExists(folder)) return TStatus::Success();
    return made;
}

TResult<std::string> FileSystem::ReadAll(const std::string& path) {
    auto file = Open(path, OpenMode::Read, ShareMode::ReadWrite);
    if (!file) return file.Status();
    std::string data;
    char buffer[65536];
    for (;;) {
        size_t got = file->Read(buffer, sizeof buffer);
        if (got == 0) break;
        data.append(buffer, got);
    }
    return data;
}

TStatus FileSystem::ShellDelete(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) return TStatus::Failure(seInvalidName);
    auto attributes = GetAttributes(path);
    if (!attributes) return attributes.Status();
    if (*attributes & faDirectory) return TStatus::Failure(seAccessDenied);
    TStatus removed = RemoveFile(path);
    if (removed) return removed;
    // The shell clears the attributes that stop a plain delete and tries again.
    constexpr uint32_t blocking = faReadOnly | faHidden | faSystem;
    if (!(*attributes & blocking)) return removed;
    uint32_t cleared = *attributes & ~blocking;
    if (TStatus set = SetAttributes(path, cleared != 0 ? cleared : faNormal); !set) return set;
    removed = RemoveFile(path);
    if (removed) return removed;
    (void)SetAttributes(path, *attributes);
    return removed;
}

TStatus FileSystem::ScheduleDeleteAtReboot(const std::string&) { return TStatus::Failure(seNotSupported); }

TResult<uint32_t> FileSystem::LinkCountOf(const std::string& path) {
    auto file = Open(path, OpenMode::Read, ShareMode::ReadWrite);
    if (!file) return file.Status();
    const uint32_t links = file->LinkCount();
    if (links == 0) return TResult<uint32_t>::Failure(seGenFailure);
    return links;
}

TResult<std::string> FileSystem::ReadCompoundStream(const std::string&, const std::string&) {
    return TResult<std::string>::Failure(seNotSupported);
}

TStatus FileSystem::WriteAll(const std::string& path, const std::string& data) {
    auto file = Open(path, OpenMode::CreateAlways, ShareMode::Exclusive);
    if (!file) return file.Status();
    if (!data.empty())
        if (TStatus written = file->Write(data.data(), data.size()); !written) return written;
    return file->Flush();
}

}  // namespace nullvane::platform
