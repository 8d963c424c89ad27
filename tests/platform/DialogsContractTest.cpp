// Message boxes: the button pressed is the answer; caption and text are
// shown as given. Under Wine (with a display) a helper thread reads the real
// box and presses the button.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ServiceBackends.h"

namespace nullvane::testing {
namespace {

using platform::sim::AskedMessageBox;
using platform::sim::SimDialogs;

template <class Backend>
class DialogsContractTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Backend::Available()) GTEST_SKIP() << "no display for windows";
        backend = std::make_unique<Backend>();
    }
    platform::Dialogs& dialogs() { return backend->dialogs; }
    std::unique_ptr<Backend> backend;
};

#ifdef _WIN32
using DialogsBackends = ::testing::Types<SimDialogsBackend, Win32DialogsBackend>;
#else
using DialogsBackends = ::testing::Types<SimDialogsBackend>;
#endif
TYPED_TEST_SUITE(DialogsContractTest, DialogsBackends, BackendName);

const uint32_t kQuestion = platform::mbYesNo | platform::mbIconInformation | platform::mbDefButton2;

TYPED_TEST(DialogsContractTest, AQuestionAnswersWithThePressedButton) {
    const std::string text = "Do you want to delete all files and folders under C:\\Users\\T\xC3\xA9st\\?";
    this->backend->AnswerNext(platform::idNo);
    EXPECT_EQ(this->dialogs().ShowMessage(text, "Nullvane", kQuestion), platform::idNo);
    this->backend->Finish();
    auto shown = this->backend->LastShown();
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->caption, "Nullvane");
    EXPECT_EQ(shown->text, text);

    this->backend->AnswerNext(platform::idYes);
    EXPECT_EQ(this->dialogs().ShowMessage(text, "Nullvane", kQuestion), platform::idYes);
    this->backend->Finish();
}

TYPED_TEST(DialogsContractTest, ABoxCanBeAskedFromAnotherThread) {
    int answer = 0;
    this->backend->AnswerNext(platform::idOk);
    std::thread run([&] {
        answer = this->dialogs().ShowMessage("Nothing is ticked.", "Nullvane",
                                            platform::mbOk | platform::mbIconInformation);
    });
    run.join();
    this->backend->Finish();
    EXPECT_EQ(answer, platform::idOk);
}

// ---- the sim's script ----

TEST(SimDialogs, AnswersFromTheQueueThenTheDefaultButton) {
    SimDialogs dialogs;
    dialogs.QueueAnswers({platform::idYes, platform::idNo});
    EXPECT_EQ(dialogs.ShowMessage("a", "Nullvane", kQuestion), platform::idYes);
    EXPECT_EQ(dialogs.ShowMessage("b", "Nullvane", kQuestion), platform::idNo);
    EXPECT_EQ(dialogs.ShowMessage("c", "Nullvane", kQuestion), platform::idNo) << "No is the default button";
    EXPECT_EQ(dialogs.ShowMessage("d", "Nullvane", platform::mbYesNo), platform::idYes);
    EXPECT_EQ(dialogs.ShowMessage("e", "Nullvane", platform::mbOk | platform::mbIconError), platform::idOk);
    dialogs.SetDefaultAnswer(platform::idCancel);
    EXPECT_EQ(dialogs.ShowMessage("f", "Nullvane", platform::mbYesNo), platform::idCancel);

    auto asked = dialogs.Asked();
    ASSERT_EQ(asked.size(), 6u);
    EXPECT_EQ(asked[0].text, "a");
    EXPECT_EQ(asked[0].caption, "Nullvane");
    EXPECT_EQ(asked[0].flags, kQuestion);
    EXPECT_EQ(asked[4].flags, uint32_t{platform::mbOk | platform::mbIconError});
}

TEST(SimDialogs, RecordsBoxesFromManyThreadsAndLetsAResponderAct) {
    SimDialogs dialogs;
    std::atomic<int> seenByResponder{0};
    dialogs.SetResponder([&](const AskedMessageBox& box) {
        ++seenByResponder;
        return box.text == "yes please" ? platform::idYes : platform::idNo;
    });
    std::vector<std::thread> threads;
    std::atomic<int> yes{0};
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] {
            if (dialogs.ShowMessage(i % 2 ? "yes please" : "no thanks", "Nullvane", kQuestion) == platform::idYes) ++yes;
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(dialogs.AskedCount(), 8u);
    EXPECT_EQ(seenByResponder.load(), 8);
    EXPECT_EQ(yes.load(), 4);
}

TEST(SimDialogs, FileDialogsAnswerFromTheirQueuesAndCancelOtherwise) {
    SimDialogs dialogs;
    dialogs.QueueSaveAnswer("C:\\log.txt");
    platform::FileDialogArgs args{"Save log", "Text files (*.txt)|*.txt", "txt", "log.txt", ""};
    EXPECT_EQ(dialogs.SaveFile(args), std::optional<std::string>("C:\\log.txt"));
    EXPECT_EQ(dialogs.SaveFile(args), std::nullopt);
    EXPECT_EQ(dialogs.OpenFile(args), std::nullopt);
    ASSERT_EQ(dialogs.SaveRequests().size(), 2u);
    EXPECT_EQ(dialogs.SaveRequests()[0].title, "Save log");
    EXPECT_EQ(dialogs.OpenRequests().size(), 1u);
}

}  // namespace
}  // namespace nullvane::testing
