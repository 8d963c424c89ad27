#include "app/NewCustomItemForm.h"

#include "app/AddFolderForm.h"
#include "app/AddRegistryForm.h"
#include "base/Texts.h"
#include "customlists/CustomList.h"

namespace nullvane::app {

TfrmNewCustomItem::TfrmNewCustomItem(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner)
    : machine_(machine), controls_(controls) {
    ui::TFormArgs args;
    args.Name = kFormName;
    args.Caption = "Custom Lists";
    args.Width = 560;
    args.Height = 360;
    args.Sizeable = false;
    args.Dialog = true;
    args.Owner = &owner;
    Form = controls.CreateForm(args);
    lvContent = controls.CreateListView(*Form, {{12, 12, 400, 300}, "Content"});
    lvContent->onSelect = [this] { UpdateButtons(); };
    lvContent->onDoubleClick = [this] { bEditClick(); };
    bAddFolder = controls.CreateButton(*Form, {{424, 12, 120, 26}, "Add &File && Folder"});
    bAddFolder->onClick = [this] { bAddFolderClick(); };
    bAddRegistry = controls.CreateButton(*Form, {{424, 46, 120, 26}, "Add &Registry"});
    bAddRegistry->onClick = [this] { bAddRegistryClick(); };
    bEdit = controls.CreateButton(*Form, {{424, 80, 120, 26}, "&Edit"});
    bEdit->onClick = [this] { bEditClick(); };
    bRemove = controls.CreateButton(*Form, {{424, 114, 120, 26}, "R&emove Selected"});
    bRemove->onClick = [this] { bRemoveClick(); };
    bOK = controls.CreateButton(*Form, {{424, 252, 120, 26}, "&OK"});
    bOK->SetDefault(true);
    bOK->onClick = [this] { bOKClick(); };
    bCancel = controls.CreateButton(*Form, {{424, 286, 120, 26}, "&Cancel"});
    bCancel->onClick = [this] { Form->SetModalResult(ui::mrCancel); };
}

void TfrmNewCustomItem::LoadList() {
    lvContent->Clear();
    for (const auto& line : customlists::ReadCustomList(machine_)) lvContent->AddItem(line.Value);
    UpdateButtons();
}

void TfrmNewCustomItem::UpdateButtons() {
    const int selected = lvContent->SelectedIndex();
    bEdit->SetEnabled(selected >= 0 && customlists::IsRegistryEntry(lvContent->ItemText(selected)));
    bRemove->SetEnabled(selected >= 0);
    bOK->SetEnabled(lvContent->Count() > 0);
}

void TfrmNewCustomItem::bAddFolderClick() {
    TfrmAddFolder dialog(machine_, controls_, *Form);
    if (auto entry = dialog.Execute()) lvContent->AddItem(*entry);
    UpdateButtons();
}

void TfrmNewCustomItem::bAddRegistryClick() {
    TfrmAddRegistry dialog(controls_, *Form);
    if (auto entry = dialog.Execute()) lvContent->AddItem(*entry);
    UpdateButtons();
}

void TfrmNewCustomItem::bEditClick() {
    const int selected = lvContent->SelectedIndex();
    // File entries are removed and added anew, never edited.
    if (selected < 0 || !customlists::IsRegistryEntry(lvContent->ItemText(selected))) return;
    TfrmAddRegistry dialog(controls_, *Form);
    if (auto entry = dialog.Execute(customlists::SplitRegistryEntry(lvContent->ItemText(selected)))) {
        lvContent->SetItemText(selected, *entry);
    }
    UpdateButtons();
}

void TfrmNewCustomItem::bRemoveClick() {
    const int selected = lvContent->SelectedIndex();
    if (selected < 0) return;
    lvContent->DeleteItem(selected);
    // The entry now in that place, or the new last one.
    const int next = selected < lvContent->Count() ? selected : lvContent->Count() - 1;
    lvContent->SetSelectedIndex(next);
    if (next >= 0) lvContent->SetFocus();
    UpdateButtons();
}

void TfrmNewCustomItem::bOKClick() {
    if (lvContent->Count() == 0) return;
    if (!customlists::WriteCustomList(machine_, lvContent->Items())) {
        // The editor stays open with the list as it is.
        (void)machine_.dialogs.ShowMessage("Unable to write to " + customlists::CustomListPath(machine_),
                                          base::texts::kCaption, platform::mbOk | platform::mbIconError);
        return;
    }
    Form->SetModalResult(ui::mrOk);
}

bool TfrmNewCustomItem::Execute() {
    LoadList();
    Form->CenterOnOwner();
    return Form->ShowModal() == ui::mrOk;
}

}  // namespace nullvane::app
