#include <gtest/gtest.h>

#include "ui/headless/HeadlessFactory.h"

namespace nullvane::ui {
namespace {

using headless::THeadlessFactory;
using headless::THeadlessForm;
using headless::THeadlessTreeView;

TEST(ProgressBarCaption, IsTheWholePercentageOfTheRangeWithTheFractionDropped) {
    EXPECT_EQ(TProgressBar::PercentText(0, 0, 1000), "0%");
    EXPECT_EQ(TProgressBar::PercentText(999, 0, 1000), "99%");
    EXPECT_EQ(TProgressBar::PercentText(1000, 0, 1000), "100%");
    // A removing pass may find more than its pre-scan counted.
    EXPECT_EQ(TProgressBar::PercentText(1234, 0, 1000), "123%");
    EXPECT_EQ(TProgressBar::PercentText(5, 0, 0), "0%");

    THeadlessFactory factory;
    auto form = factory.CreateForm({});
    auto bar = factory.CreateProgressBar(*form, {});
    bar->SetRange(0, 1000);
    bar->SetCaption("Prepare to clean...");
    bar->SetPosition(500);
    EXPECT_EQ(bar->Position(), 500);
    EXPECT_EQ(bar->Caption(), "50%");
}

TEST(MenuShortCuts, RunOnlyEnabledEntriesAfterTheirMenuIsBroughtUpToDate) {
    TMenuItem root;
    TMenuItem& edit = root.Add("Edit");
    int saves = 0;
    TMenuItem& save = edit.Add("S&ave to text file", [&] { ++saves; }, {true, false, false, 'S'});
    bool logHasLines = false;
    edit.onPopup = [&] { save.Enabled = logHasLines; };

    EXPECT_FALSE(ExecuteShortCut(root, {true, false, false, 'S'}));
    logHasLines = true;
    EXPECT_TRUE(ExecuteShortCut(root, {true, false, false, 'S'}));
    EXPECT_EQ(saves, 1);
    // Other modifiers make another shortcut.
    EXPECT_FALSE(ExecuteShortCut(root, {true, true, false, 'S'}));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ((TShortCut{true, true, false, 'C'}).Text(), "Ctrl+Alt+C");
    EXPECT_EQ(root.Find("S&ave to text file"), &save);
}

TEST(HeadlessTree, TellsStateImageFromLabelAndHidesChildrenOfCollapsedNodes) {
    THeadlessFactory factory;
    auto form = factory.CreateForm({});
    auto created = factory.CreateTreeView(*form, {{0, 0, 200, 300}, ""});
    auto& tree = dynamic_cast<THeadlessTreeView&>(*created);
    const TNodeId first = tree.AddNode(kNoNode, "Internet Explorer", 1, 1);
    const TNodeId cookies = tree.AddNode(first, "Cookies", 0, 1);
    const TNodeId second = tree.AddNode(kNoNode, "Windows", 2, 1);
    // Added later under the first category, it still shows under it.
    const TNodeId history = tree.AddNode(first, "History", 0, 1);

    auto hit = tree.HitTest(tree.StateImagePoint(second));
    EXPECT_EQ(hit.Node, second);
    EXPECT_TRUE(hit.OnStateImage);
    EXPECT_FALSE(hit.OnLabel);

    tree.SetExpanded(first, true);
    hit = tree.HitTest(tree.LabelPoint(history));
    EXPECT_EQ(hit.Node, history);
    EXPECT_TRUE(hit.OnLabel);
    EXPECT_FALSE(hit.OnStateImage);
    EXPECT_EQ(tree.HitTest(tree.StateImagePoint(second)).Node, second);

    // A blank state image cannot be clicked.
    tree.SetStateIndex(cookies, 0);
    EXPECT_FALSE(tree.HitTest(tree.StateImagePoint(cookies)).OnStateImage);
}

TEST(HeadlessForm, KeepsItsMinimumSizeAndReportsResizes) {
    THeadlessFactory factory;
    auto form = factory.CreateForm({"frmTest", "", "Test", 704, 507});
    int resizes = 0;
    form->onResize = [&] { ++resizes; };
    form->SetMinSize(610, 400);
    form->SetBounds({0, 0, 500, 300});
    EXPECT_EQ(form->Width(), 610);
    EXPECT_EQ(form->Height(), 400);
    EXPECT_EQ(resizes, 1);
    form->SetBounds({10, 10, 610, 400});
    EXPECT_EQ(resizes, 1);
}

TEST(HeadlessModalWindows, AnswerFromTheirScriptAndReactivateTheOwner) {
    THeadlessFactory factory;
    auto owner = factory.CreateForm({"frmOwner", "", "Owner", 400, 300});
    int activations = 0;
    owner->onActivate = [&] { ++activations; };
    owner->Show();
    EXPECT_EQ(activations, 1);

    auto dialog = factory.CreateForm({"frmAsk", "", "Ask", 300, 200, false, true, owner.get()});
    auto ok = factory.CreateButton(*dialog, {{10, 10, 75, 25}, "&OK"});
    ok->onClick = [&] { dialog->SetModalResult(mrOk); };

    factory.ScriptModal("frmAsk", [](THeadlessForm& form) { form.Find<headless::THeadlessButton>("&OK")->Click(); });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(activations, 2);
    // Without a script the window is cancelled.
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(factory.ModalRuns(), (std::vector<std::string>{"frmAsk", "frmAsk"}));
}

}  // namespace
}  // namespace nullvane::ui
