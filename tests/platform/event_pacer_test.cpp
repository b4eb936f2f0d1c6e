// The event pacer: a pass only once its interval has passed since the previous pass ended, the
// pending events served in it, and the test hook that forces a pass at a chosen call.
#include "platform/event_pacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime.h"

namespace sq {
namespace {

class EventPacerTest : public ::testing::Test {
protected:
    void SetUp() override { Runtime::get().setVirtualTime(true); }
    void TearDown() override {
        EventPacer::setTestHook(0, {});
        Runtime::get().setVirtualTime(false);
    }
    static void advance(double seconds) { Runtime::get().advance(seconds); }
};

TEST_F(EventPacerTest, servesOnlyOnceTheIntervalHasPassedSinceThePreviousPassEnded) {
    EventPacer pacer;
    EXPECT_EQ(pacer.interval(), 0.2);
    int events = 0;
    Runtime::get().callAfter(0.05, [&] { ++events; });
    for (int i = 0; i < 1000; ++i) EXPECT_FALSE(pacer.tick());  // time stands still: no pass
    advance(0.19);                                              // runs the event itself
    EXPECT_FALSE(pacer.tick());
    advance(0.01);
    Runtime::get().callAfter(0, [&] { ++events; });
    int shown = 0;
    EXPECT_TRUE(pacer.tick([&] { ++shown; }));
    EXPECT_EQ(events, 2);  // the pending event ran in the pass
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(pacer.tick());  // the interval starts again at the end of the pass
    advance(0.25);
    EXPECT_TRUE(pacer.tick());
    EXPECT_EQ(pacer.calls(), 1004u);
    EXPECT_EQ(pacer.passes(), 2u);
}

// A pass that itself takes time (a receive-pump tick waits 0.1 s) is not followed by another
// until a whole interval after it.
TEST_F(EventPacerTest, theIntervalCountsFromTheEndOfALongPass) {
    EventPacer pacer(0.5);
    advance(0.5);
    Runtime::get().callAfter(0, [] { Delay(0.3); });
    EXPECT_TRUE(pacer.tick());
    advance(0.4);
    EXPECT_FALSE(pacer.tick());
    advance(0.15);
    EXPECT_TRUE(pacer.tick());
    pacer.setInterval(0);
    EXPECT_TRUE(pacer.tick());
}

TEST_F(EventPacerTest, theTestHookServesAtTheChosenCallOnce) {
    std::vector<std::string> order;
    EventPacer::setTestHook(3, [&] { order.push_back("event"); });
    EventPacer pacer;
    EXPECT_FALSE(pacer.tick());
    EXPECT_FALSE(pacer.tick());
    EXPECT_TRUE(pacer.tick([&] { order.push_back("progress"); }));
    EXPECT_EQ(order, (std::vector<std::string>{"progress", "event"}));
    EventPacer later;
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(later.tick());
    EXPECT_EQ(pacer.passes() + later.passes(), 1u);
}

}  // namespace
}  // namespace sq
