// The welcome-text and lunch-time windows: the frames their Set buttons send, the welcome text's
// bytes kept whole both ways, and the cases in which nothing is sent.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "link/requests.h"
#include "settings/lunch_time_frm.h"
#include "settings/settings_fixture.h"
#include "settings/welcom_set_frm.h"
#include "support/setting_window_support.h"

using namespace sq;
using sqtest::pick;

namespace {

class WelcomeLunchTest : public sqtest::SettingsTest {
protected:
    WelcomSetFrm& openWelcome() { return openFromPanel<WelcomSetFrm>(&Setting410PanelFrm::WelcomInputBtn); }
    LunchTimeFrm& openLunch() { return openFromPanel<LunchTimeFrm>(&Setting410PanelFrm::BtnLunchTime); }
    // The 36 text bytes of the last welcome-text write.
    std::vector<uint8_t> lastWelcomeBytes() {
        const std::vector<uint8_t> raw = lastRaw(CmdWriteWelcomeText);
        if (raw.size() != 41) return {};
        return {raw.begin() + 4, raw.end() - 1};
    }
};

std::vector<uint8_t> bytesOf(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST_F(WelcomeLunchTest, welcomeLinesArePaddedToTwelveAndASecondSetSendsTheSameBytes) {
    startIdentified();
    WelcomSetFrm& f = openWelcome();
    f.WelLineTxt(0).setText("HELLO");
    f.WelLineTxt(1).setText("");
    f.WelLineTxt(2).setText("ABCDEFGHIJKL");
    f.SetBtn.click();
    std::vector<uint8_t> frame = {0x02, 0x00, 0x26, 0x8D};
    for (const char* line : {"HELLO       ", "            ", "ABCDEFGHIJKL"})
        for (const char* c = line; *c; ++c) frame.push_back(static_cast<uint8_t>(*c));
    frame.push_back(0xC5);
    EXPECT_EQ(lastRaw(CmdWriteWelcomeText), frame);
    EXPECT_EQ(f.WelLineTxt(0).Text(), "HELLO       ");
    EXPECT_EQ(f.WelLineTxt(1).Text(), std::string(12, ' '));
    wait(0.5);
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    sim->clearLog();
    f.SetBtn.click();
    EXPECT_EQ(lastRaw(CmdWriteWelcomeText), frame);
}

TEST_F(WelcomeLunchTest, everyByteValueTheInstrumentSendsGoesBackUnchanged) {
    startIdentified();
    for (int reply = 0; reply * 36 < 256; ++reply) {
        SCOPED_TRACE(reply);
        std::array<uint8_t, 36> text;
        for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<uint8_t>(reply * 36 + i);
        sim->state().welcomeText = text;
        WelcomSetFrm& f = openWelcome();
        f.SetBtn.click();
        EXPECT_EQ(lastWelcomeBytes(), std::vector<uint8_t>(text.begin(), text.end()));
        wait(0.5);
    }
}

TEST_F(WelcomeLunchTest, welcomeCharactersAreCountedAsCharactersAndOnesBeyondLatin1GoAsQuestionMarks) {
    startIdentified();
    WelcomSetFrm& f = openWelcome();
    f.WelLineTxt(0).setText("");
    f.WelLineTxt(0).type("Größe");
    f.WelLineTxt(1).setText("Ñ€Ω");
    f.WelLineTxt(2).setText("");
    f.WelLineTxt(2).type("ÄÄÄÄÄÄÄÄÄÄÄÄÄÄ");
    EXPECT_EQ(f.WelLineTxt(2).Text(), "ÄÄÄÄÄÄÄÄÄÄÄÄ") << "typing stops at 12";
    f.SetBtn.click();
    EXPECT_EQ(f.WelLineTxt(0).Text(), "Größe       ");
    EXPECT_EQ(lastWelcomeBytes(), bytesOf("Gr\xF6\xDF"
                                          "e       \xD1??         " +
                                          std::string(12, '\xC4')));
}

TEST_F(WelcomeLunchTest, welcomeSetWaitsForTheInstrumentsTextAndIsHeldBackDuringAnUpload) {
    Panel& p = startIdentified();
    sim->setLatency(1.5);  // beyond the opener's waits
    showPanel().WelcomInputBtn.click();
    WelcomSetFrm& f = form<WelcomSetFrm>();
    dialogs->clear();
    DisablePollTimers();
    f.SetBtn.click();
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set Error !!!"}));
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(f.WelLineTxt(0).Text(), "Text1");
    EXPECT_FALSE(p.Timer1.enabled()) << "refused before polling pauses";
    EnablePollTimers();
    wait(1);
    EXPECT_EQ(f.WelLineTxt(1).Text(), "NOISE DOSE  ");
    dialogs->clear();
    f.SetBtn.click();
    EXPECT_EQ(lastWelcomeBytes(), bytesOf("SONOQUANT   NOISE DOSE  METER       "));
    wait(2);
    EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));

