#include <gtest/gtest.h>

#include <filesystem>

#include <sstream>
#include <vector>

#include "cli/IndexDatCommand.h"
#include "indexdat/IndexDatBuilder.h"
#include "indexdat/IndexDatReader.h"
#include "indexdat/IndexDatWiper.h"
#include "platform/sim/SimMachine.h"

namespace nullvane::indexdat {
namespace {

using platform::sim::SimMachine;
using testing::FileTimeFromUnix;
using testing::TIndexDatBuilder;

constexpr int32_t T1 = TIndexDatBuilder::kFirstTable;
const std::string kFile = "C:\\Users\\Test\\AppData\\Local\\Microsoft\\Windows\\History\\History.IE5\\index.dat";
const uint64_t kJune2010 = FileTimeFromUnix(1276605296);  // 2010-06-15 12:34:56 UTC

std::string SampleImage() {
    TIndexDatBuilder b(0x9000);
    b.FirstTable(T1).Table(T1, 32, 0);
    b.UrlRecord(0x5000, "URL ", kJune2010, "Visited: test@http://a.example/").Entry(T1, 0, 0x5000);
    b.UrlRecord(0x5100, "LEAK", 0xFFFFFFFFFFFFFFFFULL, "http://leak.example/").Entry(T1, 1, 0x5100);
    b.RedirectRecord(0x5200, 0, "http://redirect.example/").Entry(T1, 2, 0x5200);
    return b.Image();
}

// The sim's file system over the machine's drives that keeps, per opened
// file, the first byte of every write: the fill byte of each wipe pass.
class TFillRecorder final : public platform::sim::SimFileSystem {
public:
    explicit TFillRecorder(SimMachine& machine) : SimFileSystem(machine.HostRoot()) {}

    platform::TResult<platform::FilePtr> Open(const std::string& path, platform::OpenMode mode,
                                              platform::ShareMode share) override {
        auto file = SimFileSystem::Open(path, mode, share);
        if (!file) return file.Status();
        opens.emplace_back();
        return platform::FilePtr(std::make_unique<THandle>(std::move(file).Value(), opens.back()));
    }

    std::vector<std::vector<uint8_t>> opens;

private:
    class THandle final : public platform::FileHandle {
    public:
        THandle(platform::FilePtr inner, std::vector<uint8_t>& fills) : inner_(std::move(inner)), fills_(fills) {}
        size_t Read(void* buffer, size_t count) override { return inner_->Read(buffer, count); }
        platform::TStatus Write(const void* buffer, size_t count) override {
            if (count > 0) fills_.push_back(*static_cast<const uint8_t*>(buffer));
            return inner_->Write(buffer, count);
        }
        std::optional<uint64_t> Seek(int64_t offset, platform::SeekOrigin origin) override {
            return inner_->Seek(offset, origin);
        }
        std::optional<uint64_t> Size() override { return inner_->Size(); }
        platform::TStatus Flush() override { return inner_->Flush(); }
        uint32_t LinkCount() override { return inner_->LinkCount(); }

    private:
        platform::FilePtr inner_;
        std::vector<uint8_t>& fills_;
    };
};

bool OnlyByte(const std::vector<uint8_t>& writes, uint8_t value) {
    return !writes.empty() && std::all_of(writes.begin(), writes.end(), [&](uint8_t b) { return b == value; });
}

TEST(IndexDatOnMachine, SecureWipeMakesRandomPassesThenAZeroPass) {
    SimMachine machine;
    machine.MakeFile(kFile, SampleImage());
    machine.system().SetRandomSequence({7, 300});
    TFillRecorder files(machine);
    base::TRunOptions options;
    options.OverwriteFile = true;
    options.OverwriteNumber = 10;

    EXPECT_EQ(WipeIndexDat(files, machine.system(), kFile, options).Outcome, TWipeOutcome::Wiped);

    ASSERT_EQ(files.opens.size(), 3u);
    EXPECT_TRUE(OnlyByte(files.opens[0], 7));
    EXPECT_TRUE(OnlyByte(files.opens[1], 300 % 255));
    EXPECT_TRUE(OnlyByte(files.opens[2], 0));
    EXPECT_EQ(machine.system().RandomizeCount(), 1);

    const std::string before = SampleImage();
    const std::string after = *machine.files().ReadAll(kFile);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, T1 + 16), before.substr(0, T1 + 16));
    EXPECT_EQ(after.substr(T1 + 16), std::string(before.size() - T1 - 16, '\0'));
}

