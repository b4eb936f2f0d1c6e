// The memory list as the program reads it: 0x0C for the first entry, then 0x0D twice per entry
// (once from the decoder, once from the receive pump a moment later).
#include "sim_fixture.h"

namespace {

using namespace simtest;
using namespace sq::metersim;

struct Listing {
    std::vector<int> entries;   // record numbers in arrival order
    std::vector<uint8_t> ends;  // first data byte of each 0xFF reply
    int lastCount = -1;
};

class ListingTest : public SimTest {
protected:
    void fill(int n) {
        for (int i = 0; i < n; ++i) {
            DateTime t{2022, 3, 1 + i % 28, 8 + i % 10, i % 60, 0};
            ASSERT_EQ(sim->addRecord(makeRecord(t, 60, std::vector<Point>(3))), i + 1);
        }
    }

    // Plays the program's side until the list has ended (or nothing more comes back).
    Listing list() {
        Listing l;
        send(request(0x0C));
        for (int round = 0; round < 2000; ++round) {
            wait(0.1);
            auto replies = parseReplies(readAll());
            if (replies.empty()) break;
            bool ended = false;
            for (const Reply& r : replies) {
                if (r.code == 0xFF) {
                    l.ends.push_back(r.data.at(0));
                    ended = r.data.at(0) != 0x0C;
                    if (!ended) send(request(0x0D));  // the pump keeps asking after an empty list
                    continue;
                }
                l.entries.push_back(r.data.at(7));
                l.lastCount = r.data.at(8);
                if (r.data.at(7) != r.data.at(8)) send(request(0x0D));  // the decoder
                wait(0.001);
                send(request(0x0D));  // the receive pump, on its next tick
            }
            if (ended) break;
        }
        return l;
    }

    int busyCount() const {
        int n = 0;
        for (const auto& r : sim->requests()) n += r.outcome == Outcome::Busy;
        return n;
    }
};

std::vector<int> oneTo(int n) {
    std::vector<int> v;
    for (int i = 1; i <= n; ++i) v.push_back(i);
    return v;
}

TEST_F(ListingTest, emptyMemoryEndsWithTheRequestCodeInTheEndReply) {
    Listing l = list();
    EXPECT_TRUE(l.entries.empty());
    EXPECT_EQ(l.ends, (std::vector<uint8_t>{0x0C, 0x0D}));
}

TEST_F(ListingTest, busyWindowAnswersEachEntryOnceForOneAndForFullMemory) {
    for (int n : {1, 255}) {
        sim->clearRecords();
        sim->clearLog();
        fill(n);
        Listing l = list();
        EXPECT_EQ(l.entries, oneTo(n)) << n << " records";
        EXPECT_EQ(l.lastCount, n);
        EXPECT_EQ(l.ends, std::vector<uint8_t>{0x0D});
        EXPECT_EQ(busyCount(), n - 1);
    }
    EXPECT_EQ(sim->addRecord(makeRecord({2022, 1, 1, 0, 0, 0}, 60, {})), -1);
}

TEST_F(ListingTest, withoutBusyWindowEveryRequestIsAnswered) {
    sim->setBusyWindow(0);
    for (int n : {0, 1, 255}) {
        sim->clearRecords();
        sim->clearLog();
        fill(n);
        Listing l = list();
        EXPECT_EQ(l.entries, oneTo(n)) << n << " records";
        EXPECT_EQ(busyCount(), 0);
        ASSERT_FALSE(l.ends.empty());
        EXPECT_EQ(l.ends.back(), 0x0D);
        // The second request of each pair reaches past the entry it doubles: more ends than one.
        if (n == 255) {
            EXPECT_GT(l.ends.size(), 1u);
        }
    }
}

TEST_F(ListingTest, entryCarriesListTimeNumberAndCount) {
    StoredRecord r = makeRecord({2022, 3, 30, 14, 5, 9}, 60, {});
    sim->addRecord(r);
    r.listTime = {2023, 12, 31, 23, 59, 58};
    sim->addRecord(r);
    EXPECT_EQ(ask(0x0C).data, (Bytes{0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09, 0x01, 0x02}));
    wait(0.1);
    Reply second = ask(0x0D);
    EXPECT_EQ(second.code, 0x0D);
    EXPECT_EQ(second.data, (Bytes{0x07, 0xE7, 0x0C, 0x1F, 0x17, 0x3B, 0x3A, 0x02, 0x02}));
}

TEST(SimulatorTimeSwitch, switchingToVirtualTimeKeepsListingAndClockUsable) {
    sq::Runtime::get().setVirtualTime(false);
    Simulator sim;
    auto pair = std::make_shared<sq::MemoryPortPair>();
    sim.attach(pair);
    sim.addRecord(makeRecord({2022, 3, 30, 14, 5, 9}, 60, {}));
    sim.addRecord(makeRecord({2022, 3, 30, 15, 5, 9}, 60, {}));
    sq::Delay(0.3);  // real time now lies well past the virtual times below
    sim.setClock({2022, 3, 30, 14, 5, 9});
    Bytes first = request(0x0C);
    pair->program().write(first.data(), first.size());  // the busy window starts in real time

    sq::Runtime::get().setVirtualTime(true);
    pair->program().purge();
    sq::Runtime::get().advance(0.1);
    Bytes next = request(0x0D);
    pair->program().write(next.data(), next.size());
    sq::Runtime::get().advance(0.1);
    EXPECT_EQ(sim.requests().back().outcome, Outcome::Answered);
    EXPECT_EQ(sim.clock(), (DateTime{2022, 3, 30, 14, 5, 9}));
    sq::Runtime::get().setVirtualTime(false);
}

}  // namespace
