#pragma once
// The backend a window is built with: it makes the controls and runs the
// message loop.
#include <functional>
#include <memory>
#include <string>

#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/ReportListView.h"
#include "ui/SelectionListBox.h"
#include "ui/KeyBox.h"
#include "ui/PageControl.h"
#include "ui/RadioGroup.h"

namespace nullvane::ui {

struct TControlArgs {
    TRect Bounds;
    std::string Caption;
    bool Visible = true;
};

class TApplication {
public:
    virtual ~TApplication() = default;
    virtual void SetTitle(const std::string& title) = 0;
    // The message loop, until Terminate.
    virtual void Run() = 0;
    virtual void Terminate() = 0;
    [[nodiscard]] virtual bool Terminated() const = 0;
    // Processes messages until `done` holds or the time is up; true if done.
    virtual bool WaitUntil(const std::function<bool()>& done, int timeoutMs) = 0;
    // Opens a document, a folder or a web address with the shell ("Open").
    virtual void ShellOpen(const std::string& target) = 0;
    // Handles one pending message, if there is one: a long task on the
    // window thread stays responsive by calling this as it goes.
    virtual void ProcessOneMessage() {}
    // How long the pointer rests on a control before its hint shows (500 ms
    // unless changed); one setting for the whole program.
    [[nodiscard]] virtual int HintPause() const = 0;
    virtual void SetHintPause(int milliseconds) = 0;
};

class TControlFactory {
public:
    virtual ~TControlFactory() = default;
    [[nodiscard]] virtual TApplication& Application() = 0;

    [[nodiscard]] virtual std::unique_ptr<TForm> CreateForm(const TFormArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TPanel> CreatePanel(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TGroupBox> CreateGroupBox(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TButton> CreateButton(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TCheckBox> CreateCheckBox(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TLabel> CreateLabel(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TLinkLabel> CreateLinkLabel(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TProgressBar> CreateProgressBar(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TListBox> CreateListBox(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TTreeView> CreateTreeView(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TEdit> CreateEdit(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TRadioButton> CreateRadioButton(TContainer& parent, const TControlArgs& args) = 0;
    // The caption is the column's header.
    [[nodiscard]] virtual std::unique_ptr<TListView> CreateListView(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TTimer> CreateTimer(TForm& owner) = 0;
    // A report list that asks its owner for each row it shows.
    [[nodiscard]] virtual std::unique_ptr<TReportListView> CreateReportListView(TContainer& parent,
                                                                                const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TSelectionListBox> CreateSelectionListBox(TContainer& parent,
                                                                                    const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TPageControl> CreatePageControl(TContainer& parent, const TControlArgs& args) = 0;
    // The caption is the frame's.
    [[nodiscard]] virtual std::unique_ptr<TRadioGroup> CreateRadioGroup(TContainer& parent, const TControlArgs& args) = 0;
    // The height is the closed box's.
    [[nodiscard]] virtual std::unique_ptr<TComboBox> CreateComboBox(TContainer& parent, const TControlArgs& args) = 0;
    [[nodiscard]] virtual std::unique_ptr<TKeyBox> CreateKeyBox(TContainer& parent, const TControlArgs& args) = 0;
};

}  // namespace nullvane::ui
