#include <string>

#include "browsers/CookieSite.h"
#include "browsers/InternetExplorerFolders.h"
#include "cleaners/Cleaners.h"
#include "indexdat/IndexDatBuilder.h"
#include "platform/sim/SimFileSystem.h"
#include "removal/RemovalFixture.h"

using namespace nullvane;
using nullvane::testing::RemovalFixture;

namespace {

class CookiesTest : public RemovalFixture {
protected:
    std::string CookieFolder() { return sim.system().SpecialFolder(platform::csidlCookies) + "\\"; }
    std::string Program() { return sim.system().ProgramFolder(); }
    static std::string Cookie(const std::string& site, const char* end = "\n") {
        return std::string("id") + end + "1234" + end + site + end + "0" + end + "*" + end;
    }
    static std::string IndexImage() {
        indexdat::testing::TIndexDatBuilder image;
        image.FirstTable(0x4000).Table(0x4000, 32, 0).Entry(0x4000, 0, 0x5000).UrlRecord(0x5000, "URL ", 1,
                                                                                          "Cookie:test@site/");
        return image.Image();
    }
};

TEST(CookieSite, ThirdLineWithoutOneTrailingSlashForEitherLineEnd) {
    platform::sim::SimMachine sim;
    const std::pair<std::string, std::string> cases[] = {
        {"a\nb\nsite.example/path/\nrest\n", "site.example/path"},
        {"a\r\nb\r\nsite.example/\r\nrest\r\n", "site.example"},
        {"a\nb\nsite.example//", "site.example/"},  // one slash only; no line end after the last line
        {"a\nb\n", ""},                              // two lines
        {"", ""},
    };
    for (const auto& [content, site] : cases) {
        sim.MakeFile("C:\\c\\x.txt", content);
        EXPECT_EQ(browsers::ReadCookieSite(sim.files(), "C:\\c\\x.txt"), site) << content;
    }
    EXPECT_EQ(browsers::ReadCookieSite(sim.files(), "C:\\c\\missing.txt"), "");
}

// The sim's file system over the machine's drives, counting the bytes read.
class TReadCounter final : public platform::sim::SimFileSystem {
public:
    explicit TReadCounter(platform::sim::SimMachine& machine) : SimFileSystem(machine.HostRoot()) {}

    platform::TResult<platform::FilePtr> Open(const std::string& path, platform::OpenMode mode,
                                              platform::ShareMode share) override {
        auto file = SimFileSystem::Open(path, mode, share);
        if (!file) return file.Status();
        return platform::FilePtr(std::make_unique<THandle>(std::move(file).Value(), bytesRead));
    }

    uint64_t bytesRead = 0;

private:
    class THandle final : public platform::FileHandle {
    public:
        THandle(platform::FilePtr inner, uint64_t& bytesRead) : inner_(std::move(inner)), bytesRead_(bytesRead) {}
        size_t Read(void* buffer, size_t count) override {
            size_t got = inner_->Read(buffer, count);
            bytesRead_ += got;
            return got;
        }
        platform::TStatus Write(const void* buffer, size_t count) override { return inner_->Write(buffer, count); }
        std::optional<uint64_t> Seek(int64_t offset, platform::SeekOrigin origin) override {
            return inner_->Seek(offset, origin);
        }
        std::optional<uint64_t> Size() override { return inner_->Size(); }
        platform::TStatus Flush() override { return inner_->Flush(); }
        uint32_t LinkCount() override { return inner_->LinkCount(); }

