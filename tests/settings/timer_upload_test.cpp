// The timer table's three-frame upload: the acknowledgement chain, its failures, the instrument's
// re-send requests and Timer3's time-out. Every upload ends in exactly one report and leaves writes
// free again.
#include <gtest/gtest.h>

#include <map>

#include "link/requests.h"
#include "metersim/protocol.h"
#include "settings/settings_fixture.h"
#include "settings/timer_frm.h"
#include "support/setting_window_support.h"

using namespace sq;

namespace {

class TimerUploadTest : public sqtest::SettingsTest {
protected:
    // What a Set does: a kept table, the upload pending and its first frame sent, which holds other
    // writes back.
    void uploadPending() {
        TimerSettings t;
        t.Mode = 3;
        t.RepeatCount = 2;
        t.PcStartHour[15] = 23;
        keptSettings().timer.keep(t);
        shared().ReplyWaitTicks = 0;
        flags().TimerSetPending = kTrue;
        WriteTimerSettings1(t);
        wait(0.1);
    }
    // The upload frames the program sent, in order.
    std::vector<uint8_t> uploadFrames() const {
        std::vector<uint8_t> codes;
        for (const auto& r : sim->requests())
            if (r.code >= CmdWriteTimerSettings1 && r.code <= CmdWriteTimerSettings3) codes.push_back(r.code);
        return codes;
    }
    // A panel read after the upload goes out, no longer held back.
    void expectReadGoesOut() {
        const int before = sent(CmdReadTimerSettings);
        showPanel().TimersBtn.click();
        EXPECT_EQ(sent(CmdReadTimerSettings), before + 1);
        wait(0.5);
    }
    TimerFrm& openFilled() { return openFromPanel<TimerFrm>(&Setting410PanelFrm::TimersBtn); }
};

TEST_F(TimerUploadTest, eachAcknowledgementSendsTheNextFrameAndEveryEndLeavesWritesFree) {
    struct Step {
        uint8_t code, d0;
    };
    struct Case {
        const char* name;
        bool pending;
        std::vector<Step> replies;
        std::vector<uint8_t> sentFrames;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"all three acknowledged",
         true,
         {{0x8A, 0x8A}, {0x8B, 0x8B}, {0x8C, 0x8C}},
         {0x8B, 0x8C},
         {"Set OK !!!"}},
        {"frame 1 failed", true, {{0x8A, 0x00}}, {}, {"Set Fail !!!"}},
        {"frame 2 answered with 8A", true, {{0x8A, 0x8A}, {0x8B, 0x8A}}, {0x8B}, {"Set Fail !!!"}},
        {"frame 3 failed", true, {{0x8A, 0x8A}, {0x8B, 0x8B}, {0x8C, 0x01}}, {0x8B, 0x8C}, {"Set Fail !!!"}},
        {"stray acknowledgements with no upload", false, {{0x8A, 0x8A}, {0x8B, 0x8B}, {0x8C, 0x8C}}, {}, {}},
        {"a stray failure with no upload", false, {{0x8A, 0x00}, {0x8B, 0x01}, {0x8C, 0x01}}, {}, {}},
        // Only the answer to the frame sent last moves the upload on: no frame is skipped.
        {"frame 2 and 3 answered before frame 1",
         true,
         {{0x8B, 0x8B}, {0x8C, 0x8C}, {0x8B, 0x00}, {0x8A, 0x8A}, {0x8B, 0x8B}, {0x8C, 0x8C}},
         {0x8B, 0x8C},
         {"Set OK !!!"}},
        {"frame 3 answered before frame 2",
         true,
         {{0x8A, 0x8A}, {0x8C, 0x8C}, {0x8A, 0x8A}, {0x8B, 0x8B}, {0x8C, 0x8C}},
         {0x8B, 0x8C},
         {"Set OK !!!"}},
        {"every acknowledgement twice",
         true,
         {{0x8A, 0x8A}, {0x8A, 0x8A}, {0x8B, 0x8B}, {0x8B, 0x8B}, {0x8C, 0x8C}, {0x8C, 0x8C}},
         {0x8B, 0x8C},
         {"Set OK !!!"}},
    };
    Panel& p = startIdentified();
    // The instrument answers nothing itself: the test plays its acknowledgements.
    for (uint8_t code : {CmdWriteTimerSettings1, CmdWriteTimerSettings2, CmdWriteTimerSettings3})
        sim->dropReply(0, code);
    bool pollingAtSend = true;
    sim->setRequestObserver([&](const metersim::LoggedRequest& r) {
        if (r.code == CmdWriteTimerSettings2) pollingAtSend = p.Timer1.enabled();
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.pending) uploadPending();
        dialogs->clear();
        sim->clearLog();
        for (const Step& s : c.replies) {
            sim->sendRaw(metersim::buildReply(s.code, {s.d0}));
            wait(0.3);
        }
        EXPECT_EQ(uploadFrames(), c.sentFrames);
        EXPECT_EQ(dialogs->messageTexts(), c.messages);
        if (!c.messages.empty()) {
            EXPECT_EQ(dialogs->messages()[0].icon,
                      c.messages[0] == "Set OK !!!" ? MsgIcon::None : MsgIcon::Critical);
        }
        EXPECT_EQ(flags().TimerSetPending, kFalse);
        EXPECT_EQ(shared().SendSuspended, kFalse);
        EXPECT_TRUE(p.Timer1.enabled());
        expectReadGoesOut();
    }
    EXPECT_FALSE(pollingAtSend) << "frame 2 goes out with polling paused";
}

