// What the file system service promises, checked against every backend: the
// sim must behave as Windows (here Wine) does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "platform/FileBackends.h"
#include "support/JumpListFiles.h"

namespace nullvane::testing {
namespace {

using platform::FileEntry;
using platform::FilePtr;
using platform::OpenMode;
using platform::SeekOrigin;
using platform::ShareMode;
using namespace platform;  // the attribute bits

template <class Backend>
class FileSystemContractTest : public ::testing::Test {
protected:
    Backend backend;
    platform::FileSystem& Files() { return backend.files; }
    std::string Path(const std::string& name) const { return backend.root + "\\" + name; }

    void MakeFile(const std::string& name, const std::string& content = "data") {
        ASSERT_TRUE(Files().WriteAll(Path(name), content)) << name;
    }

    std::vector<FileEntry> ListAll(const std::string& pattern, bool* listed = nullptr) {
        std::vector<FileEntry> entries;
        bool result = static_cast<bool>(Files().List(pattern, [&](const FileEntry& entry) {
            entries.push_back(entry);
            return true;
        }));
        if (listed) *listed = result;
        return entries;
    }

    std::map<std::string, FileEntry> ByName(const std::vector<FileEntry>& entries) {
        std::map<std::string, FileEntry> result;
        for (const auto& entry : entries) result[entry.name] = entry;
        return result;
    }

