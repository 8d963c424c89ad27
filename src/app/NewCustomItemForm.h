#pragma once
// "Custom Lists": the editor of the one custom list, saved to Clist.dat.
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "ui/Factory.h"

namespace nullvane::app {

class TfrmNewCustomItem {
public:
    static constexpr char kFormName[] = "frmNewCustomItem";

    TfrmNewCustomItem(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner);

    // Shows the list as saved; true when OK saved it.
    bool Execute();

    std::unique_ptr<ui::TForm> Form;
    std::unique_ptr<ui::TListView> lvContent;
    std::unique_ptr<ui::TButton> bAddFolder;
    std::unique_ptr<ui::TButton> bAddRegistry;
    std::unique_ptr<ui::TButton> bEdit;
    std::unique_ptr<ui::TButton> bRemove;
    std::unique_ptr<ui::TButton> bOK;
    std::unique_ptr<ui::TButton> bCancel;

private:
    void LoadList();
    void UpdateButtons();
    void bAddFolderClick();
    void bAddRegistryClick();
    void bEditClick();
    void bRemoveClick();
    void bOKClick();

    platform::Platform& machine_;
    ui::TControlFactory& controls_;
};

}  // namespace nullvane::app
