// The dose-channel window: its load, the standards and their locks, the hour-24 rule, the Set
// button's checks and the record it sends and keeps.
#include <gtest/gtest.h>

#include "link/requests.h"
#include "settings/settings_fixture.h"
#include "settings/sonoquant_frm.h"
#include "support/setting_window_support.h"

using namespace sq;
using sqtest::pick;
using sqtest::setChannel;
using sqtest::shownChannel;

namespace {

class DoseWindowTest : public sqtest::SettingsTest {
protected:
    // The window opened without reading the instrument.
    SonoquantFrm& openWindow() {
        windows().unload(SonoquantFrm::kName);
        wait(0.01);
        SonoquantFrm& f = form<SonoquantFrm>();
        f.Show();
        return f;
    }

    // Three channels that pass every check: user standards 1 to 3, 80 / 85, 08:00.
    SonoquantFrm& openValid() {
        SonoquantFrm& f = openWindow();
        setChannel(f, 1, "USER1", "SLOW/80/85/3/105/08/00");
        setChannel(f, 2, "USER2", "SLOW/80/85/3/105/08/00");
        setChannel(f, 3, "USER3", "SLOW/80/85/3/105/08/00");
        return f;
    }

};

TEST_F(DoseWindowTest, loadLocksOsha80OnChannel1AndHidesChannels2And3) {
    startIdentified();
    SonoquantFrm& f = openWindow();
    EXPECT_EQ(flags().SonoquantFrmOpen, kTrue);
    EXPECT_EQ(shownChannel(f, 1), "Disabled/OSHA - 80/SLOW/80/90/5/105/08/00/locked");
    EXPECT_EQ(shownChannel(f, 2), "Disabled/OSHA - 80/SLOW/70/70/3/70/00/00/locked/hidden");
    EXPECT_EQ(shownChannel(f, 3), "Disabled/OSHA - 80/SLOW/70/70/3/70/00/00/locked/hidden");
    EXPECT_FALSE(f.Meter1EnCbx.Enabled()) << "channel 1 cannot be switched off";
    EXPECT_TRUE(f.Meter2EnCbx.Visible());
    EXPECT_EQ(f.Caption(), "Sonoquant");
}

TEST_F(DoseWindowTest, eachStandardLoadsItsPresetAndLocksOrUnlocksTheValues) {
    const std::pair<const char*, const char*> presets[] = {
        {"OSHA - 80", "SLOW/80/90/5/105/08/00/locked"}, {"OSHA - 90", "SLOW/90/90/5/105/08/00/locked"},
        {"MSHA - 80", "SLOW/80/90/5/105/08/00/locked"}, {"MSHA - 90", "SLOW/90/90/5/105/08/00/locked"},
        {"DOD", "SLOW/80/85/4/105/08/00/locked"},       {"ACGIH", "SLOW/80/85/3/105/08/00/locked"},
        {"ISO - 85", "FAST/70/85/3/105/08/00/locked"},  {"ISO - 90", "FAST/70/90/3/105/08/00/locked"},
        {"NR - 15", "SLOW/80/85/5/115/08/00/locked"},   {"NHO - 11", "SLOW/80/85/3/115/08/00/locked"},
        {"USER1", "SLOW/80/85/3/115/08/00/free"},       {"USER2", "SLOW/80/85/3/115/08/00/free"},
        {"USER3", "SLOW/80/85/3/115/08/00/free"},       {"USER4", "SLOW/80/85/3/115/08/00/free"},
        {"USER5", "SLOW/80/85/3/115/08/00/free"},       {"USER6", "SLOW/80/85/3/115/08/00/free"},
        {"USER7", "SLOW/80/85/3/115/08/00/free"},       {"USER8", "SLOW/80/85/3/115/08/00/free"},
        {"USER9", "SLOW/80/85/3/115/08/00/free"},
    };
    startIdentified();
    SonoquantFrm& f = openWindow();
    ASSERT_EQ(f.Meter1StandCbx.ListCount(), 19);
    for (int i = 0; i < 19; ++i) {
        const auto [name, values] = presets[i];
        EXPECT_EQ(f.Meter1StandCbx.List(i), name);
        f.Meter1StandCbx.choose(i);
        EXPECT_EQ(shownChannel(f, 1), std::string("Disabled/") + name + "/" + values) << name;
    }
    // A user standard keeps the values it finds; a fixed one afterwards overrides them.
    pick(f.Meter1StandCbx, "USER3");
    pick(f.Meter1TCbx, "75");
    pick(f.Meter1TimeweightedCbx, "IMPULSE");
    EXPECT_EQ(shownChannel(f, 1), "Disabled/USER3/IMPULSE/75/85/3/115/08/00/free");
    pick(f.Meter1StandCbx, "ISO - 85");
    EXPECT_EQ(shownChannel(f, 1), "Disabled/ISO - 85/FAST/70/85/3/105/08/00/locked");
    // Switching a channel on shows it with its standard's lock.
    pick(f.Meter3EnCbx, "Enabled");
    EXPECT_EQ(shownChannel(f, 3), "Enabled/OSHA - 80/SLOW/80/90/5/105/08/00/locked");
}

TEST_F(DoseWindowTest, hour24KeepsTheMinutesAt00AndTheRecordHolds1440) {
    startIdentified();
    SonoquantFrm& f = openValid();
    pick(f.Meter2MinCbx, "35");
    pick(f.Meter2HrCbx, "24");
    EXPECT_EQ(f.Meter2MinCbx.Text(), "00");
    pick(f.Meter2MinCbx, "35");
    EXPECT_EQ(f.Meter2MinCbx.Text(), "00");
    pick(f.Meter2HrCbx, "23");
    pick(f.Meter2MinCbx, "55");
    EXPECT_EQ(f.Meter2MinCbx.Text(), "55");
    pick(f.Meter2HrCbx, "24");
    f.SonoquantSetBtn.click();
    EXPECT_EQ(keptSettings().dose.record.D2PwDuration, 1440);
}

TEST_F(DoseWindowTest, failedChecksShowTheFirstMessageAndChangeNothing) {
    struct Case {
        const char* name;
        std::function<void(SonoquantFrm&)> change;
        std::string message;  // empty: the Set passes and sends
    };
    using F = SonoquantFrm&;
    const Case cases[] = {
        {"memory erasing", [](F) { flags().MemoryErasing = kTrue; }, "Memory Erasing ..."},
        {"D2 on with D1's standard", [](F f) { pick(f.Meter2StandCbx, "USER1"); },
         "Set Error : D1 Standard = D2Standard !!!"},
        {"D2 off with D1's standard",
         [](F f) {
             pick(f.Meter2StandCbx, "USER1");
             pick(f.Meter2EnCbx, "Disabled");
         },
         ""},
        {"D3 on with D1's standard", [](F f) { pick(f.Meter3StandCbx, "USER1"); },
         "Set Error : D1 Standard = D3Standard !!!"},
        {"D1 criterion below its threshold", [](F f) { pick(f.Meter1QCbx, "79"); },
         "Error Meter 1 Criterion < Threshold !!!"},
        {"D1 criterion equal to its threshold", [](F f) { pick(f.Meter1QCbx, "80"); }, ""},
        {"D2 criterion below its threshold, switched off",
         [](F f) {
             pick(f.Meter2QCbx, "79");
             pick(f.Meter2EnCbx, "Disabled");
         },
         "Error Meter 2 Criterion < Threshold !!!"},
        {"D3 criterion below its threshold", [](F f) { pick(f.Meter3QCbx, "70"); },
         "Error Meter 3 Criterion < Threshold !!!"},
        {"D2 and D3 on with one user standard",
         [](F f) {
             pick(f.Meter2StandCbx, "USER4");
             pick(f.Meter3StandCbx, "USER4");
         },
         "Set Error : D2 Standard = D3 Standard"},
        {"D2 and D3 with one standard, D3 off",
         [](F f) {
             pick(f.Meter2StandCbx, "USER4");
             pick(f.Meter3StandCbx, "USER4");
             pick(f.Meter3EnCbx, "Disabled");
         },
         ""},
        {"D1 00:05",
         [](F f) {
             pick(f.Meter1HrCbx, "00");
             pick(f.Meter1MinCbx, "05");
         },
         "Set Error : D1 PWDuration <10 Min"},
        {"D1 00:00",
         [](F f) {
             pick(f.Meter1HrCbx, "00");
             pick(f.Meter1MinCbx, "00");
         },
         "Set Error : D1 PWDuration <10 Min"},
        {"D1 00:10",
         [](F f) {
             pick(f.Meter1HrCbx, "00");
             pick(f.Meter1MinCbx, "10");
         },
         ""},
        {"D1 01:00",
         [](F f) {
             pick(f.Meter1HrCbx, "01");
             pick(f.Meter1MinCbx, "00");
         },
         ""},
        {"D2 off at 00:00",
         [](F f) {
             pick(f.Meter2HrCbx, "00");
             pick(f.Meter2MinCbx, "00");
             pick(f.Meter2EnCbx, "Disabled");
         },
         "Set Error : D2 PWDuration <10 Min"},
        {"D3 00:05",
         [](F f) {
             pick(f.Meter3HrCbx, "00");
             pick(f.Meter3MinCbx, "05");
         },
         "Set Error : D3 PWDuration <10 Min"},
        {"several failures",
         [](F f) {
             pick(f.Meter3HrCbx, "00");
             pick(f.Meter1QCbx, "70");
             pick(f.Meter2StandCbx, "USER1");
         },
         "Set Error : D1 Standard = D2Standard !!!"},
    };
    Panel& p = startIdentified();
    // A first Set fills the kept record; a refused Set must leave it as it is.
    openValid().SonoquantSetBtn.click();
    wait(0.5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const KeptSetting<DoseSettings> kept = keptSettings().dose;
        SonoquantFrm& f = openValid();
        c.change(f);
        dialogs->clear();
        sim->clearLog();
        DisablePollTimers();  // a refusal leaves polling as it finds it
        f.SonoquantSetBtn.click();
        flags().MemoryErasing = kFalse;
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs->records.empty());
            EXPECT_EQ(sent(CmdWriteDoseSettings), 1);
            EXPECT_TRUE(p.Timer1.enabled());
        } else {
            EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{c.message}));
            if (!dialogs->messages().empty()) {
                EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
            }
            EXPECT_EQ(sent(CmdWriteDoseSettings), 0);
            EXPECT_EQ(keptSettings().dose.record, kept.record);
            EXPECT_FALSE(p.Timer1.enabled());
        }
        EnablePollTimers();
        wait(0.5);
    }
}

