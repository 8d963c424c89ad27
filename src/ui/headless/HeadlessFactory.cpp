#include "ui/headless/HeadlessFactory.h"

#include <algorithm>

namespace nullvane::ui::headless {

void THeadlessApplication::Run() {
    if (!host_.pumpUntil) return;
    while (!terminated_) host_.pumpUntil([this] { return terminated_; }, 1000);
}

bool THeadlessApplication::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    if (host_.pumpUntil) return host_.pumpUntil(done, timeoutMs);
    return done();
}

std::shared_ptr<TChildRegistry> THeadlessFactory::RegistryOf(TContainer& parent) const {
    if (auto* form = dynamic_cast<THeadlessForm*>(&parent)) return form->Registry();
    if (auto* panel = dynamic_cast<THeadlessPanel*>(&parent)) return panel->Registry();
    if (auto* group = dynamic_cast<THeadlessGroupBox*>(&parent)) return group->Registry();
    if (auto* page = dynamic_cast<THeadlessTabSheet*>(&parent)) return page->Registry();
    return nullptr;
}

std::unique_ptr<TForm> THeadlessFactory::CreateForm(const TFormArgs& args) {
    return std::make_unique<THeadlessForm>(*this, args);
}

std::unique_ptr<TPanel> THeadlessFactory::CreatePanel(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessPanel>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TGroupBox> THeadlessFactory::CreateGroupBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessGroupBox>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TButton> THeadlessFactory::CreateButton(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessButton>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TCheckBox> THeadlessFactory::CreateCheckBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessCheckBox>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TLabel> THeadlessFactory::CreateLabel(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessLabel>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TLinkLabel> THeadlessFactory::CreateLinkLabel(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessLinkLabel>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TProgressBar> THeadlessFactory::CreateProgressBar(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessProgressBar>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TListBox> THeadlessFactory::CreateListBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessListBox>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TTreeView> THeadlessFactory::CreateTreeView(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessTreeView>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TEdit> THeadlessFactory::CreateEdit(TContainer& parent, const TControlArgs& args) {
    auto edit = std::make_unique<THeadlessEdit>(RegistryOf(parent), args.Bounds, "", args.Visible);
    edit->SetText(args.Caption);
    return edit;
}

std::unique_ptr<TRadioButton> THeadlessFactory::CreateRadioButton(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessRadioButton>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible, &parent);
}

std::unique_ptr<TListView> THeadlessFactory::CreateListView(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessListView>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TTimer> THeadlessFactory::CreateTimer(TForm&) { return std::make_unique<THeadlessTimer>(); }

std::unique_ptr<TReportListView> THeadlessFactory::CreateReportListView(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessReportListView>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TSelectionListBox> THeadlessFactory::CreateSelectionListBox(TContainer& parent,
                                                                            const TControlArgs& args) {
    return std::make_unique<THeadlessSelectionListBox>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TPageControl> THeadlessFactory::CreatePageControl(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessPageControl>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TRadioGroup> THeadlessFactory::CreateRadioGroup(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessRadioGroup>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TComboBox> THeadlessFactory::CreateComboBox(TContainer& parent, const TControlArgs& args) {
    return std::make_unique<THeadlessComboBox>(RegistryOf(parent), args.Bounds, args.Caption, args.Visible);
}

std::unique_ptr<TKeyBox> THeadlessFactory::CreateKeyBox(TContainer& parent, const TControlArgs& args) {
    auto box = std::make_unique<THeadlessKeyBox>(RegistryOf(parent), args.Bounds, "", args.Visible);
    box->SetText(args.Caption);
    return box;
}

void THeadlessFactory::ScriptModal(const std::string& formName, TModalScript script) {
    scripts_[formName].push_back(std::move(script));
}

TModalResult THeadlessFactory::PlayModal(THeadlessForm& form) {
    modalRuns_.push_back(form.Name());
    auto& queue = scripts_[form.Name()];
    if (!queue.empty()) {
        TModalScript script = std::move(queue.front());
        queue.pop_front();
        script(form);
    }
    return form.ModalResult() == mrNone ? mrCancel : form.ModalResult();
}

THeadlessForm* THeadlessFactory::FindForm(const std::string& name) const {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        if ((*it)->Name() == name) return *it;
    }
    return nullptr;
}

void THeadlessFactory::Unregister(THeadlessForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

}  // namespace nullvane::ui::headless
