#include "run/LeftAfterClean.h"

#include <exception>

#include "base/FormatKilobytes.h"
#include "base/Texts.h"

namespace nullvane::run {

namespace {

class TDiscardedLog final : public base::TLogSink {
public:
    void AddLine(const std::string& /*line*/) override {}
    void ScrollToEnd() override {}
    void SetCurrentItem(const std::string& /*itemName*/) override {}
};

// The Test that follows a Clean: it stops with the Clean and tallies what it
// finds against the reasons the Clean noted.
class TLeftAfterScan final : public base::TRunContext {
public:
    TLeftAfterScan(base::TRunContext& clean, base::TLogSink& log)
        : base::TRunContext(clean.Machine, base::rmTest, 0, log, clean.Options), clean_(clean) {
        FollowCancelOf(clean);
        SetFastScan(true);
    }

    TLeftItem Item;

    void NoteEntry(const std::string& path, uint64_t size) override {
        const TLeftReason* met = clean_.LeftReasonOf(path);
        Add(path, size, met ? met->Text : base::texts::kReasonReappeared, met ? met->Error : true);
    }
    void NoteKept(const std::string& path, const std::string& reason) override { Add(path, 0, reason, false); }

private:
    void Add(const std::string& path, uint64_t size, const std::string& reason, bool error) {
        ++Item.Entries;
        Item.Bytes += size;
        if (error) ++Item.Errors;
        if (Item.Listed.size() < kMaxLeftListed) Item.Listed.push_back({path, reason});
    }

    base::TRunContext& clean_;
};

}  // namespace

std::vector<TLeftItem> FindLeftAfterClean(base::TRunContext& clean, const std::vector<std::string>& names,
                                          const TItemDispatcher& dispatch) {
    std::vector<TLeftItem> items;
    TDiscardedLog log;
    TLeftAfterScan scan(clean, log);
    for (const std::string& name : names) {
        if (scan.Terminated()) return {};
        scan.Item = TLeftItem{name};
        scan.ItemCount = 0;
        scan.ItemBytes = 0;
        scan.LastProgressTime = scan.Machine.system.TickMs();
        try {
            dispatch(scan, name);
        } catch (const std::exception&) {
            continue;  // the Clean is done; only this item's report is missing
        }
        items.push_back(std::move(scan.Item));
    }
    if (scan.Terminated()) return {};
    return items;
}

bool ReportLeftAfterClean(base::TRunContext& clean, const std::vector<TLeftItem>& items) {
    bool written = false;
    for (const TLeftItem& item : items) {
        if (item.Entries == 0) continue;
        if (written) clean.AddLogLine("");
        written = true;
        clean.AddLogLine(item.Name);
        clean.AddLogLine(base::texts::kLeftAfterClean + std::to_string(item.Entries) + base::texts::kLeftEntries +
                         base::FormatKilobytes(item.Bytes) + " KB");
        for (const TLeftEntry& entry : item.Listed) clean.AddLogLine(entry.Path + ": " + entry.Reason);
        clean.AddLeftEntries(item.Errors);
    }
    return written;
}

}  // namespace nullvane::run