TEST(IndexDatOnMachine, PlainWipeIsOnePassOfZeros) {
    SimMachine machine;
    machine.MakeFile(kFile, SampleImage());
    TFillRecorder files(machine);
    base::TRunOptions options;
    options.OverwriteFile = false;
    options.OverwriteNumber = 3;
    EXPECT_TRUE(WipeIndexDat(files, machine.system(), kFile, options).Wiped());
    ASSERT_EQ(files.opens.size(), 1u);
    EXPECT_TRUE(OnlyByte(files.opens[0], 0));
}

// A name that leads to another file through a linked folder, a link to the
// file, a ".." step or a second name of the same bytes: the wipe writes into
// none of them; the file named plainly is wiped.
TEST(IndexDatOnMachine, WipeWritesIntoNoFileReachedThroughALinkOrOtherName) {
    namespace fs = std::filesystem;
    SimMachine machine;
    const std::string image = SampleImage();
    machine.MakeFile("C:\\Outside\\index.dat", image);
    machine.MakeFile("C:\\Outside\\other.dat", image);
    machine.MakeFile("C:\\Named\\own.dat", image);
    const fs::path outside = machine.HostPath("C:\\Outside");
    std::error_code error;
    fs::create_directory_symlink(outside, machine.HostPath("C:\\Named") / "folderlink", error);
    if (!error) fs::create_symlink(outside / "index.dat", machine.HostPath("C:\\Named") / "filelink.dat", error);
    if (!error) fs::create_hard_link(outside / "other.dat", machine.HostPath("C:\\Named") / "second.dat", error);
    if (error) GTEST_SKIP() << "no links on this host (the Wine test covers them): " << error.message();

    for (const char* name : {"C:\\Named\\folderlink\\index.dat", "C:/Named/./folderlink/index.dat",
                             "C:\\Named\\filelink.dat", "C:\\Named\\second.dat", "C:\\Named\\..\\Outside\\index.dat",
                             "\\Outside\\index.dat"}) {
        if (std::string(name) != "C:\\Named\\second.dat") EXPECT_FALSE(NamesTheFileItself(machine.files(), name)) << name;
        // (The simulation has no current drive: there "\Outside\index.dat" is missing.)
        const TWipeOutcome expected = name[0] == '\\' ? TWipeOutcome::Missing : TWipeOutcome::NotReached;
        EXPECT_EQ(WipeIndexDat(machine.files(), machine.system(), name, base::TRunOptions{}).Outcome, expected) << name;
    }
    EXPECT_EQ(*machine.files().ReadAll("C:\\Outside\\index.dat"), image);
    EXPECT_EQ(*machine.files().ReadAll("C:\\Outside\\other.dat"), image);

    EXPECT_TRUE(NamesTheFileItself(machine.files(), "C:/Named/./own.dat"));
    EXPECT_TRUE(WipeIndexDat(machine.files(), machine.system(), "C:/Named/./own.dat", base::TRunOptions{}).Wiped());
    EXPECT_NE(*machine.files().ReadAll("C:\\Named\\own.dat"), image);
}

TEST(IndexDatOnMachine, WipeLeavesMissingAndHeldFilesAloneAndSaysSo) {
    SimMachine machine;
    TFillRecorder files(machine);
    const TWipeResult missing = WipeIndexDat(files, machine.system(), kFile, base::TRunOptions{});
    EXPECT_EQ(missing.Outcome, TWipeOutcome::Missing);
    EXPECT_TRUE(files.opens.empty());
    EXPECT_FALSE(machine.files().Exists(kFile));

    machine.MakeFile(kFile, SampleImage());
    files.SetInUse(kFile);
    const TWipeResult held = WipeIndexDat(files, machine.system(), kFile, base::TRunOptions{});
    EXPECT_EQ(held.Outcome, TWipeOutcome::InUse);
    EXPECT_EQ(held.Error, 32u);  // a sharing violation
    EXPECT_EQ(WipeOutcomeText(held), "not overwritten: the file is in use by another program (error 32)");
    EXPECT_TRUE(files.opens.empty());
    files.SetInUse(kFile, false);
    EXPECT_EQ(*machine.files().ReadAll(kFile), SampleImage());
}

