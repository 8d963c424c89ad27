#include "app/AboutForm.h"

#include <cstring>

#include "base/ProductInfo.h"
#include "app/WebAddresses.h"

namespace nullvane::app {

std::string BuildDateDigits(const char* compilerDate) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string date(compilerDate);
    if (date.size() < 11) return "00000000";
    int month = 0;
    for (int i = 0; i < 12; ++i) {
        if (date.compare(0, 3, kMonths[i]) == 0) month = i + 1;
    }
    const int day = (date[4] == ' ' ? 0 : date[4] - '0') * 10 + (date[5] - '0');
    std::string digits = date.substr(7, 4);
    digits += static_cast<char>('0' + month / 10);
    digits += static_cast<char>('0' + month % 10);
    digits += static_cast<char>('0' + day / 10);
    digits += static_cast<char>('0' + day % 10);
    return digits;
}

TfrmAbout::TfrmAbout(ui::TControlFactory& controls, ui::TForm& owner) : controls_(controls) {
    ui::TFormArgs args;
    args.Name = kFormName;
    args.Caption = std::string("About ") + base::kProductName;
    args.Width = 340;
    args.Height = 210;
    args.Sizeable = false;
    args.Dialog = true;
    args.Owner = &owner;
    form_ = controls.CreateForm(args);
    lProduct = controls.CreateLabel(*form_, {{20, 16, 0, 0}, base::kProductName});
    lProduct->SetFont({14, true});
    lVersion = controls.CreateLabel(
        *form_, {{20, 50, 0, 0}, std::string("Version: ") + base::kVersionText + "   Build " + BuildDateDigits(__DATE__)});
    lHomePage = controls.CreateLinkLabel(*form_, {{20, 76, 0, 0}, kHomePageText});
    lHomePage->onClick = [this] { controls_.Application().ShellOpen(kHomePageUrl); };
    lSupport = controls.CreateLinkLabel(*form_, {{20, 96, 0, 0}, kSupportEmail});
    lSupport->onClick = [this] { controls_.Application().ShellOpen(std::string("mailto:") + kSupportEmail); };
    bOK = controls.CreateButton(*form_, {{130, 132, 75, 26}, "&OK"});
    bOK->SetDefault(true);
    bOK->onClick = [this] { form_->SetModalResult(ui::mrOk); };
}

void TfrmAbout::Execute() {
    form_->CenterOnOwner();
    (void)form_->ShowModal();
}

}  // namespace nullvane::app
