#include "cli/JsonReport.h"

#include <chrono>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "base/ProductInfo.h"

namespace nullvane::cli {

std::string UtcTimestamp(platform::SystemInfo& system) {
    using namespace std::chrono;
    const platform::LocalTime local = system.Now();
    const sys_days day = year{local.year} / month{static_cast<unsigned>(local.month)} /
                         std::chrono::day{static_cast<unsigned>(local.day)};
    const sys_seconds utc = sys_seconds(day) + hours(local.hour) + minutes(local.minute) + seconds(local.second) -
                            minutes(system.UtcOffsetMinutes());
    const year_month_day date(floor<days>(utc));
    const hh_mm_ss time(utc - floor<days>(utc));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string JsonReport(const TJsonRun& run, const run::TRunReport& report) {
    using nlohmann::json;
    json items = json::array();
    int32_t leftTotal = 0;
    for (const run::TItemResult& result : report.Items) {
        json item = {{"name", result.Name}, {"entries", result.Entries}, {"bytes", result.Bytes}};
        json left = {{"entries", 0}, {"bytes", 0}, {"errors", 0}, {"files", json::array()}};
        for (const run::TLeftItem& found : report.Left) {
            if (found.Name != result.Name) continue;
            left["entries"] = found.Entries;
            left["bytes"] = found.Bytes;
            left["errors"] = found.Errors;
            leftTotal += found.Entries;
            for (const run::TLeftEntry& entry : found.Listed)
                left["files"].push_back({{"path", entry.Path}, {"reason", entry.Reason}});
        }
        item["left"] = std::move(left);
        if (run.Detail) item["files"] = result.Paths;
        items.push_back(std::move(item));
    }
    // Paths come from the file system and may hold bytes that are not UTF-8:
    // they are written with U+FFFD rather than failing the whole report.
    const json document = {{"program", base::kProductName},
                           {"version", base::kVersionText},
                           {"run", run.Kind},
                           {"started", run.Started},
                           {"ended", run.Ended},
                           {"items", std::move(items)},
                           {"totals", {{"entries", report.TotalEntries}, {"bytes", report.TotalBytes}, {"left", leftTotal}}},
                           {"status", run.Status}};
    return document.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace nullvane::cli