// What only looks like a cache file is never written: a text file, or a file
// of another program whose bytes happen to hold a table where the header
// points; Wine's own cache files are wiped like Windows' ones.
TEST(IndexDatOnMachine, WipeWritesOnlyIntoFilesThatStartWithACacheSignature) {
    SimMachine machine;
    std::string lookalike = SampleImage();
    lookalike.replace(0, 24, "[NVane]\r\nCount=3\r\n0=ab\r\n");  // 24 bytes: F and the table stay
    const std::string text = "Notes about the cache\r\nindex.dat is where the browser keeps its list.\r\n";
    for (const std::string& content : {text, lookalike}) {
        machine.MakeFile(kFile, content);
        const TWipeResult refused = WipeIndexDat(machine.files(), machine.system(), kFile, base::TRunOptions{});
        EXPECT_EQ(refused.Outcome, TWipeOutcome::NotAnIndexDat);
        EXPECT_NE(WipeOutcomeText(refused).find("not an index.dat"), std::string::npos);
        EXPECT_EQ(*machine.files().ReadAll(kFile), content);
    }
    std::string wine = SampleImage();
    wine.replace(0, 28, std::string("WINE URLCache Ver 0.2012001", 27) + '\0');
    machine.MakeFile(kFile, wine);
    EXPECT_TRUE(WipeIndexDat(machine.files(), machine.system(), kFile, base::TRunOptions{}).Wiped());
    EXPECT_EQ(machine.files().ReadAll(kFile)->find("http://"), std::string::npos);
}

class TProgressBar final : public TIndexDatProgress {
public:
    [[nodiscard]] int Position() const override { return position; }
    void SetPosition(int percent) override { position = percent; }
    int position = 0;
};

TEST(IndexDatOnMachine, ReadingAppendsUrlsWithImageIndexAndLocalTimeTexts) {
    SimMachine machine;
    machine.MakeFile(kFile, SampleImage());
    TIndexDatLists lists;
    lists.UrlList.push_back({"kept from before", 9});
    lists.TimeList.push_back("earlier");
    TProgressBar bar;

    ASSERT_TRUE(ReadIndexDatUrls(machine.files(), kFile, 2, lists, TIndexDatTimeFormat{-300, nullptr}, &bar));
    ASSERT_EQ(lists.UrlList.size(), 4u);
    EXPECT_EQ(lists.UrlList[1].Url, "Visited: test@http://a.example/");
    EXPECT_EQ(lists.UrlList[3].Url, "http://redirect.example/");
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(lists.UrlList[i].ImageIndex, 2);
    std::vector<std::string> times;
    for (size_t i = 0; i < lists.TimeList.size(); ++i) times.emplace_back(lists.TimeList[i]);
    EXPECT_EQ(times, (std::vector<std::string>{"earlier", "2010-06-15 07:34:56", "Not Available", "Not Available"}));
    EXPECT_EQ(bar.position, 100);
}

TEST(IndexDatOnMachine, FileThatCannotBeOpenedListsNothing) {
    SimMachine machine;
    machine.MakeFile(kFile, SampleImage());
    machine.files().SetInUse(kFile);
    TIndexDatLists lists;
    TProgressBar bar;
    EXPECT_FALSE(ReadIndexDatUrls(machine.files(), kFile, 0, lists, TIndexDatTimeFormat{}, &bar));
    EXPECT_TRUE(lists.UrlList.empty());
    EXPECT_EQ(bar.position, 0);
}

TEST(IndexDatCommand, ListsUrlTabLocalTimeLinesInListingOrder) {
    SimMachine machine;
    machine.MakeFile(kFile, SampleImage());
    machine.system().SetUtcOffsetMinutes(120);
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunIndexDatCommand(machine.Machine(), kFile, out, err), 0);
    EXPECT_EQ(out.str(),
              "Visited: test@http://a.example/\t2010-06-15 14:34:56\n"
              "http://leak.example/\tNot Available\n"
              "http://redirect.example/\t1601-01-01 02:00:00\n");  // stamp 0, east of UTC
    EXPECT_EQ(err.str(), "");
}

TEST(IndexDatCommand, MissingFolderOrUnreadableFileGivesStatusTwo) {
    SimMachine machine;
    machine.MakeFile(kFile, SampleImage());
    machine.files().SetInUse(kFile);
    for (const std::string& name : {std::string("C:\\nowhere\\index.dat"), std::string("C:\\Users\\Test"), kFile}) {
        std::ostringstream out, err;
        EXPECT_EQ(cli::RunIndexDatCommand(machine.Machine(), name, out, err), 2) << name;
        EXPECT_EQ(out.str(), "") << name;
        EXPECT_NE(err.str().find(name), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace nullvane::indexdat
