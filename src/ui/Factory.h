#pragma once
// The backend a window is built with: it makes the controls and runs the
// message loop.
#include <functional>
#include <memory>
#include <string>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/ReportListView.h"
#include "ui/SelectionListBox.h"

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
};

}  // namespace nullvane::ui
