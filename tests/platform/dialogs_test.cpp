#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"

namespace sq {
namespace {

TEST(DialogsTest, scriptedResponderRecordsEveryMessageAndAnswersInOrder) {
    ScopedScriptedDialogs scripted;
    scripted->messageAnswers = {MsgResult::Cancel};
    std::vector<std::string> seenInsideTheBox;
    scripted->onMessage = [&](const MessageRequest& m) { seenInsideTheBox.push_back(m.text); };

    EXPECT_EQ(msgBox("Clear memory ?", MsgButtons::OKCancel, MsgIcon::Question), MsgResult::Cancel);
    EXPECT_EQ(msgBox("Set Fail !!!", MsgButtons::OK, MsgIcon::Critical, "Title"), MsgResult::OK);
    EXPECT_EQ(msgBox("Save ?", MsgButtons::YesNo), MsgResult::Yes);  // default answers never refuse

    auto messages = scripted->messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(messages[1].icon, MsgIcon::Critical);
    EXPECT_EQ(messages[1].title, "Title");
    EXPECT_EQ(messages[2].title, "");
    EXPECT_EQ(seenInsideTheBox, scripted->messageTexts());
    EXPECT_EQ(scripted->countMessage("Set Fail !!!"), 1);
}

TEST(DialogsTest, otherDialogsAnswerFromTheirQueuesAndCancelWhenEmpty) {
    ScopedScriptedDialogs scripted;
    scripted->inputAnswers = {std::string("42")};
    scripted->fileAnswers = {std::string("/tmp/a.qvx")};
    scripted->printerAnswers = {PrinterChoice::pdfFile("/tmp/out.pdf"), std::nullopt};

    EXPECT_EQ(dialogs().input("Level", "", "0"), std::optional<std::string>("42"));
    EXPECT_EQ(dialogs().input("Level", "", "0"), std::nullopt);
    EXPECT_EQ(dialogs().openFile({"Open", "Data File (*.qvx)|*.qvx", "", ""}), "/tmp/a.qvx");
    EXPECT_EQ(dialogs().saveFile({"Save", "", "", "x.csv"}), std::nullopt);
    auto printer = dialogs().choosePrinter();
    ASSERT_TRUE(printer.has_value());
    EXPECT_EQ(printer->outputFile, "/tmp/out.pdf");
    EXPECT_EQ(printer->paperSize, "A4");
    EXPECT_EQ(printer->copies, 1);
    EXPECT_FALSE(dialogs().choosePrinter().has_value());  // answered Cancel
    EXPECT_FALSE(dialogs().choosePrinter().has_value());  // nothing queued: Cancel
    EXPECT_TRUE(dialogs().openWithViewer("/tmp/Manual.pdf"));

    ASSERT_EQ(scripted->records.size(), 8u);
    EXPECT_EQ(scripted->records.back().kind, "viewer");
    EXPECT_EQ(scripted->records.back().text, "/tmp/Manual.pdf");
}

TEST(DialogsTest, scopedResponderRestoresThePreviousService) {
    ScopedScriptedDialogs outer;
    {
        ScopedScriptedDialogs inner;
        msgBox("inner");
        EXPECT_EQ(inner->countMessage("inner"), 1);
    }
    msgBox("outer");
    EXPECT_EQ(outer->messageTexts(), std::vector<std::string>{"outer"});
}

// The save dialog answers the filter entry chosen with the path; the preselected one by default.
TEST(DialogsTest, saveFileAsAnswersTheChosenFilter) {
    ScopedScriptedDialogs scripted;
    scripted->fileAnswers = {std::string("/tmp/a"), std::string("/tmp/b"), std::nullopt,
                             std::string("/tmp/c")};
    scripted->filterAnswers = {2};
    FileDialogRequest request;
    request.filter = "A (*.a)|*.a|B (*.b)|*.b|";
    request.filterIndex = 1;
    auto first = dialogs().saveFileAs(request);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->path, "/tmp/a");
    EXPECT_EQ(first->filterIndex, 2);
    EXPECT_EQ(dialogs().saveFileAs(request)->filterIndex, 1);
    EXPECT_EQ(dialogs().saveFileAs(request), std::nullopt);
    EXPECT_EQ(dialogs().saveFile(request), std::optional<std::string>("/tmp/c"));
    ASSERT_EQ(scripted->fileRequests.size(), 4u);
    EXPECT_EQ(scripted->fileRequests[0].filter, request.filter);
}

// A program that installed no service (the tools) has nobody to answer: a box answers what closing
// it unread would, so that no Retry or Yes starts anything, and the message is not lost.
TEST(DialogsTest, withNoServiceInstalledAMessageGoesToStandardErrorAndEveryDialogIsDeclined) {
    DialogService* installed = setDialogService(nullptr);
    const std::pair<MsgButtons, MsgResult> cases[] = {
        {MsgButtons::OK, MsgResult::OK},
        {MsgButtons::OKCancel, MsgResult::Cancel},
        {MsgButtons::AbortRetryIgnore, MsgResult::Abort},
        {MsgButtons::YesNoCancel, MsgResult::Cancel},
        {MsgButtons::YesNo, MsgResult::No},
        {MsgButtons::RetryCancel, MsgResult::Cancel},
    };
    for (const auto& [buttons, answer] : cases) {
        ::testing::internal::CaptureStderr();
        const MsgResult result = msgBox("Print Fail !!!", buttons);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Print Fail !!!\n");
        EXPECT_EQ(result, answer) << static_cast<int>(buttons);
    }
    EXPECT_EQ(dialogs().input("Level", "", "0"), std::nullopt);
    EXPECT_EQ(dialogs().openFile({}), std::nullopt);
    EXPECT_EQ(dialogs().saveFileAs({}), std::nullopt);
    EXPECT_EQ(dialogs().choosePrinter(), std::nullopt);
    EXPECT_FALSE(dialogs().openWithViewer("/tmp/Manual.pdf"));
    EXPECT_EQ(setDialogService(installed), nullptr);
}

}  // namespace
}  // namespace sq
