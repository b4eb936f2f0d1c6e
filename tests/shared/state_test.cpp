#include "shared/state.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/runtime.h"
#include "platform/vb_error.h"

namespace sq {
namespace {

TEST(SupportedModelTest, onlyTheFourNamesExactlyAsReported) {
    const std::pair<const char*, int> cases[] = {
        {"QVX 410", 1},   {"RAV 820", 1}, {"KM-300", 1},   {"VOK-LSR20", 1}, {"km-300", 0},
        {"Vok-lsr20", 0}, {"KM-300 ", 0}, {" QVX 410", 0}, {"", 0},          {"QVX410", 0},
    };
    for (const auto& [model, expected] : cases) EXPECT_EQ(IsSupportedModel(model), expected) << model;
    EXPECT_EQ(IsSupportedModel(std::string("KM-300\0", 7)), 0);  // a trailing NUL byte from the wire
}

TEST(Log10Test, decimalLogarithmAndErrorFiveForZeroOrLess) {
    EXPECT_DOUBLE_EQ(Log10(1000), 3);
    EXPECT_DOUBLE_EQ(Log10(0.5), -0.30102999566398120);
    for (double bad : {0.0, -1.0}) {
        try {
            Log10(bad);
            ADD_FAILURE() << bad;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), kInvalidCall);
        }
    }
}

TEST(SharedStateTest, startsZeroedWithAllThirtyFlagsFalse) {
    shared().DeviceModel = "KM-300";
    flags().MemoryErasing = kTrue;
    flags().OneSetIntervalTime = kTrue;
    resetSharedState();
    static_assert(sizeof(OpenFlags) == 30 * sizeof(int16_t));
    const OpenFlags fresh{};
    EXPECT_EQ(std::memcmp(&flags(), &fresh, sizeof fresh), 0);
    EXPECT_EQ(flags().Setting410PanelFrmOpen, kFalse);
    EXPECT_EQ(shared().DeviceModel, "");
    EXPECT_EQ(shared().SendSuspended, kFalse);
    EXPECT_EQ(flagOf(true), -1);
    EXPECT_EQ(flagOf(false), 0);
}

class PollSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Runtime::get().setVirtualTime(true);
        for (Timer* t : {&m_timer1, &m_timer2, &m_timer3}) t->setEnabled(true);
        registerPollTimers(&m_timer1, &m_timer2);
    }
    void TearDown() override {
        registerPollTimers(nullptr, nullptr);
        Runtime::get().setVirtualTime(false);
    }

    Timer m_timer1{[] {}, 200};
    Timer m_timer2{[] {}, 1000};
    Timer m_timer3{[] {}, 1};
};

TEST_F(PollSwitchTest, oneEnableUndoesAnyNumberOfDisablesAndTimer3KeepsRunning) {
    DisablePollTimers();
    DisablePollTimers();
    EXPECT_FALSE(m_timer1.enabled());
    EXPECT_FALSE(m_timer2.enabled());
    Runtime::get().advance(1.0);
    EXPECT_EQ(m_timer1.tickCount(), 0u);
    EXPECT_EQ(m_timer3.tickCount(), 1000u);

    EnablePollTimers();
    Runtime::get().advance(1.0);
    EXPECT_EQ(m_timer1.tickCount(), 5u);
    EXPECT_EQ(m_timer2.tickCount(), 1u);
}

TEST_F(PollSwitchTest, enablingWhilePollingRunsKeepsTheTimersInPhase) {
    Runtime::get().advance(0.15);
    EnablePollTimers();
    Runtime::get().advance(0.05);
    EXPECT_EQ(m_timer1.tickCount(), 1u);
}

// Once the main window has taken its timers back (as it does when it goes), the switches reach no
// timer: not one that was registered before, and none at all when there is none.
TEST_F(PollSwitchTest, switchesLeaveTheTimersAloneOnceTheyAreNoLongerRegistered) {
    registerPollTimers(nullptr, nullptr);
    DisablePollTimers();
    EXPECT_TRUE(m_timer1.enabled());
    EXPECT_TRUE(m_timer2.enabled());
    m_timer1.setEnabled(false);
    m_timer2.setEnabled(false);
    EnablePollTimers();
    EXPECT_FALSE(m_timer1.enabled());
    EXPECT_FALSE(m_timer2.enabled());
}

}  // namespace
}  // namespace sq
