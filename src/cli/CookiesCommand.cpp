#include "cli/CookiesCommand.h"

#include <algorithm>

#include "browsers/CookieKeepList.h"
#include "browsers/CookiesManagerLists.h"
#include "cli/CliTexts.h"

namespace nullvane::cli {

namespace {

// The entry in quotes, its line breaks and NULs shown as escapes so the
// message stays on one line.
std::string Shown(const std::string& entry) {
    std::string text = "\"";
    for (char c : entry) {
        if (c == '\r') text += "\\r";
        else if (c == '\n') text += "\\n";
        else if (c == '\0') text += "\\0";
        else text += c;
    }
    return text + "\"";
}

}  // namespace

int RunCookiesCommand(platform::Platform& machine, std::ostream& out) {
    const browsers::TCookiesManagerLists lists = browsers::ReadCookiesManagerLists(machine);
    for (const std::string& entry : lists.Keep) out << "keep\t" << entry << '\n';
    for (const browsers::TFoundCookie& cookie : lists.Found) out << "found\t" << cookie.Site << '\t' << cookie.File << '\n';
    for (const browsers::TBrowserCookieSite& site : lists.BrowserSites)
        for (const std::string& browser : site.Browsers) out << "found\t" << site.Site << '\t' << browser << '\n';
    out.flush();
    return 0;
}

int RunKeepCookiesCommand(platform::Platform& machine, const std::vector<std::string>& entries, bool keep,
                          std::ostream& out, std::ostream& err) {
    if (keep) {
        for (const std::string& entry : entries) {
            if (const char* fault = browsers::KeepEntryFault(entry)) {
                err << "nullvane-cli: " << texts::kCliCannotKeep << Shown(entry) << ": " << fault << '\n';
                return 2;
            }
        }
    }
    std::vector<std::string> kept = browsers::ReadCookiesManagerLists(machine).Keep;
    for (const std::string& entry : entries) {
        const bool held = std::find(kept.begin(), kept.end(), entry) != kept.end();
        if (keep && !held && !entry.empty()) kept.push_back(entry);
        if (!keep) kept.erase(std::remove(kept.begin(), kept.end(), entry), kept.end());
    }
    if (!browsers::WriteCookiesDat(machine, kept)) {
        err << "nullvane-cli: Unable to write to " << browsers::CookiesDatPath(machine) << '\n';
        return 4;
    }
    return RunCookiesCommand(machine, out);
}

}  // namespace nullvane::cli
