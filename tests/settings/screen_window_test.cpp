// The display-pages window: its load, the pairing rules, and the Set button on a filled and on an
// unfilled window.
#include <gtest/gtest.h>

#include "link/requests.h"
#include "settings/display_items.h"
#include "settings/screen_frm.h"
#include "settings/settings_fixture.h"
#include "support/setting_window_support.h"

using namespace sq;
using sqtest::pick;

namespace {

class ScreenWindowTest : public sqtest::SettingsTest {
protected:
    // The window filled from the simulator's pages, all "Sonoquant 1", "SystemTime", "SystemTime".
    ScreenFrm& openFilled() {
        sim->state().screenPages = {};
        ScreenFrm& f = openFromPanel<ScreenFrm>(&Setting410PanelFrm::ScreenBtn);
        EXPECT_TRUE(f.filledByReply());
        return f;
    }
    static std::string row(ScreenFrm& f, int page) {
        return f.SonoquantCbx(page).Text() + "/" + f.UpPageCbx(page).Text() + "/" +
               f.DownPageCbx(page).Text();
    }
};

TEST_F(ScreenWindowTest, freshWindowShowsPlaceholdersAndRefusesToWriteThem) {
    Panel& p = startIdentified();
    ScreenFrm& f = form<ScreenFrm>();
    f.Show();
    EXPECT_EQ(f.Caption(), "Screen");
    for (int page = 0; page < ScreenFrm::kPages; ++page) {
        EXPECT_EQ(f.PageLbl(page).Caption(), "Page" + std::to_string(page + 3));
        EXPECT_EQ(row(f, page), "Sonoquant 1/SystemTime/SystemTime");
        EXPECT_EQ(f.UpPageCbx(page).ListCount(), kDisplayItemCount);
    }
    DisablePollTimers();
    f.ScreenSetBtn.click();
    ASSERT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error !!!"}));
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(p.Timer1.enabled()) << "polling untouched";
    wait(0.5);
    EXPECT_EQ(sent(CmdWriteScreenSettings), 0);
    EXPECT_FALSE(keptSettings().screenPages.filledBySet);

    // The erasing refusal comes first.
    flags().MemoryErasing = kTrue;
    f.ScreenSetBtn.click();
    EXPECT_EQ(dialogs->messageTexts().back(), "Memory Erasing ...");
}

TEST_F(ScreenWindowTest, pairingRulesOnAUsersChoices) {
    struct Case {
        const char* name;
        const char* up;
        const char* down;
        bool chooseUpper;
        const char* choice;
        const char* result;  // "upper/lower"
    };
    const Case cases[] = {
        {"OFF below OFF", "OFF", "SPLAF", false, "OFF", "OFF/SystemTime"},
        {"OFF above OFF", "SPLAF", "OFF", true, "OFF", "SystemTime/OFF"},
        {"Max above", "SPLAF", "SPLAS", true, "LAFMax", "LAFMax/OFF"},
        {"below a Max, back to OFF", "LAFMax", "OFF", false, "SPLAF", "LAFMax/OFF"},
        {"Min below", "SPLAF", "SPLAS", false, "LZIMin", "OFF/LZIMin"},
        {"LAF10 below is ordinary", "SPLAF", "SPLAS", false, "LAF10", "SPLAF/LAF10"},
        {"PKA below is ordinary", "SPLAF", "SPLAS", false, "PKA", "SPLAF/PKA"},
        {"Max below a Max", "LAFMax", "OFF", false, "LASMax", "LAFMax/OFF"},
        {"Max above a Max", "OFF", "LASMax", true, "LAFMax", "LAFMax/OFF"},
        {"above a Max, back to OFF", "OFF", "LASMax", true, "SPLAF", "OFF/LASMax"},
    };
    startIdentified();
    ScreenFrm& f = form<ScreenFrm>();
    f.Show();
    auto lines = [&] { return f.UpPageCbx(7).Text() + "/" + f.DownPageCbx(7).Text(); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.UpPageCbx(7).setListIndex(kDisplayItemSystemTime);
        f.DownPageCbx(7).setListIndex(kDisplayItemSystemTime);
        pick(f.UpPageCbx(7), c.up);
        pick(f.DownPageCbx(7), c.down);
        ASSERT_EQ(lines(), std::string(c.up) + "/" + c.down);
        pick(c.chooseUpper ? f.UpPageCbx(7) : f.DownPageCbx(7), c.choice);
        EXPECT_EQ(lines(), c.result);
        EXPECT_EQ(row(f, 6), "Sonoquant 1/SystemTime/SystemTime") << "other pages untouched";
    }
}

TEST_F(ScreenWindowTest, setEncodesEachPageAsChannelAndItemCodes) {
    Panel& p = startIdentified();
    ScreenFrm& f = openFilled();
    pick(f.SonoquantCbx(0), "Sonoquant 3");
    pick(f.UpPageCbx(0), "OFF");
    pick(f.DownPageCbx(0), "NEN");
    pick(f.SonoquantCbx(1), "Sonoquant 2");
    pick(f.UpPageCbx(1), "LEPd");
    pick(f.DownPageCbx(1), "PKA");
    pick(f.UpPageCbx(2), "LAFMax");
    f.SonoquantCbx(3).setListIndex(-1);
    f.ScreenSetBtn.click();
    std::vector<uint8_t> frame = {0x02, 0x00, 0x25, 0x85, 0x02, 0x84, 0x82,
                                  0x01, 0x13, 0x20, 0x00, 0x22, 0x84};
    frame.resize(40, 0x00);
    frame.push_back(0x30);
    EXPECT_EQ(lastRaw(CmdWriteScreenSettings), frame);
    EXPECT_EQ(f.SonoquantCbx(3).Text(), "Sonoquant 1") << "a channel without a selection becomes the first";
    EXPECT_TRUE(p.Timer1.enabled());
    EXPECT_TRUE(keptSettings().screenPages.filledBySet);

    // A line without a selection keeps the byte the last Set sent.
    pick(f.UpPageCbx(4), "SPLAF");
    f.ScreenSetBtn.click();
    f.UpPageCbx(4).setListIndex(-1);
    pick(f.UpPageCbx(5), "LAEQ");
    f.ScreenSetBtn.click();
    const std::vector<uint8_t> last = lastRaw(CmdWriteScreenSettings);
    ASSERT_EQ(last.size(), 41u);
    EXPECT_EQ(last[5 + 3 * 4], 1);
    EXPECT_EQ(last[5 + 3 * 5], 21);
}

}  // namespace
