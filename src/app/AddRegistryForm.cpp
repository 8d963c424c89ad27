#include "app/AddRegistryForm.h"

namespace nullvane::app {

using customlists::TRegistryEntryKind;

TfrmAddRegistry::TfrmAddRegistry(ui::TControlFactory& controls, ui::TForm& owner) : controls_(controls) {
    ui::TFormArgs args;
    args.Name = kFormName;
    args.Caption = "Add Registry";
    args.Width = 460;
    args.Height = 250;
    args.Sizeable = false;
    args.Dialog = true;
    args.Owner = &owner;
    Form = controls.CreateForm(args);
    lKey = controls.CreateLabel(*Form, {{12, 12, 0, 0}, "Registry Key"});
    eKey = controls.CreateEdit(*Form, {{12, 30, 428, 22}, ""});
    eKey->SetHint("Enter the registry key like: HKEY_CURRENT_USER\\Software\\Microsoft");
    eKey->onChange = [this] { UpdateControls(); };
    rbDeleteKey = controls.CreateRadioButton(*Form, {{12, 62, 200, 20}, "Delete key"});
    rbDeleteValues = controls.CreateRadioButton(*Form, {{12, 84, 200, 20}, "Delete values under the key"});
    rbDeleteValue = controls.CreateRadioButton(*Form, {{12, 106, 200, 20}, "Delete value"});
    for (auto* radio : {rbDeleteKey.get(), rbDeleteValues.get(), rbDeleteValue.get()}) {
        radio->onClick = [this] { UpdateControls(); };
    }
    rbDeleteKey->SetChecked(true);
    lValueName = controls.CreateLabel(*Form, {{12, 134, 0, 0}, "Value Name"});
    eValueName = controls.CreateEdit(*Form, {{12, 152, 428, 22}, ""});
    eValueName->onChange = [this] { UpdateControls(); };
    bRegedit = controls.CreateButton(*Form, {{12, 186, 150, 26}, "&Run Registry Editor"});
    bRegedit->onClick = [this] { controls_.Application().ShellOpen("Regedit.exe"); };
    bOK = controls.CreateButton(*Form, {{272, 186, 80, 26}, "&OK"});
    bOK->SetDefault(true);
    bOK->onClick = [this] { bOKClick(); };
    bCancel = controls.CreateButton(*Form, {{360, 186, 80, 26}, "&Cancel"});
    bCancel->onClick = [this] { Form->SetModalResult(ui::mrCancel); };
    UpdateControls();
}

TRegistryEntryKind TfrmAddRegistry::Kind() const {
    if (rbDeleteValue->Checked()) return TRegistryEntryKind::DeleteValue;
    if (rbDeleteValues->Checked()) return TRegistryEntryKind::DeleteValuesUnderKey;
    return TRegistryEntryKind::DeleteKey;
}

void TfrmAddRegistry::UpdateControls() {
    eValueName->SetEnabled(rbDeleteValue->Checked());
    bOK->SetEnabled(customlists::RegistryEntryAllowed(eKey->Text(), Kind(), eValueName->Text()));
}

void TfrmAddRegistry::bOKClick() {
    if (!customlists::RegistryEntryAllowed(eKey->Text(), Kind(), eValueName->Text())) return;
    result_ = customlists::RegistryEntryText(eKey->Text(), Kind(), eValueName->Text());
    Form->SetModalResult(ui::mrOk);
}

std::optional<std::string> TfrmAddRegistry::Execute(const std::optional<customlists::TRegistryEntryParts>& initial) {
    if (initial) {
        eKey->SetText(initial->Key);
        eValueName->SetText(initial->ValueName);
        switch (initial->Kind) {
        case TRegistryEntryKind::DeleteKey:
            rbDeleteKey->SetChecked(true);
            break;
        case TRegistryEntryKind::DeleteValuesUnderKey:
            rbDeleteValues->SetChecked(true);
            break;
        case TRegistryEntryKind::DeleteValue:
            rbDeleteValue->SetChecked(true);
            break;
        }
    }
    UpdateControls();
    Form->CenterOnOwner();
    if (Form->ShowModal() != ui::mrOk) return std::nullopt;
    return result_;
}

}  // namespace nullvane::app
