#pragma once
// The Windows backend: real common controls (version 6 through the
// program's manifest) behind the control interfaces.
#include <memory>

#include "ui/Factory.h"

namespace nullvane::ui::win32 {

class TWin32Application;

class TWin32Factory final : public TControlFactory {
public:
    TWin32Factory();
    ~TWin32Factory() override;

    [[nodiscard]] TApplication& Application() override;

    [[nodiscard]] std::unique_ptr<TForm> CreateForm(const TFormArgs& args) override;
    [[nodiscard]] std::unique_ptr<TPanel> CreatePanel(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TGroupBox> CreateGroupBox(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TButton> CreateButton(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TCheckBox> CreateCheckBox(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TLabel> CreateLabel(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TLinkLabel> CreateLinkLabel(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TProgressBar> CreateProgressBar(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TListBox> CreateListBox(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TTreeView> CreateTreeView(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TEdit> CreateEdit(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TRadioButton> CreateRadioButton(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TListView> CreateListView(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TTimer> CreateTimer(TForm& owner) override;
    [[nodiscard]] std::unique_ptr<TReportListView> CreateReportListView(TContainer& parent,
                                                                        const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TSelectionListBox> CreateSelectionListBox(TContainer& parent,
                                                                            const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TPageControl> CreatePageControl(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TRadioGroup> CreateRadioGroup(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TComboBox> CreateComboBox(TContainer& parent, const TControlArgs& args) override;
    [[nodiscard]] std::unique_ptr<TKeyBox> CreateKeyBox(TContainer& parent, const TControlArgs& args) override;

private:
    std::unique_ptr<TWin32Application> application_;
};

}  // namespace nullvane::ui::win32
