#include "platform/sim/SimFileSystem.h"

#if defined(__unix__)
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <fstream>
#include <map>
#include <mutex>
#include <set>

#include "platform/Text.h"
#include "platform/sim/SimCompoundFile.h"

namespace fs = std::filesystem;

namespace nullvane::platform::sim {

namespace {

constexpr uint32_t kStoredAttributes = faReadOnly | faHidden | faSystem;
// How NTFS stores a file: SetAttributes leaves these as they are, as the system does.
constexpr uint32_t kStorageAttributes = faCompressed | faEncrypted | faSparse;

fs::path ToHost(const std::string& utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string FromHost(const fs::path& path) {
    std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

bool SameName(const std::string& a, const std::string& b) {
    return SystemEqualsIgnoreCase(Utf8ToUtf16(a), Utf8ToUtf16(b));
}

std::string FoldName(const std::string& name) {
    std::u16string wide = Utf8ToUtf16(name);
    for (char16_t& c : wide) c = SystemUpperCase(c);
    return Utf16ToUtf8(wide);
}

// The tables are keyed by the host path folded as Windows folds names, so
// that every spelling of a path finds the same entry, also on a host that
// ignores case itself.
std::string KeyOf(const fs::path& host) { return FoldName(FromHost(host)); }

bool HasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

// The short (8.3) form of a long name, as far as a mask can tell it: the
// system also matches a mask against it, so "*.tmp" finds "a.tmpx"
// (short name "A~1.TMP"). Empty for a name that is already 8.3.
std::string ShortNameForMask(const std::string& name) {
    std::u16string wide = Utf8ToUtf16(name);
    auto dot = wide.rfind(u'.');
    std::u16string base = dot == std::u16string::npos ? wide : wide.substr(0, dot);
    std::u16string extension = dot == std::u16string::npos ? u"" : wide.substr(dot + 1);
    auto legal = [](char16_t c) {
        return c < 0x80 && c > u' ' && std::u16string_view(u"\"*+,./:;<=>?[]|").find(c) == std::u16string_view::npos;
    };
    bool shortAlready = !base.empty() && base.size() <= 8 && extension.size() <= 3 &&
                        std::all_of(base.begin(), base.end(), legal) &&
                        std::all_of(extension.begin(), extension.end(), legal);
    if (shortAlready) return {};
    auto sanitize = [&](const std::u16string& part, size_t length) {
        std::u16string result;
        for (char16_t c : part) {
            if (result.size() == length) break;
            if (c == u'.' || c == u' ') continue;
            result += legal(c) ? SystemUpperCase(c) : u'_';
        }
        return result;
    };
    std::u16string shortName = sanitize(base, 4) + u"~1";
    if (!extension.empty()) shortName += u"." + sanitize(extension, 3);
    return Utf16ToUtf8(shortName);
}

// A Windows path taken apart: drive letter, the names below it, and whether
// it ended in a separator.
struct WindowsPath {
    bool valid = false;
    char drive = 0;
    std::vector<std::string> names;
    bool trailingSeparator = false;
};

WindowsPath Split(const std::string& path, bool keepLastAsWritten = false) {
    WindowsPath result;
    if (path.size() < 2 || path[1] != ':') return result;
    char drive = path[0];
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    if (drive < 'A' || drive > 'Z') return result;
    if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return result;  // drive-relative
    result.valid = true;
    result.drive = drive;
    std::string rest = path.substr(2);
    result.trailingSeparator = !rest.empty() && (rest.back() == '\\' || rest.back() == '/');
    std::vector<std::string> raw;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find_first_of("\\/", start);
        if (end == std::string::npos) end = rest.size();
        if (end > start) raw.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    for (size_t i = 0; i < raw.size(); ++i) {
        std::string name = raw[i];
        if (name == ".") continue;
        if (name == "..") {
            if (!result.names.empty()) result.names.pop_back();
            continue;
        }
        // Windows drops trailing dots and blanks of a name; a mask keeps them.
        if (!(keepLastAsWritten && i + 1 == raw.size())) {
            while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
            if (name.empty()) continue;
        }
        result.names.push_back(name);
    }
    return result;
}

struct OpenRecord {
    uint64_t id;
    bool read, write, shareRead, shareWrite;
};

}  // namespace

struct SimFileSystem::State {
    fs::path root;
    fs::path realRoot;  // the root with its links followed, for FinalPath
    mutable std::mutex mutex;
    std::map<std::string, uint32_t> attributes;  // by host path
    std::map<std::string, std::vector<OpenRecord>> open;
    std::set<std::string> inUse;
    std::vector<std::string> scheduled;
    bool refuseSchedules = false;
    uint64_t nextId = 1;

    // Finds each name on the host: as written if it exists, else the first
    // entry whose name matches without regard to case, else as written.
    fs::path Resolve(char drive, const std::vector<std::string>& names, size_t count) const {
        fs::path current = root / std::string(1, drive);
        // The common case first: the whole path exists as written.
        if (count > 1) {
            fs::path whole = current;
            for (size_t i = 0; i < count; ++i) whole /= ToHost(names[i]);
            std::error_code ec;
            auto status = fs::symlink_status(whole, ec);
            if (!ec && status.type() != fs::file_type::not_found) return whole;
        }
        for (size_t i = 0; i < count; ++i) {
            fs::path candidate = current / ToHost(names[i]);
            std::error_code ec;
            auto status = fs::symlink_status(candidate, ec);
            if (!ec && status.type() != fs::file_type::not_found) {
                current = candidate;
                continue;
            }
            bool found = false;
            if (fs::is_directory(current, ec)) {
                fs::directory_iterator it(current, ec), end;
                for (; !ec && it != end; it.increment(ec)) {
                    if (SameName(FromHost(it->path().filename()), names[i])) {
                        current = it->path();
                        found = true;
                        break;
                    }
                }
            }
            if (!found) current = candidate;
        }
        return current;
    }

    uint32_t StoredAttributes(const fs::path& host) const {
        {
            std::lock_guard lock(mutex);
            if (attributes.empty()) return 0;
        }
        return StoredAttributes(KeyOf(host));
    }

    uint32_t StoredAttributes(const std::string& key) const {
        std::lock_guard lock(mutex);
        auto it = attributes.find(key);
        return it == attributes.end() ? 0 : it->second;
    }

    // Name, attributes and size of one host entry as a listing shows it; a
    // symbolic link to a folder is a folder and a reparse point, a link to a
    // file shows its target, a dangling link does not exist.
    std::optional<FileEntry> Describe(const fs::path& host, std::string name) const {
        std::error_code ec;
        auto linkStatus = fs::symlink_status(host, ec);
        if (ec || linkStatus.type() == fs::file_type::not_found) return std::nullopt;
        bool isLink = fs::is_symlink(linkStatus);
        auto status = isLink ? fs::status(host, ec) : linkStatus;
        if (ec || !fs::exists(status)) return std::nullopt;
        FileEntry entry;
        entry.name = std::move(name);
        if (fs::is_directory(status)) {
            entry.attributes = faDirectory | (isLink ? uint32_t{faReparsePoint} : 0u);
        } else {
            entry.attributes = faArchive;
            auto size = fs::file_size(host, ec);
            entry.size = ec ? 0 : static_cast<uint64_t>(size);
        }
        entry.attributes |= StoredAttributes(host);
        return entry;
    }

    // The same from a listing's entry, whose type the listing already knows:
    // one call to the host for a file's size, none for a folder.
    std::optional<FileEntry> Describe(const fs::directory_entry& hostEntry, std::string name) const {
        std::error_code ec;
        auto type = hostEntry.symlink_status(ec).type();
        if (ec || type == fs::file_type::symlink) return Describe(hostEntry.path(), std::move(name));
        FileEntry entry;
        entry.name = std::move(name);
        if (type == fs::file_type::directory) {
            entry.attributes = faDirectory;
        } else {
            entry.attributes = faArchive;
            auto size = hostEntry.file_size(ec);
            if (ec) return std::nullopt;
            entry.size = static_cast<uint64_t>(size);
        }
        entry.attributes |= StoredAttributes(hostEntry.path());
        return entry;
    }
};

namespace {

class SimFileHandle : public FileHandle {
public:
    SimFileHandle(std::shared_ptr<SimFileSystem::State> state, std::string key, uint64_t id, bool canRead,
                  bool canWrite)
        : state_(std::move(state)), key_(std::move(key)), id_(id), canRead_(canRead), canWrite_(canWrite) {}

    ~SimFileHandle() override {
        file_.close();
        if (!registered_) return;
        std::lock_guard lock(state_->mutex);
        auto it = state_->open.find(key_);
        if (it == state_->open.end()) return;
        std::erase_if(it->second, [this](const OpenRecord& record) { return record.id == id_; });
        if (it->second.empty()) state_->open.erase(it);
    }

    bool OpenHost(const fs::path& host, std::ios::openmode mode) {
        host_ = host;
        return file_.open(host, mode) != nullptr;
    }
    // Called with the state locked, once the handle counts in the share table.
    void MarkRegistered() { registered_ = true; }

    uint32_t LinkCount() override {
        std::error_code error;
        const auto count = fs::hard_link_count(host_, error);
        return error ? 0 : static_cast<uint32_t>(count);
    }

    size_t Read(void* buffer, size_t count) override {
        if (!canRead_ || count == 0 || !SeekHost()) return 0;
        auto got = file_.sgetn(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
        if (got <= 0) return 0;
        position_ += static_cast<uint64_t>(got);
        return static_cast<size_t>(got);
    }

    TStatus Write(const void* buffer, size_t count) override {
        if (!canWrite_) return TStatus::Failure(seAccessDenied);
        if (!SeekHost()) return TStatus::Failure(seInvalidParameter);
        if (count == 0) return TStatus::Success();
        auto put = file_.sputn(static_cast<const char*>(buffer), static_cast<std::streamsize>(count));
        if (put > 0) position_ += static_cast<uint64_t>(put);
        return put == static_cast<std::streamsize>(count) ? TStatus::Success() : TStatus::Failure(seDiskFull);
    }

    std::optional<uint64_t> Seek(int64_t offset, SeekOrigin origin) override {
        int64_t base = 0;
        if (origin == SeekOrigin::Current) base = static_cast<int64_t>(position_);
        if (origin == SeekOrigin::End) {
            auto size = Size();
            if (!size) return std::nullopt;
            base = static_cast<int64_t>(*size);
        }
        int64_t target = base + offset;
        if (target < 0) return std::nullopt;
        position_ = static_cast<uint64_t>(target);
        return position_;
    }

    std::optional<uint64_t> Size() override {
        file_.pubsync();
        auto end = file_.pubseekoff(0, std::ios::end);
        if (end == std::streampos(-1)) return std::nullopt;
        return static_cast<uint64_t>(static_cast<std::streamoff>(end));
    }

    // As FlushFileBuffers does, the data reaches the disk, not only the
    // host's cache: a wipe measured here writes what it writes on Windows.
    TStatus Flush() override {
        if (file_.pubsync() != 0) return TStatus::Failure(seDiskFull);
#if defined(__unix__)
        int fd = ::open(host_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return TStatus::Failure(seAccessDenied);
        bool synced = ::fsync(fd) == 0;
        ::close(fd);
        return synced ? TStatus::Success() : TStatus::Failure(seDiskFull);
#else
        return TStatus::Success();
#endif
    }

private:
    bool SeekHost() {
        return file_.pubseekpos(static_cast<std::streamoff>(position_)) != std::streampos(-1);
    }

    std::shared_ptr<SimFileSystem::State> state_;
    std::string key_;
    uint64_t id_;
    bool canRead_, canWrite_;
    bool registered_ = false;
    std::filebuf file_;
    fs::path host_;
    uint64_t position_ = 0;
};

}  // namespace

SimFileSystem::SimFileSystem(fs::path hostRoot) : state_(std::make_shared<State>()) {
    state_->root = std::move(hostRoot);
    std::error_code ec;
    state_->realRoot = fs::weakly_canonical(state_->root, ec);
    if (ec) state_->realRoot = state_->root;
}

SimFileSystem::~SimFileSystem() = default;

namespace {

// What Windows says of a name that leads to nothing: the file is missing
// from a folder that exists, or the folder on the way is missing.
TStatus Missing(const fs::path& host) {
    std::error_code ec;
    return TStatus::Failure(fs::is_directory(host.parent_path(), ec) ? seFileNotFound : sePathNotFound);
}

}  // namespace

const fs::path& SimFileSystem::HostRoot() const { return state_->root; }

fs::path SimFileSystem::HostPath(const std::string& windowsPath) const {
    WindowsPath path = Split(windowsPath);
    if (!path.valid) return {};
    return state_->Resolve(path.drive, path.names, path.names.size());
}

void SimFileSystem::SetInUse(const std::string& path, bool inUse) {
    std::string key = KeyOf(HostPath(path));
    std::lock_guard lock(state_->mutex);
    if (inUse) {
        state_->inUse.insert(key);
    } else {
        state_->inUse.erase(key);
    }
}

std::vector<std::string> SimFileSystem::ScheduledDeletes() const {
    std::lock_guard lock(state_->mutex);
    return state_->scheduled;
}

#if defined(__unix__)
bool SimFileSystem::ListAllPosix(const std::filesystem::path& folder, const ListVisitor& visit, size_t count) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return count > 0;
    int folderFd = dirfd(dir.get());
    while (dirent* hostEntry = readdir(dir.get())) {
        std::string name = hostEntry->d_name;
        if (name == "." || name == "..") continue;
        std::optional<FileEntry> entry;
        if (hostEntry->d_type == DT_DIR) {
            entry = FileEntry{name, faDirectory, 0};
        } else if (hostEntry->d_type == DT_REG) {
            struct stat info {};
            if (fstatat(folderFd, hostEntry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
            entry = FileEntry{name, faArchive, static_cast<uint64_t>(info.st_size)};
        } else {
            entry = state_->Describe(folder / hostEntry->d_name, name);
            if (!entry) continue;
        }
        bool stored;
        {
            std::lock_guard lock(state_->mutex);
            stored = !state_->attributes.empty();
        }
        if (stored && (hostEntry->d_type == DT_DIR || hostEntry->d_type == DT_REG))
            entry->attributes |= state_->StoredAttributes(folder / hostEntry->d_name);
        ++count;
        if (!visit(*entry)) return true;
    }
    return count > 0;
}
#endif

TStatus SimFileSystem::List(const std::string& pattern, const ListVisitor& visit) {
    WindowsPath path = Split(pattern, true);
    if (!path.valid || path.trailingSeparator || path.names.empty()) return TStatus::Failure(seInvalidName);
    const std::string mask = path.names.back();
    fs::path folder = state_->Resolve(path.drive, path.names, path.names.size() - 1);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return TStatus::Failure(sePathNotFound);
    const TStatus noMatch = TStatus::Failure(seFileNotFound);

    if (!HasWildcard(mask)) {
        // The entry under its own name, which may differ in case from the
        // pattern's.
        fs::path host = state_->Resolve(path.drive, path.names, path.names.size());
        std::string name = FromHost(host.filename());
        fs::directory_iterator it(folder, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            std::string candidate = FromHost(it->path().filename());
            if (candidate == name) break;
            if (SameName(candidate, name)) {
                name = candidate;
                break;
            }
        }
        auto entry = state_->Describe(host, name);
        if (!entry || name == "." || name == "..") return noMatch;
        visit(*entry);
        return TStatus::Success();
    }

    const std::string foldedMask = FoldName(mask);
    const bool everything = foldedMask == "*" || foldedMask == "*.*";
    // A folder other than a drive root always holds "." and "..": a mask
    // that matches them finds something, though they are never shown.
    size_t count = path.names.size() > 1 && (MatchesMask(".", foldedMask) || MatchesMask("..", foldedMask)) ? 1 : 0;
#if defined(__unix__)
    // Walks list whole folders: on a POSIX host read the folder directly
    // and ask each file's size relative to it, which is what makes a walk
    // over a large tree as cheap as the host allows.
    if (everything) return ListAllPosix(folder, visit, count) ? TStatus::Success() : noMatch;
#endif
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::string name = FromHost(it->path().filename());
        if (!everything && !MatchesMask(FoldName(name), foldedMask)) {
            std::string shortName = ShortNameForMask(name);
            if (shortName.empty() || !MatchesMask(shortName, foldedMask)) continue;
        }
        auto entry = state_->Describe(*it, name);
        if (!entry) continue;
        ++count;
        if (!visit(*entry)) return TStatus::Success();
    }
    return count > 0 ? TStatus::Success() : noMatch;
}

TResult<uint32_t> SimFileSystem::GetAttributes(const std::string& path) {
    WindowsPath parts = Split(path);
    if (!parts.valid) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    auto entry = state_->Describe(host, {});
    if (!entry) return Missing(host);
    // "C:\Dir\file.txt\" names no file.
    if (parts.trailingSeparator && !entry->IsDirectory() && !parts.names.empty())
        return TStatus::Failure(seInvalidName);
    return entry->attributes;
}

TStatus SimFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    if (auto existing = GetAttributes(path); !existing) return existing.Status();
    std::string key = KeyOf(HostPath(path));
    std::lock_guard lock(state_->mutex);
    uint32_t stored = attributes & kStoredAttributes;
    if (auto it = state_->attributes.find(key); it != state_->attributes.end())
        stored |= it->second & kStorageAttributes;
    if (stored == 0) {
        state_->attributes.erase(key);
    } else {
        state_->attributes[key] = stored;
    }
    return TStatus::Success();
}

TStatus SimFileSystem::SetStorageAttributes(const std::string& path, uint32_t attributes) {
    if (auto existing = GetAttributes(path); !existing) return existing.Status();
    std::string key = KeyOf(HostPath(path));
    std::lock_guard lock(state_->mutex);
    uint32_t& stored = state_->attributes[key];
    stored = (stored & ~kStorageAttributes) | (attributes & kStorageAttributes);
    if (stored == 0) state_->attributes.erase(key);
    return TStatus::Success();
}

TResult<FilePtr> SimFileSystem::Open(const std::string& path, OpenMode mode, ShareMode share) {
    WindowsPath parts = Split(path);
    if (!parts.valid || parts.trailingSeparator || parts.names.empty()) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    std::string key = KeyOf(host);

    std::lock_guard lock(state_->mutex);
    if (state_->inUse.count(key)) return TStatus::Failure(seSharingViolation);
    std::error_code ec;
    auto status = fs::status(host, ec);
    bool exists = !ec && fs::exists(status);
    if (exists && fs::is_directory(status)) return TStatus::Failure(seAccessDenied);
    if (!exists && (mode == OpenMode::Read || mode == OpenMode::ReadWrite)) return Missing(host);
    if (!exists && !fs::is_directory(host.parent_path(), ec)) return TStatus::Failure(sePathNotFound);

    const bool canWrite = mode != OpenMode::Read;
    auto stored = state_->attributes.find(key);
    if (exists && canWrite && stored != state_->attributes.end() && (stored->second & faReadOnly))
        return TStatus::Failure(seAccessDenied);

    // Each side must allow what the other does; every handle reads.
    const bool shares = share == ShareMode::ReadWrite;
    if (auto others = state_->open.find(key); others != state_->open.end()) {
        for (const OpenRecord& other : others->second) {
            if (!shares || !other.shareRead || (canWrite && !other.shareWrite))
                return TStatus::Failure(seSharingViolation);
        }
    }

    std::ios::openmode hostMode = std::ios::binary | std::ios::in;
    if (canWrite) hostMode |= std::ios::out;
    if (mode == OpenMode::CreateAlways || !exists) hostMode |= std::ios::trunc;

    uint64_t id = state_->nextId++;
    auto handle = std::make_unique<SimFileHandle>(state_, key, id, true, canWrite);
    if (!handle->OpenHost(host, hostMode)) return TStatus::Failure(seAccessDenied);
    if (!exists) state_->attributes.erase(key);  // a new file starts with no attributes
    state_->open[key].push_back(OpenRecord{id, true, canWrite, shares, shares});
    handle->MarkRegistered();
    return FilePtr(std::move(handle));
}

TStatus SimFileSystem::RemoveFile(const std::string& path) {
    WindowsPath parts = Split(path);
    if (!parts.valid || parts.trailingSeparator || parts.names.empty()) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    auto entry = state_->Describe(host, {});
    if (!entry) return Missing(host);
    if (entry->IsDirectory() || entry->IsReadOnly()) return TStatus::Failure(seAccessDenied);
    std::string key = KeyOf(host);
    std::lock_guard lock(state_->mutex);
    // No handle is ever opened with delete sharing.
    if (state_->inUse.count(key) || state_->open.count(key)) return TStatus::Failure(seSharingViolation);
    std::error_code ec;
    if (!fs::remove(host, ec)) return TStatus::Failure(seAccessDenied);
    state_->attributes.erase(key);
    return TStatus::Success();
}

TStatus SimFileSystem::MakeFolder(const std::string& path) {
    WindowsPath parts = Split(path);
    if (!parts.valid || parts.names.empty()) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    std::error_code ec;
    if (fs::symlink_status(host, ec).type() != fs::file_type::not_found) return TStatus::Failure(seAlreadyExists);
    if (!fs::is_directory(host.parent_path(), ec)) return TStatus::Failure(sePathNotFound);
    if (!fs::create_directory(host, ec)) return TStatus::Failure(seAccessDenied);
    std::lock_guard lock(state_->mutex);
    state_->attributes.erase(KeyOf(host));
    return TStatus::Success();
}

TStatus SimFileSystem::RemoveFolder(const std::string& path) {
    WindowsPath parts = Split(path);
    if (!parts.valid || parts.names.empty()) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    std::error_code ec;
    auto linkStatus = fs::symlink_status(host, ec);
    if (ec || linkStatus.type() == fs::file_type::not_found) return Missing(host);
    if (fs::is_symlink(linkStatus)) {
        // A link to a folder goes by itself; what it points to stays.
        if (!fs::is_directory(host, ec)) return TStatus::Failure(seDirectory);
    } else if (!fs::is_directory(linkStatus)) {
        return TStatus::Failure(seDirectory);
    } else if (!fs::is_empty(host, ec) || ec) {
        return TStatus::Failure(seDirNotEmpty);
    }
    if (!fs::remove(host, ec)) return TStatus::Failure(seAccessDenied);
    std::lock_guard lock(state_->mutex);
    state_->attributes.erase(KeyOf(host));
    return TStatus::Success();
}

TStatus SimFileSystem::ScheduleDeleteAtReboot(const std::string& path) {
    if (!Split(path).valid) return TStatus::Failure(seInvalidName);
    std::lock_guard lock(state_->mutex);
    if (state_->refuseSchedules) return TStatus::Failure(seAccessDenied);
    state_->scheduled.push_back(path);
    return TStatus::Success();
}

TResult<uint32_t> SimFileSystem::LinkCountOf(const std::string& path) {
    WindowsPath parts = Split(path);
    if (!parts.valid || parts.trailingSeparator || parts.names.empty()) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    auto entry = state_->Describe(host, {});
    if (!entry) return Missing(host);
    // A held file answers as well: the hold concerns its contents.
    std::error_code ec;
    const auto links = fs::hard_link_count(host, ec);
    if (ec) return TResult<uint32_t>::Failure(seGenFailure);
    return static_cast<uint32_t>(links);
}

TResult<std::string> SimFileSystem::ReadCompoundStream(const std::string& path, const std::string& stream) {
    // Read as the storage functions read: a held file cannot be opened.
    if (auto file = Open(path, OpenMode::Read, ShareMode::ReadWrite); !file) return file.Status();
    auto bytes = ReadAll(path);
    if (!bytes) return bytes.Status();
    return ReadCompoundFileStream(*bytes, stream);
}

void SimFileSystem::RefuseRebootSchedules(bool refuse) {
    std::lock_guard lock(state_->mutex);
    state_->refuseSchedules = refuse;
}

}  // namespace nullvane::platform::sim

namespace nullvane::platform::sim {

TStatus SimFileSystem::RemoveLink(const std::string& path) {
    WindowsPath parts = Split(path);
    if (!parts.valid || parts.names.empty()) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    std::error_code ec;
    auto status = fs::symlink_status(host, ec);
    if (ec || status.type() == fs::file_type::not_found) return Missing(host);
    if (!fs::is_symlink(status)) return TStatus::Failure(seNotAReparsePoint);
    // Removing a symbolic link never touches its target.
    if (!fs::remove(host, ec)) return TStatus::Failure(seAccessDenied);
    std::lock_guard lock(state_->mutex);
    state_->attributes.erase(KeyOf(host));
    return TStatus::Success();
}

}  // namespace nullvane::platform::sim

namespace nullvane::platform::sim {

TStatus SimFileSystem::ShellDelete(const std::string& path) {
    if (path.find_first_of("*?") != std::string::npos) return TStatus::Failure(seInvalidName);
    WindowsPath parts = Split(path);
    if (!parts.valid || parts.trailingSeparator || parts.names.empty()) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    std::error_code ec;
    auto status = fs::symlink_status(host, ec);
    if (ec || status.type() == fs::file_type::not_found) return Missing(host);
    if (fs::is_directory(status)) return TStatus::Failure(seAccessDenied);
    if (fs::is_symlink(status) && fs::is_directory(host, ec)) return TStatus::Failure(seAccessDenied);
    std::lock_guard lock(state_->mutex);
    std::string key;
    if (!state_->inUse.empty() || !state_->open.empty() || !state_->attributes.empty()) key = KeyOf(host);
    // No handle is ever opened with delete sharing.
    if (!key.empty() && (state_->inUse.count(key) || state_->open.count(key)))
        return TStatus::Failure(seSharingViolation);
    if (!fs::remove(host, ec)) return TStatus::Failure(seAccessDenied);
    if (!key.empty()) state_->attributes.erase(key);
    return TStatus::Success();
}

}  // namespace nullvane::platform::sim

namespace nullvane::platform::sim {

namespace {

// The Windows spelling of a host path after its links are followed.
std::string WindowsPathOfHost(const fs::path& realRoot, const fs::path& host) {
    std::error_code ec;
    fs::path real = fs::canonical(host, ec);
    if (ec) return {};
    fs::path relative = real.lexically_relative(realRoot);
    std::u8string generic = relative.generic_u8string();
    std::string text(reinterpret_cast<const char*>(generic.data()), generic.size());
    if (relative.empty() || text.rfind("..", 0) == 0 || text.size() < 1 || text[0] < 'A' || text[0] > 'Z' ||
        (text.size() > 1 && text[1] != '/'))
        return "\\\\?\\host" + FromHost(real);
    std::string result = std::string(1, text[0]) + ":\\" + (text.size() > 2 ? text.substr(2) : std::string());
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

class SimRemovalFile : public RemovalFile {
public:
    SimRemovalFile(SimFileSystem& files, std::string path, std::string finalPath, uint32_t links, uint32_t attributes,
                   FilePtr content)
        : files_(files), path_(std::move(path)), finalPath_(std::move(finalPath)), links_(links),
          attributes_(attributes), content_(std::move(content)) {}

    std::string ResolvedName() override { return finalPath_; }
    uint32_t LinkCount() override { return links_; }
    uint32_t Attributes() override { return attributes_; }
    FileHandle* Content() override { return content_.get(); }
    TStatus Delete() override {
        content_.reset();
        return files_.ShellDelete(path_);
    }

private:
    SimFileSystem& files_;
    std::string path_, finalPath_;
    uint32_t links_, attributes_;
    FilePtr content_;
};

}  // namespace

std::string SimFileSystem::ShortPath(const std::string& path) { return Exists(path) ? path : std::string(); }

std::string SimFileSystem::NativePath(const std::string& path) {
    fs::path host = HostPath(path);
    return host.empty() ? std::string() : FromHost(host);
}

std::string SimFileSystem::FinalPath(const std::string& path) {
    WindowsPath parts = Split(path);
    if (!parts.valid) return {};
    return WindowsPathOfHost(state_->realRoot, state_->Resolve(parts.drive, parts.names, parts.names.size()));
}

TResult<RemovalFilePtr> SimFileSystem::OpenForRemoval(const std::string& path, bool withContent) {
    WindowsPath parts = Split(path);
    if (!parts.valid || parts.trailingSeparator || parts.names.empty()) return TStatus::Failure(seInvalidName);
    fs::path host = state_->Resolve(parts.drive, parts.names, parts.names.size());
    auto entry = state_->Describe(host, {});
    if (!entry) return Missing(host);
    if (entry->IsDirectory()) return TStatus::Failure(seAccessDenied);
    {
        std::lock_guard lock(state_->mutex);
        if (state_->inUse.count(KeyOf(host))) return TStatus::Failure(seSharingViolation);
    }
    std::error_code ec;
    auto links = static_cast<uint32_t>(fs::hard_link_count(host, ec));
    FilePtr content;
    if (withContent)
        if (auto opened = Open(path, OpenMode::ReadWrite, ShareMode::Exclusive)) content = std::move(opened).Value();
    return RemovalFilePtr(std::make_unique<SimRemovalFile>(*this, path, WindowsPathOfHost(state_->realRoot, host), ec ? 1 : links,
                                            entry->attributes, std::move(content)));
}

}  // namespace nullvane::platform::sim
