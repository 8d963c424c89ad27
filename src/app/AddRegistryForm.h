#pragma once
// "Add Registry": builds one registry entry of the custom list.
#include <memory>
#include <optional>
#include <string>

#include "customlists/CustomList.h"
#include "ui/Factory.h"

namespace nullvane::app {

class TfrmAddRegistry {
public:
    static constexpr char kFormName[] = "frmAddRegistry";

    TfrmAddRegistry(ui::TControlFactory& controls, ui::TForm& owner);

    // Shows the dialog, filled from `initial` when editing; the entry text on OK.
    [[nodiscard]] std::optional<std::string> Execute(const std::optional<customlists::TRegistryEntryParts>& initial = {});

    std::unique_ptr<ui::TForm> Form;
    std::unique_ptr<ui::TLabel> lKey;
    std::unique_ptr<ui::TEdit> eKey;
    std::unique_ptr<ui::TRadioButton> rbDeleteKey;
    std::unique_ptr<ui::TRadioButton> rbDeleteValues;
    std::unique_ptr<ui::TRadioButton> rbDeleteValue;
    std::unique_ptr<ui::TLabel> lValueName;
    std::unique_ptr<ui::TEdit> eValueName;
    std::unique_ptr<ui::TButton> bRegedit;
    std::unique_ptr<ui::TButton> bOK;
    std::unique_ptr<ui::TButton> bCancel;

private:
    [[nodiscard]] customlists::TRegistryEntryKind Kind() const;
    void UpdateControls();
    void bOKClick();

    ui::TControlFactory& controls_;
    std::string result_;
};

}  // namespace nullvane::app