    private:
        platform::FilePtr inner_;
        uint64_t& bytesRead_;
    };
};

TEST(CookieSite, ALineLongerThanTheReadLimitGivesNoSiteAndTheRestIsNeverRead) {
    platform::sim::SimMachine sim;
    TReadCounter files(sim);
    // Lines that fit in 64 KiB together still give the site.
    sim.MakeFile("C:\\c\\fits.txt", std::string(60000, 'a') + "\nv\nsite.example/\n" + std::string(1 << 20, 'z'));
    EXPECT_EQ(browsers::ReadCookieSite(files, "C:\\c\\fits.txt"), "site.example");
    EXPECT_LE(files.bytesRead, 64u * 1024);

    files.bytesRead = 0;
    sim.MakeFile("C:\\c\\long.txt", std::string(8 << 20, 'a') + "\nv\nsite.example/\n");
    EXPECT_EQ(browsers::ReadCookieSite(files, "C:\\c\\long.txt"), "");
    EXPECT_LE(files.bytesRead, 64u * 1024);
}

TEST_F(CookiesTest, EntriesOfEitherKeepFileKeepTheirCookiesAndTheIndex) {
    sim.MakeFile(Program() + "Cookies.ini", "[Cookies to Keep]\nCount=2\n0=\n1=shop.example\n");
    // The profile functions read the file in the ANSI code page: \xE9 is "é".
    const std::string managerList = "[Cookies to keep]\nCount=1\n0=jos\xE9@news[2].txt\n";
    sim.MakeFile(Program() + "Cookies.dat", managerList);
    const std::string folder = CookieFolder();
    sim.MakeFile(folder + "user@shop[1].txt", Cookie("shop.example/", "\r\n"));  // kept by its site
    sim.MakeFile(folder + "other@SHOP[1].txt", Cookie("SHOP.example/"));         // the site in another case
    sim.MakeFile(folder + "josé@news[2].txt", Cookie("news.example/"));          // kept by its name
    sim.MakeFile(folder + "user@ads[1].txt.old", Cookie("ads.example/"));        // ".txt" inside the name
    sim.MakeFile(folder + "notes.dat", "n");
    sim.MakeFile(folder + "index.dat", IndexImage());

    auto& run = Run(base::rmClean);
    cleaners::CleanIECookies(run);
    EXPECT_EQ(run.ItemCount, 2);
    EXPECT_EQ(run.ItemBytes, Cookie("SHOP.example/").size() + Cookie("ads.example/").size());
    EXPECT_TRUE(Exists(folder + "user@shop[1].txt"));
    EXPECT_TRUE(Exists(folder + "josé@news[2].txt"));
    EXPECT_FALSE(Exists(folder + "other@SHOP[1].txt"));
    EXPECT_FALSE(Exists(folder + "user@ads[1].txt.old"));
    EXPECT_TRUE(Exists(folder + "notes.dat"));
    EXPECT_EQ(Read(folder + "index.dat"), IndexImage());
    EXPECT_EQ(Read(Program() + "Cookies.dat"), managerList);
}

TEST_F(CookiesTest, TestAndCleanExamineTheCookieFolderAndLowAndAddEveryFile) {
    const std::string folder = CookieFolder();
    sim.MakeFile(folder + "a@one[1].txt", Cookie("one.example/"));
    sim.MakeFile(folder + "index.dat", IndexImage());
    sim.MakeFile(folder + "Low\\b@two[1].txt", Cookie("two.example/path/"));
    sim.MakeFile(folder + "Low\\index.dat", IndexImage());
    const std::string local = sim.system().SpecialFolder(platform::csidlLocalAppData);
    sim.MakeFile(local + "\\Microsoft\\Internet Explorer\\DOMStore\\X1\\site[1].xml", "<root/>");
    sim.MakeFile(sim.system().SpecialFolder(platform::csidlAppData) + "\\Microsoft\\Internet Explorer\\UserData\\u.xml",
                 "<u/>");
    const uint64_t bytes = Cookie("one.example/").size() + Cookie("two.example/path/").size() + 7 + 4;

    auto& test = Run(base::rmTest);
    cleaners::CleanIECookies(test);
    EXPECT_EQ(test.ItemCount, 4);
    EXPECT_EQ(test.ItemBytes, bytes);
    EXPECT_TRUE(Exists(folder + "Low\\b@two[1].txt"));
    EXPECT_EQ(Read(folder + "Low\\index.dat"), IndexImage());

    auto& clean = Run(base::rmClean);
    cleaners::CleanIECookies(clean);
    EXPECT_EQ(clean.ItemCount, 4);
    EXPECT_EQ(clean.ItemBytes, bytes);
    EXPECT_EQ(clean.ItemSizeText, "1");
    EXPECT_FALSE(Exists(folder + "a@one[1].txt"));
    EXPECT_FALSE(Exists(folder + "Low\\b@two[1].txt"));
    EXPECT_NE(Read(folder + "index.dat"), IndexImage());
    EXPECT_NE(Read(folder + "Low\\index.dat"), IndexImage());
}

TEST_F(CookiesTest, OnlyLowWhenTheFolderHoldsNoCookiesAndTheWindowsFolderWithoutAShellFolder) {
    const std::string folder = CookieFolder();
    sim.MakeFile(folder + "index.dat", IndexImage());
    sim.MakeFile(folder + "Low\\b@two[1].txt", Cookie("two.example/"));
    auto& low = Run(base::rmClean);
    cleaners::CleanIECookies(low);
    EXPECT_EQ(low.ItemCount, 1);
    EXPECT_EQ(Read(folder + "index.dat"), IndexImage());  // the folder itself is not examined

    sim.system().SetSpecialFolder(platform::csidlCookies, "");
    sim.MakeFile("C:\\Windows\\cookies\\c@three[1].txt", Cookie("three.example/"));
    auto& windows = Run(base::rmClean);
    cleaners::CleanIECookies(windows);
    EXPECT_EQ(windows.ItemCount, 1);
    EXPECT_FALSE(Exists("C:\\Windows\\cookies\\c@three[1].txt"));
}

}  // namespace
