#pragma once
// The About window.
#include <memory>
#include <string>

#include "ui/Factory.h"

namespace nullvane::app {

// The build date as eight digits, year first, from a compiler date such as "Dec  8 2026".
[[nodiscard]] std::string BuildDateDigits(const char* compilerDate);

class TfrmAbout {
public:
    static constexpr char kFormName[] = "frmAbout";

    TfrmAbout(ui::TControlFactory& controls, ui::TForm& owner);
    void Execute();

private:
    ui::TControlFactory& controls_;
    std::unique_ptr<ui::TForm> form_;
    std::unique_ptr<ui::TLabel> lProduct;
    std::unique_ptr<ui::TLabel> lVersion;
    std::unique_ptr<ui::TLinkLabel> lHomePage;
    std::unique_ptr<ui::TLinkLabel> lSupport;
    std::unique_ptr<ui::TButton> bOK;
};

}  // namespace nullvane::app
