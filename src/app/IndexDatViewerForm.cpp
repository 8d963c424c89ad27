#include "app/IndexDatViewerForm.h"

#include <cmath>
#include <exception>

#include "app/FixedDialog.h"
#include "app/WebAddresses.h"
#include "browsers/InternetExplorerFolders.h"
#include "indexdat/IndexDatFileName.h"
#include "indexdat/IndexDatWiper.h"
#include "platform/CaughtException.h"
#include "platform/Text.h"
#include "settings/OptionsSetting.h"

namespace nullvane::app {

namespace {

// The window was asked to close while a file was read: the read ends here.
struct EReadStopped : std::exception {
    [[nodiscard]] const char* what() const noexcept override { return "the read was stopped"; }
};

// A small globe: what each row shows before its address.
ui::TImage WebPageImage() {
    ui::TImage image;
    image.Pixels.assign(16 * 16, 0);
    const double centre = 7.5;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const double dx = x - centre;
            const double dy = y - centre;
            const double distance = std::sqrt(dx * dx + dy * dy);
            if (distance > 7.6) continue;
            uint32_t colour = 0xFF3C78D8;  // sea
            if (distance > 6.6) {
                colour = 0xFF1F3F7A;  // rim
            } else if ((x + 2 * y) % 7 < 3 && std::abs(dx) < 5.5) {
                colour = 0xFF4CAF50;  // land
            }
            if (std::abs(dx) < 0.6 || std::abs(dy) < 0.6) colour = 0xFFE8F0FF;  // meridian and equator
            image.Pixels[static_cast<size_t>(y) * 16 + x] = colour;
        }
    }
    return image;
}

}  // namespace

bool IsOpenableAddress(const std::string& text) {
    for (const char* scheme : {"http://", "https://", "ftp://"}) {
        const std::string_view prefix(scheme);
        if (text.size() >= prefix.size() && platform::EqualsIgnoreCase(std::string_view(text).substr(0, prefix.size()), prefix))
            return true;
    }
    return false;
}

// The progress bar the reader moves, and the window's messages while it reads.
class TfrmIndexDatViewer::TReadProgress final : public indexdat::TIndexDatProgress {
public:
    explicit TReadProgress(TfrmIndexDatViewer& viewer) : viewer_(viewer) {}
    [[nodiscard]] int Position() const override { return viewer_.ProgressBar1->Position(); }
    void SetPosition(int percent) override { viewer_.ProgressBar1->SetPosition(percent); }
    void ProcessOneMessage() override {
        viewer_.controls_.Application().ProcessOneMessage();
        // Closing ends the read first: the lists go with the window.
        if (viewer_.Form->ModalResult() != ui::mrNone) throw EReadStopped();
    }

private:
    TfrmIndexDatViewer& viewer_;
};

TfrmIndexDatViewer::TfrmIndexDatViewer(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner)
    : machine_(machine), controls_(controls) {
    Form = CreateFixedDialog(controls, owner, kFormName, kCaption, kClientWidth, kClientHeight);

    GroupBox1 = controls.CreateGroupBox(*Form, {{8, 6, 660, 52}, "Index.dat file location"});
    eFileName = controls.CreateEdit(*GroupBox1, {{10, 20, 604, 22}, ""});
    bBrowseFolder = controls.CreateButton(*GroupBox1, {{620, 19, 30, 24}, "..."});
    bBrowseFolder->onClick = [this] { bBrowseFolderClick(); };

    lvIndexDat = controls.CreateReportListView(*Form, {{8, 66, 660, 352}, ""});
    lvIndexDat->SetColumns({{"URL", 380}, {"Last Modified", 120}});
    lvIndexDat->SetRowSelect(true);
    ui::TImageList images;
    images.Images.push_back(WebPageImage());
    lvIndexDat->SetSmallImages(images);
    lvIndexDat->SetHint("Double click the item to link to the URL");
    lvIndexDat->onData = [this](int index, ui::TListItemData& item) { lvIndexDatData(index, item); };
    lvIndexDat->onDoubleClick = [this] { lvIndexDatDblClick(); };

    GroupBox2 = controls.CreateGroupBox(*Form, {{8, 424, 200, 40}, ""});
    Label1 = controls.CreateLabel(*GroupBox2, {{10, 16, 0, 0}, "Total Record:"});
    Panel1 = controls.CreatePanel(*GroupBox2, {{92, 12, 96, 20}, ""});
    lRecordCount = controls.CreateLabel(*Panel1, {{4, 3, 0, 0}, "0"});

    ProgressBar1 = controls.CreateProgressBar(*Form, {{216, 436, 452, 18}, "", false});
    ProgressBar1->SetRange(0, 100);
    ProgressBar1->SetPosition(0);
    ProgressBar1->SetShowCaption(true);
    Panel2 = controls.CreatePanel(*Form, {{216, 444, 452, 2}, ""});
    Panel2->SetColor(ui::Rgb(160, 160, 160));

    bShowDetail = controls.CreateButton(*Form, {{8, 470, 110, 25}, "&More Index.dat"});
    bShowDetail->onClick = [this] { bShowDetailClick(); };
    bShow = controls.CreateButton(*Form, {{431, 470, 75, 25}, "&Show"});
    bShow->SetDefault(true);
    bShow->onClick = [this] { bShowClick(); };
    bDelete = controls.CreateButton(*Form, {{512, 470, 75, 25}, "&Delete", false});
    bDelete->onClick = [this] { bDeleteClick(); };
    bClose = controls.CreateButton(*Form, {{593, 470, 75, 25}, "&Close"});
    bClose->onClick = [this] { Form->SetModalResult(ui::mrCancel); };

    Show1 = &PopupMenu1.Add("Show", [this] { bDelete->SetVisible(true); }, {true, true, false, 'S'});
    Show1->Visible = false;
    Form->SetPopupMenu(&PopupMenu1);
}

