#include "app/CookiesManagerForm.h"

#include "app/FixedDialog.h"
#include "app/WindowTexts.h"
#include "base/Texts.h"
#include "browsers/CookieKeepList.h"
#include "browsers/CookiesManagerLists.h"

namespace nullvane::app {

TfrmCookiesManager::TfrmCookiesManager(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner)
    : machine_(machine) {
    Form = CreateFixedDialog(controls, owner, kFormName, kCaption, kClientWidth, kClientHeight);

    Label1 = controls.CreateLabel(*Form, {{8, 8, 0, 0}, "All cookies found"});
    ListBox1 = controls.CreateSelectionListBox(*Form, {{8, 26, 192, 294}, ""});
    ListBox1->onDoubleClick = [this] { ListBox1DblClick(); };
    Label2 = controls.CreateLabel(*Form, {{310, 8, 0, 0}, "Cookies to keep"});
    ListBox2 = controls.CreateSelectionListBox(*Form, {{310, 26, 192, 294}, ""});
    ListBox2->onDoubleClick = [this] { ListBox2DblClick(); };

    const int left = 208;
    const int width = 94;
    bAdd = controls.CreateButton(*Form, {{left, 40, width, 25}, "Add         ->"});
    bAdd->onClick = [this] { bAddClick(); };
    bRemove = controls.CreateButton(*Form, {{left, 72, width, 25}, "Remove <-"});
    bRemove->onClick = [this] { bRemoveClick(); };
    bAddAll = controls.CreateButton(*Form, {{left, 112, width, 25}, "Add All    ->"});
    bAddAll->onClick = [this] { bAddAllClick(); };
    bRemoveAll = controls.CreateButton(*Form, {{left, 144, width, 25}, "Remove All <-"});
    bRemoveAll->onClick = [this] { bRemoveAllClick(); };
    bView = controls.CreateButton(*Form, {{left, 184, width, 25}, "&View"});
    bView->onClick = [this] { bViewClick(); };
    bOK = controls.CreateButton(*Form, {{left, 256, width, 25}, "&OK"});
    bOK->SetDefault(true);
    bOK->onClick = [this] { bOKClick(); };
    bCancel = controls.CreateButton(*Form, {{left, 288, width, 25}, "&Cancel"});
    bCancel->onClick = [this] { Form->SetModalResult(ui::mrCancel); };

    FillLists();
}

void TfrmCookiesManager::FillLists() {
    const browsers::TCookiesManagerLists lists = browsers::ReadCookiesManagerLists(machine_);
    FCookieFolder = lists.CookieFolder;
    for (const std::string& entry : lists.Keep) {
        ListBox2->AddItem(entry);
        keepOrigins_.push_back({browsers::KeepEntryFile(FCookieFolder, entry), {}});
    }
    for (const browsers::TFoundCookie& cookie : lists.Found) {
        ListBox1->AddItem(cookie.Site);
        foundOrigins_.push_back({cookie.File, {}});
    }
    for (const browsers::TBrowserCookieSite& site : lists.BrowserSites) {
        ListBox1->AddItem(site.Site);
        foundOrigins_.push_back({{}, site.Browsers});
    }
}

bool TfrmCookiesManager::Execute() {
    Form->CenterOnOwner();
    return Form->ShowModal() == ui::mrOk;
}

// Moves the left entry at `index` to the end of the keep list; the entry
// after it (or the first) takes the selection.
void TfrmCookiesManager::MoveToKeep(int index) {
    // An entry "Cookies.dat" could not hold stays where it is.
    if (browsers::KeepEntryFault(ListBox1->ItemText(index))) return;
    ListBox2->AddItem(ListBox1->ItemText(index));
    keepOrigins_.push_back(foundOrigins_.at(static_cast<size_t>(index)));
    ListBox2->SetSelectedIndex(0);
    ListBox1->SetSelectedIndex(index + 1 < ListBox1->Count() ? index + 1 : 0);
    ListBox1->DeleteItem(index);
    foundOrigins_.erase(foundOrigins_.begin() + index);
}

void TfrmCookiesManager::MoveToFound(int index) {
    ListBox1->AddItem(ListBox2->ItemText(index));
    foundOrigins_.push_back(keepOrigins_.at(static_cast<size_t>(index)));
    if (ListBox1->Count() == 1) ListBox1->SetSelectedIndex(0);
    ListBox2->SetSelectedIndex(index + 1 < ListBox2->Count() ? index + 1 : 0);
    ListBox2->DeleteItem(index);
    keepOrigins_.erase(keepOrigins_.begin() + index);
}

void TfrmCookiesManager::bAddClick() {
    const int selected = ListBox1->SelectedIndex();
    if (selected >= 0) MoveToKeep(selected);
}

void TfrmCookiesManager::bRemoveClick() {
    const int selected = ListBox2->SelectedIndex();
    if (selected >= 0) MoveToFound(selected);
}

void TfrmCookiesManager::bAddAllClick() {
    if (ListBox1->Count() == 0) return;
    // Entries "Cookies.dat" could not hold stay on the left.
    std::vector<std::string> staying;
    std::vector<TEntryOrigin> stayingOrigins;
    for (int i = 0; i < ListBox1->Count(); ++i) {
        std::string text = ListBox1->ItemText(i);
        TEntryOrigin& origin = foundOrigins_.at(static_cast<size_t>(i));
        if (browsers::KeepEntryFault(text)) {
            staying.push_back(std::move(text));
            stayingOrigins.push_back(std::move(origin));
            continue;
        }
        ListBox2->AddItem(text);
        keepOrigins_.push_back(std::move(origin));
    }
    if (ListBox2->Count() > 0) ListBox2->SetSelectedIndex(0);
    ListBox1->Clear();
    for (const std::string& text : staying) ListBox1->AddItem(text);
    foundOrigins_ = std::move(stayingOrigins);
    if (ListBox1->Count() > 0) ListBox1->SetSelectedIndex(0);
}

void TfrmCookiesManager::bRemoveAllClick() {
    if (ListBox2->Count() == 0) return;
    for (int i = 0; i < ListBox2->Count(); ++i) ListBox1->AddItem(ListBox2->ItemText(i));
    foundOrigins_.insert(foundOrigins_.end(), keepOrigins_.begin(), keepOrigins_.end());
    ListBox1->SetSelectedIndex(0);
    ListBox2->Clear();
    keepOrigins_.clear();
}

// The entry double-clicked is the one moved: entries of one site look alike
// but each keeps its own origin.
void TfrmCookiesManager::ListBox1DblClick() {
    const int selected = ListBox1->SelectedIndex();
    if (selected < 0) return;
    MoveToKeep(selected);
}

void TfrmCookiesManager::ListBox2DblClick() {
    const int selected = ListBox2->SelectedIndex();
    if (selected < 0) return;
    MoveToFound(selected);
    ListBox1->SetSelectedIndex(ListBox1->Count() - 1);
}

void TfrmCookiesManager::bViewClick() {
    const int selected = ListBox1->SelectedIndex();
    if (selected < 0) return;
    const TEntryOrigin& origin = foundOrigins_.at(static_cast<size_t>(selected));
    if (!origin.Browsers.empty()) {
        // A browser's cookies live in a database: the browsers are named instead.
        std::string text = texts::kCookieSiteBrowsers;
        for (const std::string& browser : origin.Browsers) text += "\r\n" + browser;
        (void)machine_.dialogs.ShowMessage(text, ListBox1->ItemText(selected),
                                          platform::mbOk | platform::mbIconInformation);
        return;
    }
    const std::string& file = origin.File;
    if (file.empty()) return;
    const auto content = machine_.files.ReadAll(file);
    if (!content) return;
    // Every line of the file, each after a line break.
    std::string text;
    size_t start = 0;
    while (start < content->size()) {
        size_t end = content->find('\n', start);
        if (end == std::string::npos) end = content->size();
        std::string line = content->substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += "\r\n" + line;
        start = end + 1;
    }
    (void)machine_.dialogs.ShowMessage(text, ListBox1->ItemText(selected), platform::mbOk | platform::mbIconInformation);
}

void TfrmCookiesManager::bOKClick() {
    if (!browsers::WriteCookiesDat(machine_, ListBox2->Items())) {
        // The window stays open with the choices as they are.
        (void)machine_.dialogs.ShowMessage("Unable to write to " + browsers::CookiesDatPath(machine_),
                                          base::texts::kCaption, platform::mbOk | platform::mbIconError);
        return;
    }
    Form->SetModalResult(ui::mrOk);
}

}  // namespace nullvane::app