TEST_F(DoseWindowTest, setSendsTheNumbersShownAndTheIndexesAtTheirOffsets) {
    startIdentified();
    SonoquantFrm& f = openWindow();
    setChannel(f, 1, "USER1", "FAST/71/72/4/75/01/05");
    setChannel(f, 2, "USER2", "IMPULSE/73/74/5/80/02/10");
    setChannel(f, 3, "USER3", "SLOW/76/77/6/85/24/00", false);
    f.SonoquantSetBtn.click();
    const std::vector<uint8_t> frame = {
        0x02, 0x00, 0x1B, 0x84,                                // start, length 27, command
        0x0A, 0x01, 0x47, 0x48, 0x04, 0x4B, 0x00, 0x41,        // D1: USER1, FAST, 71, 72, 4, 75, 65 min
        0x01, 0x0B, 0x02, 0x49, 0x4A, 0x05, 0x50, 0x00, 0x82,  // D2 on: USER2, IMPULSE, ..., 130 min
        0x00, 0x0C, 0x00, 0x4C, 0x4D, 0x06, 0x55, 0x05, 0xA0,  // D3 off: USER3, SLOW, ..., 1440 min
        0xB2};
    EXPECT_EQ(lastRaw(CmdWriteDoseSettings), frame);
    EXPECT_TRUE(keptSettings().dose.filledBySet);
    EXPECT_EQ(keptSettings().dose.record.D3PwDuration, 1440);
}