TfrmIndexDatViewer::~TfrmIndexDatViewer() {
    // The list asks for rows no more once the records are gone.
    lvIndexDat->onData = nullptr;
    Form->SetPopupMenu(nullptr);
}

void TfrmIndexDatViewer::Execute() {
    eFileName->SetText(browsers::JoinPath(browsers::JoinPath(browsers::GetInternetCacheFolder(machine_), "Content.IE5"),
                                          "index.dat"));
    Form->CenterOnOwner();
    (void)Form->ShowModal();
}

void TfrmIndexDatViewer::SetReading(bool reading) {
    reading_ = reading;
    // A read is never entered twice, and nothing wipes the file under it.
    bShow->SetEnabled(!reading);
    bDelete->SetEnabled(!reading);
}

void TfrmIndexDatViewer::bBrowseFolderClick() {
    platform::FileDialogArgs args;
    args.filter = "Index dat file(*.dat)|*.DAT";
    args.fileName = eFileName->Text();
    if (auto chosen = machine_.dialogs.OpenFile(args)) eFileName->SetText(*chosen);
}

void TfrmIndexDatViewer::bShowDetailClick() { controls_.Application().ShellOpen(kIndexDatPageUrl); }

void TfrmIndexDatViewer::bShowClick() {
    if (reading_) return;
    const std::string fileName = eFileName->Text();
    if (!indexdat::IsIndexDatFileName(machine_.files, fileName)) {
        (void)machine_.dialogs.ShowMessage(indexdat::kIndexDatNameRefused, kCaption, platform::mbOk);
        eFileName->SetFocus();
        return;
    }
    // The list forgets its rows before the records it shows go.
    lvIndexDat->SetItemCount(0);
    Lists.UrlList.clear();
    Lists.TimeList.clear();
    Panel2->SetVisible(false);
    ProgressBar1->SetVisible(true);
    ProgressBar1->SetPosition(0);
    SetReading(true);
    try {
        indexdat::TIndexDatTimeFormat timeFormat;
        timeFormat.UtcOffsetMinutes = machine_.system.UtcOffsetMinutes();
        timeFormat.Format = [this](const platform::LocalTime& time) { return machine_.system.DateTimeText(time); };
        TReadProgress progress(*this);
        (void)indexdat::ReadIndexDatUrls(machine_.files, fileName, 0, Lists, timeFormat, &progress);
        lvIndexDat->SetItemCount(static_cast<int>(Lists.UrlList.size()));
        lRecordCount->SetCaption(std::to_string(Lists.UrlList.size()));
    } catch (const EReadStopped&) {
        // The window closes: the list had nothing to show and shows nothing.
    } catch (...) {
        // The list shows what it had: nothing.
        platform::ReportCaughtException("Index.dat viewer, Show");
    }
    SetReading(false);
}

void TfrmIndexDatViewer::bDeleteClick() {
    if (reading_) return;
    const std::string fileName = eFileName->Text();
    // Only a name Show would read is overwritten.
    if (!indexdat::IsIndexDatFileName(machine_.files, fileName)) {
        (void)machine_.dialogs.ShowMessage(indexdat::kIndexDatNameRefused, kCaption, platform::mbOk);
        eFileName->SetFocus();
        return;
    }
    const indexdat::TWipeResult wiped = indexdat::WipeIndexDat(machine_.files, machine_.system, fileName,
                                                               settings::RunOptionsOf(settings::CurrentOptions));
    if (!wiped.Wiped()) {
        (void)machine_.dialogs.ShowMessage(fileName + "\n" + indexdat::WipeOutcomeText(wiped), kCaption,
                                          platform::mbOk | platform::mbIconWarning);
    }
    Form->SetModalResult(ui::mrCancel);
}

void TfrmIndexDatViewer::lvIndexDatData(int index, ui::TListItemData& item) const {
    if (index < 0 || static_cast<size_t>(index) >= Lists.UrlList.size() || Lists.UrlList.size() != Lists.TimeList.size())
        return;
    const indexdat::TIndexDatUrl url = Lists.UrlList[static_cast<size_t>(index)];
    item.Caption = std::string(url.Url);
    item.SubItems = {std::string(Lists.TimeList[static_cast<size_t>(index)])};
    item.ImageIndex = url.ImageIndex;
}

void TfrmIndexDatViewer::lvIndexDatDblClick() {
    const int selected = lvIndexDat->SelectedIndex();
    if (selected < 0 || static_cast<size_t>(selected) >= Lists.UrlList.size()) return;
    const std::string url(Lists.UrlList[static_cast<size_t>(selected)].Url);
    if (IsOpenableAddress(url)) controls_.Application().ShellOpen(url);
}

}  // namespace nullvane::app
