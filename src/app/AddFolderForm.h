#pragma once
// "Add File and Folder": builds one file or folder entry of the custom list.
#include <memory>
#include <optional>
#include <string>

#include "customlists/CustomList.h"
#include "platform/Platform.h"
#include "ui/Factory.h"

namespace nullvane::app {

class TfrmAddFolder {
public:
    static constexpr char kFormName[] = "frmAddFolder";

    TfrmAddFolder(platform::Platform& machine, ui::TControlFactory& controls, ui::TForm& owner);

    // The entry text on OK.
    [[nodiscard]] std::optional<std::string> Execute();

    std::unique_ptr<ui::TForm> Form;
    std::unique_ptr<ui::TGroupBox> gbKind;
    std::unique_ptr<ui::TRadioButton> rbSingleFile;
    std::unique_ptr<ui::TRadioButton> rbFolders;
    std::unique_ptr<ui::TGroupBox> gbFolder;
    std::unique_ptr<ui::TEdit> eFolder;
    std::unique_ptr<ui::TButton> bBrowse;
    std::unique_ptr<ui::TGroupBox> gbFile;
    std::unique_ptr<ui::TListView> lvFiles;
    std::unique_ptr<ui::TGroupBox> gbMode;
    std::unique_ptr<ui::TRadioButton> rbDeleteFolder;
    std::unique_ptr<ui::TRadioButton> rbDeleteByMask;
    std::unique_ptr<ui::TEdit> eMask;
    std::unique_ptr<ui::TLabel> lMaskHint;
    std::unique_ptr<ui::TButton> bOK;
    std::unique_ptr<ui::TButton> bCancel;

private:
    [[nodiscard]] customlists::TFileEntryKind Kind() const;
    [[nodiscard]] std::string ChosenFile() const;
    void FillFileList();
    void rbKindClick();
    void bBrowseClick();
    void UpdateControls();
    void bOKClick();

    platform::Platform& machine_;
    std::string result_;
};

}  // namespace nullvane::app