    sim->setLatency(0);
    sim->clearLog();
    dialogs->clear();
    shared().SendSuspended = kTrue;
    f.SetBtn.click();
    shared().SendSuspended = kFalse;
    wait(0.5);
    EXPECT_EQ(sent(CmdWriteWelcomeText), 0);
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(p.Timer1.enabled());
}

TEST_F(WelcomeLunchTest, lunchSetSendsTheChosenItemsEvenWhileErasingOrDuringAnUpload) {
    startIdentified();
    LunchTimeFrm& f = openLunch();
    EXPECT_EQ(f.Caption(), "LunchTime");
    pick(f.CbxEn, "Enabled");
    pick(f.CbxStopMinute, "30");
    const std::vector<uint8_t> frame = {0x02, 0x00, 0x08, 0x90, 0x01, 0x0C, 0x00,
                                        0x00, 0x0D, 0x1E, 0x00, 0x86, 0x00};
    for (const char* when : {"idle", "erasing", "during an upload"}) {
        SCOPED_TRACE(when);
        flags().MemoryErasing = flagOf(std::string(when) == "erasing");
        shared().SendSuspended = flagOf(std::string(when) == "during an upload");
        sim->clearLog();
        dialogs->clear();
        f.BtnSet.click();
        EXPECT_EQ(lastRaw(CmdWriteLunchTime), frame);
        flags().MemoryErasing = kFalse;
        shared().SendSuspended = kFalse;
        wait(0.5);
        EXPECT_EQ(dialogs->messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    }
    EXPECT_EQ(keptSettings().lunchTime.record, (LunchTime{1, 12, 0, 0, 13, 30, 0}));
}

TEST_F(WelcomeLunchTest, lunchSetWithoutAChosenItemSendsNothingAndShowsNothing) {
    Panel& p = startIdentified();
    sim->setSilent(true);
    LunchTimeFrm& f = openLunch();
    EXPECT_EQ(f.CbxStartHour.ListIndex(), -1);
    DisablePollTimers();
    f.BtnSet.click();
    EXPECT_EQ(sent(CmdWriteLunchTime), 0);
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(p.Timer1.enabled()) << "polling resumed";

    sim->setSilent(false);
    LunchTimeFrm& filled = openLunch();
    EXPECT_EQ(filled.CbxStartHour.Text(), "12");
    keptSettings().lunchTime.record = {};
    QLineEdit* edit = static_cast<QComboBox*>(filled.CbxStartHour.widget())->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "11");
    EXPECT_EQ(filled.CbxStartHour.Text(), "11");
    EXPECT_EQ(filled.CbxStartHour.ListIndex(), -1) << "typed, not chosen";
    QTest::keyClicks(filled.CbxEn.widget(), "E");
    EXPECT_EQ(filled.CbxEn.Text(), "Disabled") << "the enable list takes no typing";
    pick(filled.CbxEn, "Enabled");
    DisablePollTimers();
    filled.BtnSet.click();
    wait(0.5);
    EXPECT_EQ(sent(CmdWriteLunchTime), 0);
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(p.Timer1.enabled());
    EXPECT_EQ(keptSettings().lunchTime.record, (LunchTime{1, 0, 0, 0, 0, 0, 0}))
        << "the bytes before the failing one";
}

}  // namespace
