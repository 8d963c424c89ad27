#pragma once
// The headless backend: controls as state, a message queue supplied by the
// host (the simulated desktop in tests), scripted modal windows.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Factory.h"
#include "ui/headless/HeadlessChoiceControls.h"
#include "ui/headless/HeadlessControls.h"
#include "ui/headless/HeadlessForm.h"
#include "ui/headless/HeadlessListControls.h"
#include "ui/headless/HeadlessPageControl.h"

namespace nullvane::ui::headless {

using TMessageHandler = std::function<void(uint32_t msg, uintptr_t wParam, intptr_t lParam)>;

// How headless forms meet the message queue. Every member is optional:
// without them a form gets a private handle and nothing is pumped.
struct THeadlessHost {
    std::function<platform::WindowId(const std::string& className, TMessageHandler handler)> registerWindow;
    std::function<void(platform::WindowId)> unregisterWindow;
    // Delivers posted messages and synchronised calls until `done` or the time is up.
    std::function<bool(const std::function<bool()>& done, int timeoutMs)> pumpUntil;
    int screenWidth = 1280;
    int screenHeight = 1024;
};

// Plays a modal window: the script works the form's controls (which set the
// modal result); a script that sets none leaves the window cancelled.
using TModalScript = std::function<void(THeadlessForm&)>;

class THeadlessApplication final : public TApplication {
public:
    explicit THeadlessApplication(THeadlessHost& host) : host_(host) {}
    void SetTitle(const std::string& title) override { title_ = title; }
    void Run() override;
    void Terminate() override { terminated_ = true; }
    [[nodiscard]] bool Terminated() const override { return terminated_; }
    bool WaitUntil(const std::function<bool()>& done, int timeoutMs) override;
    void ShellOpen(const std::string& target) override { opened_.push_back(target); }
    void ProcessOneMessage() override {
        if (onProcessMessage) onProcessMessage();
    }
    // What a pending message does when a long task lets one through (a
    // test's user acting meanwhile).
    std::function<void()> onProcessMessage;
    [[nodiscard]] int HintPause() const override { return hintPause_; }
    void SetHintPause(int milliseconds) override { hintPause_ = milliseconds; }

    [[nodiscard]] std::string Title() const { return title_; }
    [[nodiscard]] const std::vector<std::string>& Opened() const { return opened_; }

private:
    THeadlessHost& host_;
    std::string title_;
    bool terminated_ = false;
    std::vector<std::string> opened_;
    int hintPause_ = 500;
};

class THeadlessFactory final : public TControlFactory {
public:
    explicit THeadlessFactory(THeadlessHost host = {}) : host_(std::move(host)), application_(host_) {}

    [[nodiscard]] TApplication& Application() override { return application_; }
    [[nodiscard]] THeadlessApplication& HeadlessApplication() { return application_; }
    [[nodiscard]] THeadlessHost& Host() { return host_; }

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

    // Queues how the next modal run of the form of that name goes.
    void ScriptModal(const std::string& formName, TModalScript script);
    // Names of the forms run modally, in order.
    [[nodiscard]] const std::vector<std::string>& ModalRuns() const { return modalRuns_; }
    // Called by a form's ShowModal.
    TModalResult PlayModal(THeadlessForm& form);

    // Live forms by name (the newest of a name wins).
    [[nodiscard]] THeadlessForm* FindForm(const std::string& name) const;
    void Register(THeadlessForm* form) { forms_.push_back(form); }
    void Unregister(THeadlessForm* form);

private:
    std::shared_ptr<TChildRegistry> RegistryOf(TContainer& parent) const;

    THeadlessHost host_;
    THeadlessApplication application_;
    std::map<std::string, std::deque<TModalScript>> scripts_;
    std::vector<std::string> modalRuns_;
    std::vector<THeadlessForm*> forms_;
};

}  // namespace nullvane::ui::headless
