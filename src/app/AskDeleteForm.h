#pragma once
// The confirmation before a clean.
#include <memory>

#include "ui/Factory.h"

namespace nullvane::app {

class TfrmAskDelete {
public:
    static constexpr char kFormName[] = "frmAskDelete";

    TfrmAskDelete(ui::TControlFactory& controls, ui::TForm& owner);

    // True when the user chose OK. "Don't show me this message again" sets
    // AskForSweep at once, whichever button closes the window.
    [[nodiscard]] bool Execute();

private:
    void cbDontShowClick();

    std::unique_ptr<ui::TForm> form_;
    std::unique_ptr<ui::TLabel> lWarning;
    std::unique_ptr<ui::TLabel> lSure;
    std::unique_ptr<ui::TLabel> lNote1;
    std::unique_ptr<ui::TLabel> lNote2;
    std::unique_ptr<ui::TLabel> lNote3;
    std::unique_ptr<ui::TCheckBox> cbDontShow;
    std::unique_ptr<ui::TButton> bOK;
    std::unique_ptr<ui::TButton> bCancel;
};

}  // namespace nullvane::app