    std::set<std::string> Names(const std::vector<FileEntry>& entries) {
        std::set<std::string> result;
        for (const auto& entry : entries) result.insert(entry.name);
        return result;
    }
};

TYPED_TEST_SUITE(FileSystemContractTest, FilesBackends, FilesBackendName);

TYPED_TEST(FileSystemContractTest, FolderListingGivesEntriesWithFlagsAndSizesNeverTheDots) {
    this->MakeFile("a.tmp", "hello");
    ASSERT_TRUE(this->Files().MakeFolder(this->Path("sub")));

    auto entries = this->ListAll(this->backend.root + "\\*");
    ASSERT_EQ(entries.size(), 2u);
    auto byName = this->ByName(entries);
    EXPECT_FALSE(byName["a.tmp"].IsDirectory());
    EXPECT_FALSE(byName["a.tmp"].IsReparsePoint());
    EXPECT_EQ(byName["a.tmp"].size, 5u);
    EXPECT_TRUE(byName["sub"].IsDirectory());
    EXPECT_FALSE(byName["sub"].IsReparsePoint());

    // An empty folder lists nothing and succeeds; "*.*" matches names without an extension.
    bool listed = false;
    EXPECT_TRUE(this->ListAll(this->Path("sub\\*.*"), &listed).empty());
    EXPECT_TRUE(listed);
    this->MakeFile("sub\\noext");
    EXPECT_EQ(this->Names(this->ListAll(this->Path("sub\\*.*"))), (std::set<std::string>{"noext"}));
    auto names = this->Names(this->ListAll("C:\\*"));
    EXPECT_FALSE(names.empty());
    EXPECT_EQ(names.count("."), 0u);
    EXPECT_EQ(names.count(".."), 0u);
}

TYPED_TEST(FileSystemContractTest, FailuresCarryTheSystemsCodeAndWords) {
    this->MakeFile("held.txt", "x");
    platform::FileSystem& files = this->Files();
    EXPECT_EQ(files.List(this->Path("missing\\*"), [](const FileEntry&) { return true; }).Error(),
              uint32_t{platform::sePathNotFound});
    EXPECT_EQ(files.List(this->Path("*.none"), [](const FileEntry&) { return true; }).Error(),
              uint32_t{platform::seFileNotFound});
    EXPECT_EQ(files.GetAttributes(this->Path("missing.txt")).Error(), uint32_t{platform::seFileNotFound});
    EXPECT_EQ(files.RemoveFolder(this->Path("held.txt")).Error(), uint32_t{platform::seDirectory});
    ASSERT_TRUE(files.MakeFolder(this->Path("full")));
    this->MakeFile("full\\a.txt");
    EXPECT_EQ(files.RemoveFolder(this->Path("full")).Error(), uint32_t{platform::seDirNotEmpty});
    EXPECT_EQ(files.MakeFolder(this->Path("full")).Error(), uint32_t{platform::seAlreadyExists});
    {
        auto held = files.Open(this->Path("held.txt"), OpenMode::ReadWrite, ShareMode::Exclusive);
        ASSERT_TRUE(held);
        TStatus removed = files.RemoveFile(this->Path("held.txt"));
        EXPECT_EQ(removed.Error(), uint32_t{platform::seSharingViolation});
        // The system's own words: Windows' English in the sim, Wine's or Windows' on win32.
        const std::string words = this->backend.system.ErrorText(removed.Error());
        EXPECT_FALSE(words.empty());
        EXPECT_EQ(words.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(words.find("Error "), std::string::npos) << words;
        if (std::string(TypeParam::kName) == "Sim")
            EXPECT_EQ(words, "The process cannot access the file because it is being used by another process.");
    }
    EXPECT_TRUE(files.RemoveFile(this->Path("held.txt")));
    EXPECT_EQ(files.RemoveFile(this->Path("held.txt")).Error(), uint32_t{platform::seFileNotFound});
}

TYPED_TEST(FileSystemContractTest, NativePathNamesTheFileAnotherLibraryOpens) {
    const std::string name = "Jos\xc3\xa9 \xc3\x9c" "bung.db";
    this->MakeFile(name, "native bytes");
    const std::string native = this->Files().NativePath(this->Path(name));
#if defined(_WIN32)
    std::FILE* file = _wfopen(platform::win32::Widen(native).c_str(), L"rb");
#else
    std::FILE* file = std::fopen(native.c_str(), "rb");
#endif
    ASSERT_TRUE(file) << native;
    char buffer[32] = {};
    size_t got = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    EXPECT_EQ(std::string(buffer, got), "native bytes");
}

TYPED_TEST(FileSystemContractTest, MaskListingMatchesNamesWithoutRegardToCase) {
    for (const char* name : {"one.tmp", "TWO.TMP", "three.tmpx", "four.txt", "five.tm"}) this->MakeFile(name);
    ASSERT_TRUE(this->Files().MakeFolder(this->Path("dir.tmp")));

    // The mask also meets the short name: "three.tmpx" is "THRE~1.TMP".
    EXPECT_EQ(this->Names(this->ListAll(this->Path("*.tmp"))),
              (std::set<std::string>{"one.tmp", "TWO.TMP", "dir.tmp", "three.tmpx"}));
    EXPECT_EQ(this->Names(this->ListAll(this->Path("f*.t?"))), (std::set<std::string>{"five.tm"}));

    bool listed = true;
    EXPECT_TRUE(this->ListAll(this->Path("*.none"), &listed).empty());
    EXPECT_FALSE(listed) << "no match";
    EXPECT_TRUE(this->ListAll(this->Path("missing\\*"), &listed).empty());
    EXPECT_FALSE(listed) << "missing folder";
    EXPECT_TRUE(this->ListAll(this->backend.root + "\\", &listed).empty());
    EXPECT_FALSE(listed) << "pattern ending in a separator";
}

TYPED_TEST(FileSystemContractTest, PatternWithoutWildcardListsThatOneEntry) {
    this->MakeFile("One.tmp", "12345678");
    auto entries = this->ListAll(this->Path("ONE.TMP"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "One.tmp");
    EXPECT_EQ(entries[0].size, 8u);

    entries = this->ListAll(this->backend.root);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].IsDirectory());
    EXPECT_EQ(entries[0].name, this->backend.root.substr(this->backend.root.find_last_of('\\') + 1));
}

TYPED_TEST(FileSystemContractTest, VisitorStopsTheListing) {
    for (const char* name : {"a", "b", "c"}) this->MakeFile(name);
    int calls = 0;
    EXPECT_TRUE(this->Files().List(this->Path("*"), [&](const FileEntry&) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

TYPED_TEST(FileSystemContractTest, HostLinkToFolderIsAFolderAndReparsePoint) {
    ASSERT_TRUE(this->Files().MakeFolder(this->Path("real")));
    this->MakeFile("real\\inside.txt");
    this->MakeFile("target.txt", "123");
    if (!this->backend.MakeHostLink(this->Path("folderlink"), this->Path("real"))) {
        GTEST_SKIP() << "this backend cannot make host links";
    }
    ASSERT_TRUE(this->backend.MakeHostLink(this->Path("filelink"), this->Path("target.txt")));
    ASSERT_TRUE(this->backend.MakeHostLink(this->Path("dangling"), this->Path("nowhere")));

    auto byName = this->ByName(this->ListAll(this->Path("*")));
    ASSERT_EQ(byName.count("folderlink"), 1u);
    EXPECT_EQ(byName["folderlink"].attributes & (faDirectory | faReparsePoint), uint32_t{faDirectory | faReparsePoint});
    EXPECT_EQ(this->Files().GetAttributes(this->Path("folderlink")).ValueOr(0) & faReparsePoint, uint32_t{faReparsePoint});
    EXPECT_FALSE(byName["real"].IsReparsePoint());
    // A link to a file shows as its target; a dangling link is not there.
    ASSERT_EQ(byName.count("filelink"), 1u);
    EXPECT_FALSE(byName["filelink"].IsDirectory());
    EXPECT_FALSE(byName["filelink"].IsReparsePoint());
    EXPECT_EQ(byName["filelink"].size, 3u);
    EXPECT_EQ(byName.count("dangling"), 0u);
    EXPECT_FALSE(this->Files().Exists(this->Path("dangling")));
    // Through the link, the folder's content.
    EXPECT_EQ(this->Names(this->ListAll(this->Path("folderlink\\*.txt"))), (std::set<std::string>{"inside.txt"}));
}

TYPED_TEST(FileSystemContractTest, SizesBeyondFourGiBAreReportedWhole) {
    const uint64_t offset = uint64_t{5} << 30;
    {
        auto file = this->Files().Open(this->Path("big.bin"), OpenMode::CreateAlways, ShareMode::Exclusive);
        ASSERT_TRUE(file);
        ASSERT_EQ(file->Seek(static_cast<int64_t>(offset), SeekOrigin::Begin), offset);
        ASSERT_TRUE(file->Write("x", 1));
        EXPECT_EQ(file->Size(), offset + 1);
    }
    auto entries = this->ListAll(this->Path("big.bin"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, offset + 1);
    EXPECT_TRUE(this->Files().RemoveFile(this->Path("big.bin")));
}

TYPED_TEST(FileSystemContractTest, AttributesTellFilesFromFoldersAndFollowWindowsPathRules) {
    this->MakeFile("a.txt");
    ASSERT_TRUE(this->Files().MakeFolder(this->Path("sub")));
    auto& files = this->Files();

    EXPECT_TRUE(files.Exists(this->Path("a.txt")));
    EXPECT_FALSE(files.DirectoryExists(this->Path("a.txt")));
    EXPECT_TRUE(files.DirectoryExists(this->Path("sub")));
    EXPECT_TRUE(files.DirectoryExists(this->Path("sub\\")));
    EXPECT_TRUE(files.Exists(this->Path("A.TXT")));
    EXPECT_TRUE(files.Exists(this->Path("SUB\\..\\a.txt")));
    EXPECT_FALSE(files.Exists(this->Path("a.txt\\")));
    EXPECT_FALSE(files.Exists(this->Path("b.txt")));
    EXPECT_FALSE(files.Exists(this->Path("nofolder\\a.txt")));
    EXPECT_TRUE(files.DirectoryExists("C:\\"));
}

TYPED_TEST(FileSystemContractTest, HandlesReadWriteSeekAndFlush) {
    auto& files = this->Files();
    const std::string path = this->Path("f.bin");
    {
        auto file = files.Open(path, OpenMode::CreateAlways, ShareMode::Exclusive);
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->Write("hello world", 11));
        EXPECT_TRUE(file->Flush());
        EXPECT_EQ(file->Size(), 11u);
        EXPECT_EQ(file->Seek(6, SeekOrigin::Begin), 6u);
        char buffer[16] = {};
        ASSERT_EQ(file->Read(buffer, sizeof buffer), 5u);
        EXPECT_EQ(std::string(buffer, 5), "world");
        EXPECT_EQ(file->Read(buffer, sizeof buffer), 0u) << "at the end";
        EXPECT_EQ(file->Seek(-5, SeekOrigin::End), 6u);
        EXPECT_EQ(file->Seek(-2, SeekOrigin::Current), 4u);
        ASSERT_TRUE(file->Write("XY", 2));
        EXPECT_FALSE(file->Seek(-1, SeekOrigin::Begin).has_value());
        EXPECT_EQ(file->Size(), 11u) << "writing inside keeps the length";
    }
    EXPECT_EQ(files.ReadAll(path), "hellXYworld");

    {
        auto file = files.Open(path, OpenMode::OpenAlways, ShareMode::Exclusive);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->Size(), 11u) << "opening keeps the content";
    }
    {
        auto file = files.Open(path, OpenMode::Read, ShareMode::ReadWrite);
        ASSERT_TRUE(file);
        EXPECT_FALSE(file->Write("z", 1)) << "a handle opened for reading";
    }
    EXPECT_TRUE(files.Open(path, OpenMode::CreateAlways, ShareMode::Exclusive));
    EXPECT_EQ(files.ReadAll(path), "") << "create always truncates";

    EXPECT_FALSE(files.Open(this->Path("missing"), OpenMode::Read, ShareMode::ReadWrite));
    EXPECT_FALSE(files.Open(this->Path("missing"), OpenMode::ReadWrite, ShareMode::ReadWrite));
    EXPECT_FALSE(files.Exists(this->Path("missing")));
    EXPECT_TRUE(files.Open(this->Path("new"), OpenMode::OpenAlways, ShareMode::Exclusive));
    EXPECT_TRUE(files.Exists(this->Path("new")));
    EXPECT_FALSE(files.Open(this->Path("nofolder\\x"), OpenMode::CreateAlways, ShareMode::Exclusive));
    ASSERT_TRUE(files.MakeFolder(this->Path("sub")));
    EXPECT_FALSE(files.Open(this->Path("sub"), OpenMode::Read, ShareMode::ReadWrite)) << "a folder";
}

TYPED_TEST(FileSystemContractTest, DeletingFilesAndRemovingFolders) {
    auto& files = this->Files();
    this->MakeFile("a.txt");
    EXPECT_TRUE(files.RemoveFile(this->Path("a.txt")));
    EXPECT_FALSE(files.Exists(this->Path("a.txt")));
    EXPECT_FALSE(files.RemoveFile(this->Path("a.txt"))) << "already gone";

    ASSERT_TRUE(files.MakeFolder(this->Path("sub")));
    EXPECT_FALSE(files.MakeFolder(this->Path("sub"))) << "exists";
    EXPECT_FALSE(files.MakeFolder(this->Path("none\\sub"))) << "missing parent";
    EXPECT_FALSE(files.RemoveFile(this->Path("sub"))) << "a folder";
    this->MakeFile("sub\\x.txt");
    EXPECT_FALSE(files.RemoveFolder(this->Path("sub"))) << "not empty";
    EXPECT_TRUE(files.Exists(this->Path("sub\\x.txt")));
    EXPECT_FALSE(files.RemoveFolder(this->Path("sub\\x.txt"))) << "a file";
    ASSERT_TRUE(files.RemoveFile(this->Path("sub\\x.txt")));
    EXPECT_TRUE(files.RemoveFolder(this->Path("sub")));
    EXPECT_FALSE(files.Exists(this->Path("sub")));

    EXPECT_TRUE(files.MakeFolders(this->Path("p\\q\\r\\")));
    EXPECT_TRUE(files.DirectoryExists(this->Path("p\\q\\r")));
}

TYPED_TEST(FileSystemContractTest, ReadOnlyFileCannotBeWrittenOrDeletedButTheShellDeletesIt) {
    auto& files = this->Files();
    const std::string path = this->Path("ro.txt");
    this->MakeFile("ro.txt", "keep");
    ASSERT_TRUE(files.SetAttributes(path, faReadOnly));
    EXPECT_TRUE(files.GetAttributes(path).ValueOr(0) & faReadOnly);
    EXPECT_TRUE(this->ByName(this->ListAll(this->Path("*")))["ro.txt"].IsReadOnly());

    EXPECT_FALSE(files.Open(path, OpenMode::ReadWrite, ShareMode::ReadWrite));
    EXPECT_FALSE(files.Open(this->Path("RO.TXT"), OpenMode::ReadWrite, ShareMode::ReadWrite)) << "any spelling";
    EXPECT_FALSE(files.Open(path, OpenMode::OpenAlways, ShareMode::Exclusive));
    EXPECT_FALSE(files.Open(path, OpenMode::CreateAlways, ShareMode::Exclusive));
    EXPECT_TRUE(files.Open(path, OpenMode::Read, ShareMode::ReadWrite));
    EXPECT_FALSE(files.RemoveFile(path));
    EXPECT_EQ(files.ReadAll(path), "keep");

    EXPECT_TRUE(files.ShellDelete(path));
    EXPECT_FALSE(files.Exists(path));

    this->MakeFile("was-ro.txt");
    ASSERT_TRUE(files.SetAttributes(this->Path("was-ro.txt"), faReadOnly));
    ASSERT_TRUE(files.SetAttributes(this->Path("was-ro.txt"), faNormal));
    EXPECT_TRUE(files.RemoveFile(this->Path("was-ro.txt")));
}

TYPED_TEST(FileSystemContractTest, HiddenAndSystemAttributesAreKept) {
    auto& files = this->Files();
    this->MakeFile("h.txt");
    ASSERT_TRUE(files.MakeFolder(this->Path("dir")));
    const uint32_t kept = faReadOnly | faHidden | faSystem | faDirectory;

    ASSERT_TRUE(files.SetAttributes(this->Path("h.txt"), faHidden));
    EXPECT_EQ(files.GetAttributes(this->Path("h.txt")).ValueOr(0) & kept, uint32_t{faHidden});
    ASSERT_TRUE(files.SetAttributes(this->Path("h.txt"), faHidden | faSystem));
    EXPECT_EQ(files.GetAttributes(this->Path("h.txt")).ValueOr(0) & kept, uint32_t{faHidden | faSystem});
    ASSERT_TRUE(files.SetAttributes(this->Path("h.txt"), faNormal));
    EXPECT_EQ(files.GetAttributes(this->Path("h.txt")).ValueOr(faHidden) & kept, 0u);

    ASSERT_TRUE(files.SetAttributes(this->Path("dir"), faHidden));
    EXPECT_EQ(files.GetAttributes(this->Path("dir")).ValueOr(0) & kept, uint32_t{faDirectory | faHidden});
    EXPECT_FALSE(files.SetAttributes(this->Path("missing"), faHidden));
}

TYPED_TEST(FileSystemContractTest, ShareModesDecideWhetherASecondOpenOrADeleteSucceeds) {
    auto& files = this->Files();
    const std::string path = this->Path("s.txt");
    this->MakeFile("s.txt");
    {
        auto exclusive = files.Open(path, OpenMode::ReadWrite, ShareMode::Exclusive);
        ASSERT_TRUE(exclusive);
        EXPECT_FALSE(files.Open(path, OpenMode::Read, ShareMode::ReadWrite));
        EXPECT_FALSE(files.Open(path, OpenMode::ReadWrite, ShareMode::Exclusive));
        EXPECT_FALSE(files.RemoveFile(path));
        EXPECT_FALSE(files.ShellDelete(path));
        EXPECT_TRUE(files.Exists(path));
    }
    {
        auto reader = files.Open(path, OpenMode::Read, ShareMode::ReadWrite);
        ASSERT_TRUE(reader);
        EXPECT_FALSE(files.Open(path, OpenMode::ReadWrite, ShareMode::Exclusive));
        auto writer = files.Open(path, OpenMode::ReadWrite, ShareMode::ReadWrite);
        EXPECT_TRUE(writer);
        EXPECT_FALSE(files.RemoveFile(path)) << "no handle shares deletion";
    }
    EXPECT_TRUE(files.Open(path, OpenMode::ReadWrite, ShareMode::Exclusive)) << "all handles closed";
    EXPECT_TRUE(files.RemoveFile(path));
}

TYPED_TEST(FileSystemContractTest, NamesOutsideAsciiRoundTrip) {
    auto& files = this->Files();
    const std::string name = "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80.txt";  // café 日本 😀
    this->MakeFile(name, "unicode");
    ASSERT_TRUE(files.MakeFolder(this->Path("\xE6\x97\xA5\xE6\x9C\xAC")));

    auto names = this->Names(this->ListAll(this->Path("*")));
    EXPECT_EQ(names.count(name), 1u);
    EXPECT_EQ(names.count("\xE6\x97\xA5\xE6\x9C\xAC"), 1u);
    EXPECT_EQ(files.ReadAll(this->Path(name)), "unicode");
    EXPECT_TRUE(files.Exists(this->Path("CAF\xC3\x89 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80.TXT"))) << "É matches é";
    EXPECT_TRUE(files.ShellDelete(this->Path(name)));
    EXPECT_FALSE(files.Exists(this->Path(name)));
}

TYPED_TEST(FileSystemContractTest, ShellDeleteTakesOneFileOnly) {
    auto& files = this->Files();
    this->MakeFile("a.tmp");
    this->MakeFile("b.tmp");
    ASSERT_TRUE(files.MakeFolder(this->Path("dir")));
    this->MakeFile("dir\\inside.txt");

    EXPECT_FALSE(files.ShellDelete(this->Path("*.tmp")));
    EXPECT_TRUE(files.Exists(this->Path("a.tmp")) && files.Exists(this->Path("b.tmp")));
    EXPECT_FALSE(files.ShellDelete(this->Path("dir")));
    EXPECT_TRUE(files.Exists(this->Path("dir\\inside.txt")));
    EXPECT_FALSE(files.ShellDelete(this->Path("missing.tmp")));

    ASSERT_TRUE(files.SetAttributes(this->Path("a.tmp"), faHidden | faSystem));
    EXPECT_TRUE(files.ShellDelete(this->Path("a.tmp")));
    EXPECT_FALSE(files.Exists(this->Path("a.tmp")));
}

TYPED_TEST(FileSystemContractTest, RemovalAtRebootCanBeScheduledForAnExistingFile) {
    this->MakeFile("later.dat");
    EXPECT_TRUE(this->Files().ScheduleDeleteAtReboot(this->Path("later.dat")));
    EXPECT_TRUE(this->Files().Exists(this->Path("later.dat"))) << "not before the next start";
}

TYPED_TEST(FileSystemContractTest, CompoundFileStreamsAreReadWholeAndAHeldFileStillTellsItsNames) {
    auto& files = this->Files();
    const std::string path = this->Path("list.automaticDestinations-ms");
    const std::string large(5000, 'b');  // beyond the mini stream
    this->MakeFile("list.automaticDestinations-ms",
                   MakeCompoundFile({{"DestList", "small stream"}, {"1", large}, {"Second", ""}}));
    EXPECT_EQ(files.ReadCompoundStream(path, "DestList").ValueOr("?"), "small stream");
    EXPECT_EQ(files.ReadCompoundStream(path, "DESTLIST").ValueOr("?"), "small stream");
    EXPECT_EQ(files.ReadCompoundStream(path, "1").ValueOr("?"), large);
    EXPECT_EQ(files.ReadCompoundStream(path, "Second").ValueOr("?"), "");
    EXPECT_EQ(files.ReadCompoundStream(path, "Missing").Error(), seFileNotFound);
    this->MakeFile("plain.txt", "no compound file");
    EXPECT_EQ(files.ReadCompoundStream(this->Path("plain.txt"), "DestList").Error(), seInvalidData);
    EXPECT_FALSE(files.ReadCompoundStream(this->Path("absent"), "DestList"));
    {
        auto held = files.Open(path, OpenMode::ReadWrite, ShareMode::Exclusive);
        ASSERT_TRUE(held);
        EXPECT_EQ(files.ReadCompoundStream(path, "DestList").Error(), seSharingViolation);
        EXPECT_EQ(files.LinkCountOf(path).ValueOr(0), 1u) << "a hold on the contents does not stop the question";
    }
    EXPECT_FALSE(files.LinkCountOf(this->Path("absent")));
}

// ---- what only the sim offers ----

TEST(SimFileSystem, MapsDrivesToHostFoldersMatchingNamesWithoutRegardToCase) {
    TTempFolder host("nullvane-files");
    std::filesystem::create_directories(host.Path() / "C" / "Dir");
    platform::sim::SimFileSystem files(host.Path());

    const auto expected = host.Path() / "C" / "Dir" / "a.txt";
    EXPECT_EQ(files.HostPath("C:\\Dir\\a.txt"), expected);
    ASSERT_TRUE(files.WriteAll("C:\\Dir\\a.txt", "x"));
    EXPECT_TRUE(std::filesystem::equivalent(files.HostPath("c:/DIR/A.txt"), expected));
    EXPECT_TRUE(std::filesystem::equivalent(files.HostPath("C:\\Dir\\sub\\..\\.\\a.txt. "), expected));
    EXPECT_EQ(files.HostPath("D:\\x"), host.Path() / "D" / "x");
    EXPECT_TRUE(files.HostPath("relative\\a.txt").empty());
    EXPECT_TRUE(files.HostPath("\\\\server\\share\\a.txt").empty());
    EXPECT_FALSE(files.Exists("D:\\")) << "a drive without a host folder";
}

TEST(SimFileSystem, FileInUseByAnotherProgramCannotBeOpenedOrDeleted) {
    SimFilesBackend backend;
    auto& files = backend.files;
    const std::string path = backend.root + "\\locked.dat";
    ASSERT_TRUE(files.WriteAll(path, "x"));
    files.SetInUse(path);
    EXPECT_FALSE(files.Open(path, OpenMode::Read, ShareMode::ReadWrite));
    EXPECT_FALSE(files.Open(path, OpenMode::ReadWrite, ShareMode::Exclusive));
    EXPECT_FALSE(files.RemoveFile(path));
    EXPECT_FALSE(files.ShellDelete(path));
    EXPECT_TRUE(files.Exists(path));
    EXPECT_FALSE(files.ReadAll(path));

    files.SetInUse(path, false);
    EXPECT_TRUE(files.RemoveFile(path));
}

TEST(SimFileSystem, RecordsWhatIsScheduledForRemovalAtReboot) {
    SimFilesBackend backend;
    ASSERT_TRUE(backend.files.ScheduleDeleteAtReboot("C:\\Work\\index.dat"));
    EXPECT_EQ(backend.files.ScheduledDeletes(), std::vector<std::string>{"C:\\Work\\index.dat"});
}

}  // namespace
}  // namespace nullvane::testing
