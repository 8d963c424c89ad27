#include "platform/sim/SimSystemInfo.h"

namespace nullvane::platform::sim {

namespace {

std::string WithoutTrailingBackslash(std::string path) {
    // A drive root keeps its "\" ("C:\"), as the system gives it.
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

std::string WithTrailing(std::string path) {
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

char DriveLetter(const std::string& root) {
    if (root.size() < 2 || root[1] != ':') return 0;
    char letter = root[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    return (letter >= 'A' && letter <= 'Z') ? letter : 0;
}

}  // namespace

SimSystemInfo::SimSystemInfo() {
    using namespace std::chrono;
    now_ = Clock(sys_days(year{2011} / June / 15) + hours(10));
    generator_.seed(static_cast<uint32_t>(ticks_));

    windowsFolder_ = "C:\\Windows";
    systemFolder_ = "C:\\Windows\\system32";
    tempFolder_ = "C:\\Users\\Test\\AppData\\Local\\Temp\\";
    programFolder_ = "C:\\Program Files\\Nullvane\\";
    const std::string profile = "C:\\Users\\Test";
    const std::string roaming = profile + "\\AppData\\Roaming";
    const std::string local = profile + "\\AppData\\Local";
    const std::string startMenu = roaming + "\\Microsoft\\Windows\\Start Menu";
    specialFolders_ = {
        {csidlDesktop, profile + "\\Desktop"},
        {csidlPrograms, startMenu + "\\Programs"},
        {csidlPersonal, profile + "\\Documents"},
        {csidlFavorites, profile + "\\Favorites"},
        {csidlStartup, startMenu + "\\Programs\\Startup"},
        {csidlRecent, roaming + "\\Microsoft\\Windows\\Recent"},
        {csidlSendTo, roaming + "\\Microsoft\\Windows\\SendTo"},
        {csidlStartMenu, startMenu},
        {csidlMyPictures, profile + "\\Pictures"},
        {csidlAppData, roaming},
        {csidlLocalAppData, local},
        {csidlInternetCache, local + "\\Microsoft\\Windows\\Temporary Internet Files"},
        {csidlCookies, roaming + "\\Microsoft\\Windows\\Cookies"},
        {csidlHistory, local + "\\Microsoft\\Windows\\History"},
        {csidlCommonAppData, "C:\\ProgramData"},
        {csidlWindows, windowsFolder_},
        {csidlSystem, systemFolder_},
        {csidlProgramFiles, "C:\\Program Files"},
        {csidlProfile, profile},
    };
    drives_['C'] = DriveType::Fixed;
}

std::string SimSystemInfo::WindowsFolder() {
    std::lock_guard lock(mutex_);
    return windowsFolder_;
}

std::string SimSystemInfo::SystemFolder() {
    std::lock_guard lock(mutex_);
    return systemFolder_;
}

std::string SimSystemInfo::TempFolder() {
    std::lock_guard lock(mutex_);
    return tempFolder_;
}

std::string SimSystemInfo::SpecialFolder(int csidl) {
    std::lock_guard lock(mutex_);
    auto it = specialFolders_.find(csidl);
    return it == specialFolders_.end() ? std::string() : it->second;
}

std::string SimSystemInfo::ProgramFolder() {
    std::lock_guard lock(mutex_);
    return programFolder_;
}

WindowsVersion SimSystemInfo::Version() {
    std::lock_guard lock(mutex_);
    return version_;
}

bool SimSystemInfo::CanFlushDnsCache() {
    std::lock_guard lock(mutex_);
    return dnsFlushOffered_;
}

TStatus SimSystemInfo::FlushDnsCache() {
    std::lock_guard lock(mutex_);
    if (!dnsFlushOffered_) return TStatus::Failure(seNotSupported);
    ++dnsFlushes_;
    return TStatus::Success();
}

void SimSystemInfo::OfferDnsCacheFlush(bool offered) {
    std::lock_guard lock(mutex_);
    dnsFlushOffered_ = offered;
}

int SimSystemInfo::DnsCacheFlushes() {
    std::lock_guard lock(mutex_);
    return dnsFlushes_;
}

bool SimSystemInfo::IsAdministrator() {
    std::lock_guard lock(mutex_);
    return administrator_;
}

bool SimSystemInfo::IsElevated() {
    std::lock_guard lock(mutex_);
    return elevated_.value_or(administrator_);
}

void SimSystemInfo::SetElevated(bool elevated) {
    std::lock_guard lock(mutex_);
    elevated_ = elevated;
}

DriveType SimSystemInfo::DriveTypeOf(const std::string& root) {
    std::lock_guard lock(mutex_);
    auto it = drives_.find(DriveLetter(root));
    return it == drives_.end() ? DriveType::NoRootDir : it->second;
}

TResult<TStorageTraits> SimSystemInfo::StorageTraitsOf(const std::string& root) {
    std::lock_guard lock(mutex_);
    const char letter = DriveLetter(root);
    if (!letter) return TResult<TStorageTraits>::Failure(seInvalidParameter);
    storageQueries_.push_back(letter);
    auto it = storage_.find(letter);
    if (it == storage_.end() || (!it->second.SeekPenalty && !it->second.Trim))
        return TResult<TStorageTraits>::Failure(seNotSupported);
    return it->second;
}

void SimSystemInfo::SetStorageTraits(const std::string& root, TStorageTraits traits) {
    std::lock_guard lock(mutex_);
    if (char letter = DriveLetter(root)) storage_[letter] = traits;
}

std::vector<char> SimSystemInfo::StorageQueries() {
    std::lock_guard lock(mutex_);
    return storageQueries_;
}

int SimSystemInfo::ScreenWidth() {
    std::lock_guard lock(mutex_);
    return screenWidth_;
}

int SimSystemInfo::ScreenHeight() {
    std::lock_guard lock(mutex_);
    return screenHeight_;
}

int64_t SimSystemInfo::TickMs() {
    std::lock_guard lock(mutex_);
    return ticks_;
}

LocalTime SimSystemInfo::Now() {
    using namespace std::chrono;
    std::lock_guard lock(mutex_);
    auto day = floor<days>(now_);
    year_month_day date{day};
    hh_mm_ss<milliseconds> time{now_ - day};
    return LocalTime{static_cast<int>(date.year()),          static_cast<int>(static_cast<unsigned>(date.month())),
                     static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
                     static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()),
                     static_cast<int>(time.subseconds().count())};
}

uint32_t SimSystemInfo::Random(uint32_t range) {
    std::lock_guard lock(mutex_);
    if (range == 0) return 0;
    if (!sequence_.empty()) {
        uint32_t value = sequence_[sequencePos_] % range;
        sequencePos_ = (sequencePos_ + 1) % sequence_.size();
        return value;
    }
    return std::uniform_int_distribution<uint32_t>(0, range - 1)(generator_);
}

void SimSystemInfo::Randomize() {
    std::lock_guard lock(mutex_);
    ++randomizeCount_;
    generator_.seed(seed_ ? *seed_ : static_cast<uint32_t>(ticks_));
}

bool SimSystemInfo::StartHiddenProcess(const std::string& application, const std::string& commandLine) {
    std::lock_guard lock(mutex_);
    started_.push_back({application, commandLine});
    return true;
}

std::vector<SimSystemInfo::StartedProcess> SimSystemInfo::StartedProcesses() {
    std::lock_guard lock(mutex_);
    return started_;
}

void SimSystemInfo::SetVersion(WindowsVersion version) {
    std::lock_guard lock(mutex_);
    version_ = version;
}

void SimSystemInfo::SetVersion(uint32_t platformId, uint32_t major, uint32_t minor) {
    SetVersion(WindowsVersion{platformId, major, minor});
}

void SimSystemInfo::SetAdministrator(bool administrator) {
    std::lock_guard lock(mutex_);
    administrator_ = administrator;
}

void SimSystemInfo::SetWindowsFolder(std::string path) {
    std::lock_guard lock(mutex_);
    windowsFolder_ = WithoutTrailingBackslash(std::move(path));
}

void SimSystemInfo::SetSystemFolder(std::string path) {
    std::lock_guard lock(mutex_);
    systemFolder_ = WithoutTrailingBackslash(std::move(path));
}

void SimSystemInfo::SetTempFolder(std::string path) {
    std::lock_guard lock(mutex_);
    tempFolder_ = WithTrailing(std::move(path));
}

void SimSystemInfo::SetProgramFolder(std::string path) {
    std::lock_guard lock(mutex_);
    programFolder_ = WithTrailing(std::move(path));
}

void SimSystemInfo::SetSpecialFolder(int csidl, std::string path) {
    std::lock_guard lock(mutex_);
    if (path.empty()) {
        specialFolders_.erase(csidl);
    } else {
        specialFolders_[csidl] = WithoutTrailingBackslash(std::move(path));
    }
}

std::map<int, std::string> SimSystemInfo::SpecialFolders() {
    std::lock_guard lock(mutex_);
    return specialFolders_;
}

void SimSystemInfo::SetDriveType(const std::string& root, DriveType type) {
    std::lock_guard lock(mutex_);
    if (char letter = DriveLetter(root)) drives_[letter] = type;
}

void SimSystemInfo::SetScreenSize(int width, int height) {
    std::lock_guard lock(mutex_);
    screenWidth_ = width;
    screenHeight_ = height;
}

int32_t SimSystemInfo::UtcOffsetMinutes() {
    std::lock_guard lock(mutex_);
    return utcOffsetMinutes_;
}

void SimSystemInfo::SetUtcOffsetMinutes(int32_t minutes) {
    std::lock_guard lock(mutex_);
    utcOffsetMinutes_ = minutes;
}

void SimSystemInfo::SetTickMs(int64_t ticks) {
    std::lock_guard lock(mutex_);
    ticks_ = ticks;
}

void SimSystemInfo::SetNow(const LocalTime& time) {
    using namespace std::chrono;
    std::lock_guard lock(mutex_);
    auto date = year{time.year} / month{static_cast<unsigned>(time.month)} / day{static_cast<unsigned>(time.day)};
    now_ = Clock(sys_days(date) + hours(time.hour) + minutes(time.minute) + seconds(time.second) +
                 milliseconds(time.milliseconds));
}

void SimSystemInfo::AdvanceMs(int64_t milliseconds) {
    std::lock_guard lock(mutex_);
    ticks_ += milliseconds;
    now_ += std::chrono::milliseconds(milliseconds);
}

void SimSystemInfo::SetRandomSeed(uint32_t seed) {
    std::lock_guard lock(mutex_);
    seed_ = seed;
    sequence_.clear();
    generator_.seed(seed);
}

void SimSystemInfo::SetRandomSequence(std::vector<uint32_t> values) {
    std::lock_guard lock(mutex_);
    sequence_ = std::move(values);
    sequencePos_ = 0;
}

int SimSystemInfo::RandomizeCount() {
    std::lock_guard lock(mutex_);
    return randomizeCount_;
}

}  // namespace nullvane::platform::sim