TEST_F(DoseWindowTest, aSetThatCannotFillTheWholeRecordSendsNothingAndKeepsTheLastRecord) {
    Panel& p = startIdentified();
    SonoquantFrm& f = openValid();
    f.SonoquantSetBtn.click();
    const std::vector<uint8_t> first = lastRaw(CmdWriteDoseSettings);
    ASSERT_EQ(first.size(), 31u);
    wait(0.5);
    const DoseSettings kept = keptSettings().dose.record;

    // The instrument reports channel 2's threshold as 69: its list loses its selection.
    std::vector<uint8_t> data(first.begin() + 4, first.end() - 1);
    data[11] = 69;
    sim->sendReply(CmdReadDoseSettings, data);
    wait(0.5);
    ASSERT_EQ(f.Meter2TCbx.ListIndex(), -1);
    dialogs->clear();
    sim->clearLog();
    DisablePollTimers();
    f.SonoquantSetBtn.click();
    ASSERT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error !!!"}));
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(p.Timer1.enabled()) << "polling resumes after the error";
    EXPECT_EQ(sent(CmdWriteDoseSettings), 0);
    EXPECT_EQ(keptSettings().dose.record, kept);

    // A re-send request sends the record of the last whole Set.
    sim->sendUnsolicited55(CmdWriteDoseSettings);
    wait(0.5);
    EXPECT_EQ(lastRaw(CmdWriteDoseSettings), first);
}

TEST_F(DoseWindowTest, whileSendingIsSuspendedSetChecksAndKeepsTheRecordButSendsNothing) {
    startIdentified();
    SonoquantFrm& f = openValid();
    pick(f.Meter1ERCbx, "6");
    shared().SendSuspended = kTrue;
    f.SonoquantSetBtn.click();
    wait(0.5);
    EXPECT_EQ(sent(CmdWriteDoseSettings), 0);
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(keptSettings().dose.filledBySet);
    EXPECT_EQ(keptSettings().dose.record.D1ExchangeRate, 6);
    pick(f.Meter1HrCbx, "00");
    pick(f.Meter1MinCbx, "00");
    f.SonoquantSetBtn.click();
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error : D1 PWDuration <10 Min"}));
}

}  // namespace
