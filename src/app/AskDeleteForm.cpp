#include "app/AskDeleteForm.h"

#include "app/WindowTexts.h"
#include "base/ProductInfo.h"
#include "settings/OptionsSetting.h"

namespace nullvane::app {

TfrmAskDelete::TfrmAskDelete(ui::TControlFactory& controls, ui::TForm& owner) {
    ui::TFormArgs args;
    args.Name = kFormName;
    args.Caption = std::string("Run ") + base::kProductName;
    args.Width = 430;
    args.Height = 240;
    args.Sizeable = false;
    args.Dialog = true;
    args.Owner = &owner;
    form_ = controls.CreateForm(args);
    ui::TFontStyle red;
    red.Color = ui::clRed;
    red.Bold = true;
    lWarning = controls.CreateLabel(*form_, {{16, 14, 0, 0}, ""});
    lWarning->SetFont(red);
    lSure = controls.CreateLabel(*form_, {{16, 34, 0, 0}, ""});
    lSure->SetFont(red);
    lNote1 = controls.CreateLabel(*form_, {{16, 66, 0, 0}, "It's better to close all programs you want to clear their"});
    lNote2 = controls.CreateLabel(*form_, {{16, 82, 0, 0}, " history, the software can not delete the entries being used"});
    lNote3 = controls.CreateLabel(*form_, {{16, 98, 0, 0}, "by those programs such as Internet Explorer."});
    cbDontShow = controls.CreateCheckBox(*form_, {{16, 128, 260, 20}, "Don't show me this message again"});
    cbDontShow->onClick = [this] { cbDontShowClick(); };
    bOK = controls.CreateButton(*form_, {{224, 164, 80, 26}, "&OK"});
    bOK->SetDefault(true);
    bOK->onClick = [this] { form_->SetModalResult(ui::mrOk); };
    bCancel = controls.CreateButton(*form_, {{316, 164, 80, 26}, "&Cancel"});
    bCancel->onClick = [this] { form_->SetModalResult(ui::mrCancel); };
}

void TfrmAskDelete::cbDontShowClick() { settings::CurrentOptions.AskForSweep = !cbDontShow->Checked(); }

bool TfrmAskDelete::Execute() {
    lWarning->SetCaption(texts::kPermanentlyDelete);
    lSure->SetCaption(texts::kAreYouSure);
    form_->CenterOnOwner();
    return form_->ShowModal() == ui::mrOk;
}

}  // namespace nullvane::app
