#include "removal/FileRemoval.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/Text.h"
#include "removal/Lookups.h"
#include "removal/RemovalErrors.h"
#include "run/Texts.h"
#include "settings/OptionsSetting.h"

namespace nullvane::removal {

using platform::FileEntry;
using platform::WithTrailingBackslash;
using settings::CurrentOptions;

namespace {

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

// A walk never enters a linked folder (junction, symbolic link, mount
// point): what lies behind it is outside the folder the cleaner named. A
// Clean run removes the link itself and nothing behind it.
void HandleLinkedFolder(run::TRunContext& run, const std::string& path) {
    if (!run.IsTestRun()) (void)run.Machine.files.RemoveLink(path);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

const char* QuestionText(TFolderQuestion question) {
    return question == TFolderQuestion::fqDeleteFilesOn ? run::texts::kAskDeleteFilesOn
                                                         : run::texts::kAskDeleteAllUnder;
}

// The shared walk of CleanFolder and CleanSubfolder over a folder with its
// trailing "\": files in listing order, each subfolder completely before the
// walk goes on.
uint64_t WalkFolder(run::TRunContext& run, const std::string& folder, bool logIt, const std::string& excludedName,
                    int32_t& count) {
    uint64_t bytes = 0;
    (void)run.Machine.files.List(folder + "*", [&](const FileEntry& entry) {
        if (run.Terminated()) return false;
        std::string path = folder + entry.name;
        if (entry.IsDirectory()) {
            if (IsDotEntry(entry.name)) return true;
            if (entry.IsReparsePoint()) {
                HandleLinkedFolder(run, path);
                return true;
            }
            bytes += CleanSubfolder(run, path, logIt, excludedName, count);
            return true;
        }
        if (!excludedName.empty() && platform::EqualsIgnoreCase(entry.name, excludedName)) return true;
        if (EraseFile(run, path, logIt)) {
            ++count;
            bytes += entry.size;
            run.PostProgressIfDue(count + run.TotalItems);
        }
        return true;
    });
    return bytes;
}

bool FolderMissing(run::TRunContext& run, const std::string& folder) {
    return folder.empty() || folder == "\\" || !run.Machine.files.DirectoryExists(folder);
}

}  // namespace

void ScrollLogIfDue(run::TRunContext& run, int step) {
    if (step == 0) {
        run.LogBox.ScrollToEnd();
        return;
    }
    if (!run.IsTestRun()) step /= 2;
    if (step <= 0) step = 1;
    ++run.LogLineCounter;
    if (run.LogLineCounter % step == 0) {
        run.LogBox.ScrollToEnd();
        run.LogLineCounter = 0;
    }
}

bool IsFileLocked(run::TRunContext& run, const std::string& path) {
    if (!run.Machine.files.Exists(path)) return false;
    return run.Machine.files.Open(path, platform::OpenMode::ReadWrite, platform::ShareMode::Exclusive) == nullptr;
}

void WipeFile(run::TRunContext& run, const std::string& path, int passes) {
    auto attributes = run.Machine.files.GetAttributes(path);
    if (!attributes) return;
    // Writing through a link would overwrite a file outside the folder
    // being cleaned; only the link itself is removed.
    if (*attributes & (platform::faReparsePoint | platform::faDirectory)) return;
    run.Machine.system.Randomize();
    // Larger blocks than the classic 4096 bytes: the same bytes land on disk.
    constexpr size_t kBlock = 1 << 20;
    std::vector<unsigned char> buffer;
    for (int pass = 0; pass < passes; ++pass) {
        auto fill = static_cast<unsigned char>(run.Machine.system.Random(255));
        platform::FilePtr file =
            run.Machine.files.Open(path, platform::OpenMode::ReadWrite, platform::ShareMode::Exclusive);
        if (!file) return;
        auto length = file->Size();
        if (!length) return;
        if (buffer.size() != std::min<uint64_t>(kBlock, *length)) buffer.resize(std::min<uint64_t>(kBlock, *length));
        std::fill(buffer.begin(), buffer.end(), fill);
        if (!file->Seek(0, platform::SeekOrigin::Begin)) return;
        uint64_t remaining = *length;
        while (remaining > 0) {
            size_t chunk = static_cast<size_t>(std::min<uint64_t>(remaining, buffer.size()));
            if (!file->Write(buffer.data(), chunk)) break;
            remaining -= chunk;
        }
        file->Flush();
    }
}

bool EraseFile(run::TRunContext& run, const std::string& path, bool logIt) {
    if (logIt && !CurrentOptions.FastScan) {
        run.AddLogLine(run.LogPrefix + run::texts::kDeleting + " " + path);
        ScrollLogIfDue(run, 50);
    }
    if (run.IsTestRun()) return true;
    if (CurrentOptions.OverwriteFile && !IsFileLocked(run, path)) WipeFile(run, path, CurrentOptions.OverwriteNumber);
    return run.Machine.files.ShellDelete(path);
}

bool ConfirmFolderRemoval(run::TRunContext& run, const std::string& folder, TFolderQuestion rootQuestion,
                          TFolderQuestion documentsQuestion) {
    if (run.IsTestRun()) return true;
    auto ask = [&](TFolderQuestion question) {
        int answer = run.Machine.dialogs.MessageBox(
            std::string(QuestionText(question)) + folder + "?", run::texts::kCaption,
            platform::mbYesNo | platform::mbIconInformation | platform::mbDefButton2);
        // Anything but an explicit Yes (No, or a box that could not be shown) leaves the folder alone.
        return answer == platform::idYes;
    };
    if (rootQuestion != TFolderQuestion::fqNone && folder.size() < 4 && !ask(rootQuestion)) return false;
    std::string documents = GetMyDocumentsFolder(run.Machine);
    if (!documents.empty()) {
        if (platform::EqualsIgnoreCase(folder, documents) && !ask(documentsQuestion)) return false;
        if (platform::EqualsIgnoreCase(folder, documents + "My Pictures\\") && !ask(documentsQuestion)) return false;
    }
    return true;
}

uint64_t CleanFolder(run::TRunContext& run, const std::string& folder, bool removeFolder, bool logIt,
                     const std::string& excludedName, int32_t& count) {
    if (run.Terminated() || FolderMissing(run, folder)) return 0;
    std::string path = WithTrailingBackslash(folder);
    if (!run.IsTestRun() &&
        !ConfirmFolderRemoval(run, path, TFolderQuestion::fqDeleteAllUnder, TFolderQuestion::fqDeleteAllUnder))
        return 0;
    uint64_t bytes = WalkFolder(run, path, logIt, excludedName, count);
    if (!run.IsTestRun() && removeFolder) run.Machine.files.RemoveDirectory(WithoutTrailingBackslash(path));
    return bytes;
}

uint64_t CleanSubfolder(run::TRunContext& run, const std::string& folder, bool logIt,
                        const std::string& excludedName, int32_t& count) {
    return CleanFolder(run, folder, true, logIt, excludedName, count);
}

uint64_t CleanFilesByMask(run::TRunContext& run, const std::string& folder, const std::string& mask, bool recurse,
                          int32_t& count) {
    if (run.Terminated() || FolderMissing(run, folder)) return 0;
    std::string path = WithTrailingBackslash(folder);
    if (!run.IsTestRun()) {
        bool wide = mask.empty() || mask.find('*') != std::string::npos;
        if (!ConfirmFolderRemoval(run, path, wide ? TFolderQuestion::fqDeleteAllUnder : TFolderQuestion::fqNone,
                                  TFolderQuestion::fqDeleteFilesOn))
            return 0;
    }
    std::string prefix = "*";
    std::string suffix;
    if (auto star = mask.find('*'); star != std::string::npos) {
        prefix = platform::UpperAscii(mask.substr(0, star));
        suffix = platform::UpperAscii(mask.substr(star + 1));
    }
    uint64_t bytes = 0;
    (void)run.Machine.files.List(path + "*", [&](const FileEntry& entry) {
        if (run.Terminated()) return false;
        if (entry.IsDirectory()) {
            if (recurse && !IsDotEntry(entry.name) && !entry.IsReparsePoint())
                bytes += CleanFilesByMask(run, path + entry.name, mask, recurse, count);
            return true;
        }
        std::string upperName = platform::UpperAscii(entry.name);
        bool matches = mask == "*.*" || mask == entry.name ||
                       ((prefix.empty() || StartsWith(upperName, prefix)) &&
                        (suffix.empty() || EndsWith(upperName, suffix)));
        if (matches && EraseFile(run, path + entry.name, true)) {
            ++count;
            bytes += entry.size;
            run.PostProgressIfDue(count);
        }
        return true;
    });
    return bytes;
}

uint64_t CleanFolderExcept(run::TRunContext& run, const std::string& folder, bool removeFolder,
                           const std::string& excludedText, int32_t& count) {
    if (FolderMissing(run, folder)) return 0;
    std::string path = WithTrailingBackslash(folder);
    if (!run.IsTestRun() &&
        !ConfirmFolderRemoval(run, path, TFolderQuestion::fqDeleteAllUnder, TFolderQuestion::fqDeleteAllUnder))
        return 0;
    std::string upperExcluded = platform::UpperAscii(excludedText);
    uint64_t bytes = 0;
    (void)run.Machine.files.List(path + "*", [&](const FileEntry& entry) {
        std::string entryPath = path + entry.name;
        if (entry.IsDirectory()) {
            if (IsDotEntry(entry.name)) return true;
            if (entry.IsReparsePoint())
                HandleLinkedFolder(run, entryPath);
            else
                bytes += CleanFolderExcept(run, entryPath, true, excludedText, count);
            return true;
        }
        if (!upperExcluded.empty() && platform::UpperAscii(entry.name).find(upperExcluded) != std::string::npos)
            return true;
        if (EraseFile(run, entryPath, true)) {
            ++count;
            bytes += entry.size;
            run.PostProgressIfDue(count);
        }
        return true;
    });
    if (!run.IsTestRun() && removeFolder) run.Machine.files.RemoveDirectory(WithoutTrailingBackslash(path));
    return bytes;
}

bool DeleteAtReboot(run::TRunContext& run, const std::string& path) {
    if (!run.Machine.files.Exists(path)) return true;
    return run.Machine.files.ScheduleDeleteAtReboot(path);
}

void AddWininitRenames(run::TRunContext& run, const std::vector<std::string>& lines) {
    std::string file = run.Machine.system.WindowsFolder();
    file = WithTrailingBackslash(file) + "Wininit.ini";
    std::vector<std::string> text;
    if (run.Machine.files.Exists(file)) {
        auto content = run.Machine.files.ReadAll(file);
        if (!content) throw EWininitError("Cannot read " + file);
        size_t start = 0;
        while (start < content->size()) {
            size_t end = content->find('\n', start);
            if (end == std::string::npos) end = content->size();
            std::string line = content->substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            text.push_back(line);
            start = end + 1;
        }
    }
    auto header = std::find_if(text.begin(), text.end(),
                               [](const std::string& line) { return platform::UpperAscii(line) == "[RENAME]"; });
    if (header != text.end()) {
        size_t at = static_cast<size_t>(header - text.begin()) + 1;
        for (const std::string& line : lines) text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), line);
    } else {
        text.push_back("[rename]");
        text.insert(text.end(), lines.begin(), lines.end());
    }
    std::string content;
    for (const std::string& line : text) content += line + "\r\n";
    if (!run.Machine.files.WriteAll(file, content)) throw EWininitError("Cannot write " + file);
}

}  // namespace nullvane::removal