// An instrument that answers every frame twice: each frame goes out once and one "Set OK !!!" ends
// the upload.
TEST_F(TimerUploadTest, duplicatedAcknowledgementsSendEachFrameOnceAndReportOnce) {
    startIdentified();
    TimerFrm& f = openFilled();
    for (uint8_t code : {CmdWriteTimerSettings1, CmdWriteTimerSettings2, CmdWriteTimerSettings3})
        sim->duplicateReply(0, code, 0.05);
    f.TimerBtn.click();
    wait(2);
    EXPECT_EQ(uploadFrames(), (std::vector<uint8_t>{0x8A, 0x8B, 0x8C}));
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    EXPECT_EQ(flags().TimerSetPending, kFalse);
    EXPECT_EQ(shared().SendSuspended, kFalse);
    expectReadGoesOut();
}

// A re-send request while the upload waits for frame 2: the upload then waits for the repeated
// frame 1 and goes on from its answer, taking no answer of a frame it did not send last.
TEST_F(TimerUploadTest, aReSentFrameIsTheOneTheUploadWaitsFor) {
    startIdentified();
    TimerFrm& f = openFilled();
    sim->dropReply(1, CmdWriteTimerSettings2);
    f.TimerBtn.click();
    wait(0.5);
    ASSERT_EQ(uploadFrames(), (std::vector<uint8_t>{0x8A, 0x8B}));
    ASSERT_EQ(flags().TimerSetPending, kTrue);
    sim->dropReply(1, CmdWriteTimerSettings1);
    sim->sendUnsolicited55(CmdWriteTimerSettings1);
    wait(0.5);
    EXPECT_EQ(uploadFrames(), (std::vector<uint8_t>{0x8A, 0x8B, 0x8A}));
    sim->sendRaw(metersim::buildReply(CmdWriteTimerSettings2, {CmdWriteTimerSettings2}));  // the late one
    wait(0.3);
    EXPECT_EQ(uploadFrames(), (std::vector<uint8_t>{0x8A, 0x8B, 0x8A}));
    sim->sendRaw(metersim::buildReply(CmdWriteTimerSettings1, {CmdWriteTimerSettings1}));
    wait(1);
    EXPECT_EQ(uploadFrames(), (std::vector<uint8_t>{0x8A, 0x8B, 0x8A, 0x8B, 0x8C}));
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    EXPECT_EQ(flags().TimerSetPending, kFalse);
}

TEST_F(TimerUploadTest, reSendRequestsRepeatAFrameOnlyAfterASetAndMakeTheUploadPendingAgain) {
    startIdentified();
    for (uint8_t code : {CmdWriteTimerSettings1, CmdWriteTimerSettings2, CmdWriteTimerSettings3})
        sim->sendUnsolicited55(code);
    wait(0.5);
    EXPECT_TRUE(uploadFrames().empty()) << "no Set yet: nothing to repeat";
    EXPECT_EQ(flags().TimerSetPending, kFalse);

    TimerFrm& f = openFilled();
    sqtest::pick(f.TimerManuallyCbx, "PC");
    f.PcEnCkx(12).click();
    f.PcStopMinute(12).setText("45");
    f.TimerBtn.click();
    wait(1);
    ASSERT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    std::map<uint8_t, std::vector<uint8_t>> uploaded;
    for (uint8_t code : {CmdWriteTimerSettings1, CmdWriteTimerSettings2, CmdWriteTimerSettings3})
        uploaded[code] = lastRaw(code);
    windows().unload(TimerFrm::kName);  // the window need not be open
    for (uint8_t code : {CmdWriteTimerSettings1, CmdWriteTimerSettings2, CmdWriteTimerSettings3}) {
        SCOPED_TRACE(int(code));
        sim->clearLog();
        sim->dropReply(1, code);  // keeps the upload pending for a look
        shared().ReplyWaitTicks = 250;
        sim->sendUnsolicited55(code);
        wait(0.3);
        const auto again = sim->requestsWithCode(code);
        ASSERT_EQ(again.size(), 1u);
        EXPECT_EQ(again[0].raw, uploaded[code]);
        EXPECT_EQ(flags().TimerSetPending, kTrue);
        EXPECT_LT(shared().ReplyWaitTicks, 10);
        EXPECT_EQ(shared().SendSuspended, flagOf(code == CmdWriteTimerSettings1));
        flags().TimerSetPending = kFalse;
        shared().SendSuspended = kFalse;
    }
}

TEST_F(TimerUploadTest, aLostAcknowledgementTimesOutOnceAfter300TicksOfItsOwnUpload) {
    Panel& p = startIdentified();
    for (int leftOver : {0, 250}) {
        SCOPED_TRACE(leftOver);
        TimerFrm& f = openFilled();
        sim->dropReply(1, CmdWriteTimerSettings2);
        shared().ReplyWaitTicks = leftOver;  // where an earlier upload or listing left the count
        const uint64_t start = p.Timer3.tickCount();
        f.TimerBtn.click();
        ASSERT_TRUE(waitFor([&] { return !dialogs->records.empty(); }, 60));
        EXPECT_NEAR(static_cast<double>(p.Timer3.tickCount() - start), 300, 3);
        wait(5);
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Timer Setting TimeOut !!!"}));
        EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
        EXPECT_EQ(uploadFrames(), (std::vector<uint8_t>{0x8A, 0x8B}));
        EXPECT_EQ(flags().TimerSetPending, kFalse);
        EXPECT_EQ(shared().SendSuspended, kFalse);
        EXPECT_TRUE(p.Timer1.enabled());
        expectReadGoesOut();
    }
}

}  // namespace
