#include "app/AddFolderForm.h"

#include "removal/FileRemoval.h"

namespace nullvane::app {

using customlists::TFileEntryKind;

namespace {
constexpr char kBrowseTitle[] = "Please select the directory to add";
}  // namespace

TfrmAddFolder::TfrmAddFolder(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner)
    : machine_(machine) {
    ui::TFormArgs args;
    args.Name = kFormName;
    args.Caption = "Add File and Folder";
    args.Width = 460;
    args.Height = 400;
    args.Sizeable = false;
    args.Dialog = true;
    args.Owner = &owner;
    Form = controls.CreateForm(args);

    gbKind = controls.CreateGroupBox(*Form, {{12, 8, 428, 66}, ""});
    rbSingleFile = controls.CreateRadioButton(*gbKind, {{12, 16, 300, 20}, "Delete single file"});
    rbFolders = controls.CreateRadioButton(*gbKind, {{12, 38, 300, 20}, "Delete folders containing multiple files"});
    rbSingleFile->SetChecked(true);
    rbSingleFile->onClick = [this] { rbKindClick(); };
    rbFolders->onClick = [this] { rbKindClick(); };

    gbFolder = controls.CreateGroupBox(*Form, {{12, 80, 428, 56}, "Select a folder"});
    eFolder = controls.CreateEdit(*gbFolder, {{12, 22, 360, 22}, ""});
    eFolder->onChange = [this] { UpdateControls(); };
    bBrowse = controls.CreateButton(*gbFolder, {{380, 21, 36, 24}, "..."});
    bBrowse->onClick = [this] { bBrowseClick(); };

    // The file list and the deleting mode share one place; the kind shows one of them.
    gbFile = controls.CreateGroupBox(*Form, {{12, 142, 428, 180}, "Select file"});
    lvFiles = controls.CreateListView(*gbFile, {{12, 20, 404, 148}, "File"});
    lvFiles->onSelect = [this] { UpdateControls(); };
    gbMode = controls.CreateGroupBox(*Form, {{12, 142, 428, 180}, "Select deleting mode", false});
    rbDeleteFolder = controls.CreateRadioButton(*gbMode, {{12, 22, 380, 20}, "Delete this folder"});
    rbDeleteByMask =
        controls.CreateRadioButton(*gbMode, {{12, 46, 380, 20}, "Delete files in this folder(use wildcard match)"});
    rbDeleteFolder->SetChecked(true);
    rbDeleteFolder->onClick = [this] { UpdateControls(); };
    rbDeleteByMask->onClick = [this] { UpdateControls(); };
    eMask = controls.CreateEdit(*gbMode, {{32, 72, 160, 22}, "*."});
    eMask->onChange = [this] { UpdateControls(); };
    lMaskHint = controls.CreateLabel(*gbMode, {{200, 76, 0, 0}, "(For example: *.txt)"});

    bOK = controls.CreateButton(*Form, {{272, 332, 80, 26}, "&OK"});
    bOK->SetDefault(true);
    bOK->onClick = [this] { bOKClick(); };
    bCancel = controls.CreateButton(*Form, {{360, 332, 80, 26}, "&Cancel"});
    bCancel->onClick = [this] { Form->SetModalResult(ui::mrCancel); };
    UpdateControls();
}

TFileEntryKind TfrmAddFolder::Kind() const {
    if (rbSingleFile->Checked()) return TFileEntryKind::SingleFile;
    return rbDeleteByMask->Checked() ? TFileEntryKind::FilesByMask : TFileEntryKind::WholeFolder;
}

std::string TfrmAddFolder::ChosenFile() const {
    const int selected = lvFiles->SelectedIndex();
    return selected >= 0 ? lvFiles->ItemText(selected) : std::string();
}

void TfrmAddFolder::FillFileList() {
    // Only the files of the folder in the box, whatever their attributes, in listing order.
    lvFiles->Clear();
    const std::string folder = eFolder->Text();
    if (!folder.empty() && folder.find_first_of("*?") == std::string::npos && machine_.files.DirectoryExists(folder)) {
        for (const platform::FileEntry& entry : removal::FilesIn(machine_.files, folder)) lvFiles->AddItem(entry.name);
    }
    UpdateControls();
}

void TfrmAddFolder::rbKindClick() {
    const bool single = rbSingleFile->Checked();
    gbFile->SetVisible(single);
    gbMode->SetVisible(!single);
    if (single) FillFileList();
    UpdateControls();
}

void TfrmAddFolder::bBrowseClick() {
    auto chosen = machine_.dialogs.BrowseForFolder(kBrowseTitle);
    if (!chosen) return;
    eFolder->SetText(*chosen);
    FillFileList();
}

void TfrmAddFolder::UpdateControls() {
    eMask->SetEnabled(rbDeleteByMask->Checked());
    bOK->SetEnabled(customlists::FileEntryAllowed(machine_, eFolder->Text(), Kind(), ChosenFile(), eMask->Text()));
}

void TfrmAddFolder::bOKClick() {
    if (!customlists::FileEntryAllowed(machine_, eFolder->Text(), Kind(), ChosenFile(), eMask->Text())) return;
    result_ = customlists::FileEntryText(eFolder->Text(), Kind(), ChosenFile(), eMask->Text());
    Form->SetModalResult(ui::mrOk);
}

std::optional<std::string> TfrmAddFolder::Execute() {
    Form->CenterOnOwner();
    if (Form->ShowModal() != ui::mrOk) return std::nullopt;
    return result_;
}

}  // namespace nullvane::app
