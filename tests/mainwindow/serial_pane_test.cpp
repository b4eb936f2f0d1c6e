// The serial-number service pane against the simulated instrument: unlocking, reading, writing.
#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>

#include "mainwindow/panel_fixture.h"
#include "support/scripted_dialogs.h"

using namespace sq;
using sqtest::PanelTest;
using Bytes = std::vector<uint8_t>;
using metersim::SentReply;

namespace {

// Input boxes answered in order, with their prompt, title and default text kept.
struct RecordingDialogs : ScriptedDialogs {
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override {
        asked.push_back({prompt, title, defaultText});
        return ScriptedDialogs::input(prompt, title, defaultText);
    }
    std::vector<std::array<std::string, 3>> asked;
};

class SerialPaneTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        setDialogService(&m_dialogs);
        sim->state().setSerialNumber("SN-000123456");
    }
    void TearDown() override {
        setDialogService(&*dialogs);
        PanelTest::TearDown();
    }

    Panel& startIdentified() {
        Panel& p = start();
        EXPECT_TRUE(waitFor([&] { return p.ControlListView.itemCount() == 1; }, 5));
        wait(1);
        sim->clearLog();
        return p;
    }

    // A double click on the frame's background, answered with `answer`.
    void doubleClickBackground(Panel& p, std::optional<std::string> answer) {
        m_dialogs.inputAnswers.push_back(std::move(answer));
        QWidget* background = p.mdiArea()->viewport();
        const QPointF at(5, 5);
        QMouseEvent event(QEvent::MouseButtonDblClick, at, background->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(background, &event);
        wait(0.5);
    }

    // The data bytes of the serial-number writes the instrument received.
    std::vector<Bytes> writes() const {
        std::vector<Bytes> out;
        for (const auto& r : sim->requestsWithCode(0x8E)) out.push_back(r.data);
        return out;
    }

    RecordingDialogs m_dialogs;
};

Bytes bytesOf(const std::string& latin1) {
    return Bytes(latin1.begin(), latin1.end());
}

TEST_F(SerialPaneTest, paneIsDesignedHiddenAndItsCodeTextsAreFixed) {
    Panel& p = startIdentified();
    EXPECT_FALSE(p.SNPic.Visible());
    EXPECT_EQ(p.SNTxt.Text(), "Text1");
    EXPECT_EQ(p.Label1.Caption(), "S/N");
    EXPECT_EQ(p.SNSendBtn.Caption(), "Set");
    EXPECT_EQ(p.SNExitBtn.Caption(), "Exit");
    EXPECT_EQ(p.SNTxt.MaxLength(), 11);
    EXPECT_EQ(p.SNPic.Left(), 4320);
    EXPECT_EQ(p.SNPic.Width(), 5775);
    EXPECT_EQ(p.SNPic.Height(), 1335);
    EXPECT_GE(p.ControlPic.Height(), p.SNPic.Height()) << "the strip holds the whole pane";
    doubleClickBackground(p, std::nullopt);
    ASSERT_EQ(m_dialogs.asked.size(), 1u);
    EXPECT_EQ(m_dialogs.asked[0],
              (std::array<std::string, 3>{"Enter the Code \r\n", "Input Meter Code", "Meter Name"}));
}

struct UnlockCase {
    const char* what;
    std::optional<std::string> answer;
    const char* model;
    bool unlocks;
};

TEST_F(SerialPaneTest, unlockNeedsTheCodeAndASupportedModel) {
    const UnlockCase cases[] = {
        {"the default answer", "Meter Name", "VOK-LSR20", false},
        {"cancelled", std::nullopt, "VOK-LSR20", false},
        {"an empty answer", "", "VOK-LSR20", false},
        {"the code alone", "927", "VOK-LSR20", true},
        {"the code among other characters", "ab927cd", "KM-300", true},
        {"the code split", "92 7", "VOK-LSR20", false},
        {"the code without a supported model", "927", "XYZ 1", false},
    };
    Panel& p = startIdentified();
    for (const UnlockCase& c : cases) {
        SCOPED_TRACE(c.what);
        p.SNExitBtn.click();
        shared().DeviceModel = c.model;
        sim->clearLog();
        m_dialogs.clear();
        doubleClickBackground(p, c.answer);
        EXPECT_EQ(p.SNPic.Visible(), c.unlocks);
        EXPECT_EQ(sent(0x11), c.unlocks ? 1 : 0);
        EXPECT_TRUE(m_dialogs.messages().empty());
        if (c.unlocks) {
            EXPECT_EQ(p.SNTxt.Text(), "SN-000123456");
        }
    }
}

struct SendCase {
    const char* what;
    std::optional<std::string> typed;  // nullopt: Set on the number as read
    Bytes payload;
    std::string boxAfter;
};

TEST_F(SerialPaneTest, setSendsElevenCharactersAsTheBoxShowsThem) {
    const SendCase cases[] = {
        {"the twelve characters read: the first eleven go", std::nullopt, bytesOf("SN-00012345"),
         "SN-000123456"},
        {"seven typed: four blanks follow, the box shows them", "ABC1234", bytesOf("ABC1234    "),
         "ABC1234    "},
        {"eleven typed: sent unchanged", "ABCDEFGHIJK", bytesOf("ABCDEFGHIJK"), "ABCDEFGHIJK"},
        {"typing stops at eleven", "ABCDEFGHIJKLMN", bytesOf("ABCDEFGHIJK"), "ABCDEFGHIJK"},
        {"a Latin-1 letter goes as its code", "\xC3\xA9t\xC3\xA9",
         Bytes{0xE9, 't', 0xE9, 32, 32, 32, 32, 32, 32, 32, 32}, "\xC3\xA9t\xC3\xA9        "},
        {"a letter above 255 goes as the low byte of its code",
         "\xC5\x81"
         "1",
         Bytes{0x41, '1', 32, 32, 32, 32, 32, 32, 32, 32, 32},
         "\xC5\x81"
         "1         "},
    };
    Panel& p = startIdentified();
    for (const SendCase& c : cases) {
        SCOPED_TRACE(c.what);
        sim->state().setSerialNumber("SN-000123456");
        doubleClickBackground(p, "927");
        ASSERT_EQ(p.SNTxt.Text(), "SN-000123456");
        if (c.typed) {
            p.SNTxt.setText("");
            p.SNTxt.type(*c.typed);
        }
        sim->clearLog();
        m_dialogs.clear();
        p.SNSendBtn.click();
        EXPECT_EQ(p.SNTxt.Text(), c.boxAfter);
        EXPECT_TRUE(p.Timer1.enabled());
        EXPECT_TRUE(p.Timer2.enabled());
        wait(0.5);
        const auto requests = sim->requestsWithCode(0x8E);
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].data, c.payload);
        // 02 00 0C 8E, the eleven bytes, the checksum over everything after the first byte.
        Bytes frame = {0x02, 0x00, 0x0C, 0x8E};
        frame.insert(frame.end(), c.payload.begin(), c.payload.end());
        uint8_t sum = 0;
        for (size_t i = 1; i < frame.size(); ++i) sum ^= frame[i];
        frame.push_back(sum);
        EXPECT_EQ(requests[0].raw, frame);
        EXPECT_TRUE(requests[0].checksumOk);
        Bytes stored(sim->state().serialNumber.begin(), sim->state().serialNumber.begin() + 11);
        EXPECT_EQ(stored, c.payload);
        EXPECT_EQ(sim->state().serialNumber[11], '6') << "the twelfth character stays";
        ASSERT_FALSE(sim->replies().empty());
        const SentReply& ack = sim->replies().back();
        EXPECT_EQ(ack.code, 0x8E);
        EXPECT_EQ(ack.frame, (Bytes{0x03, 0x8E, 0x00, 0x01, 0x8E, 0x01})) << "acknowledged as written";
        EXPECT_TRUE(p.SNPic.Visible()) << "the pane stays through writes";
        EXPECT_EQ(m_dialogs.messageTexts(), (std::vector<std::string>{"Set OK !!!"}));
    }
}

TEST_F(SerialPaneTest, nothingIsSentWhileSendingIsSuspended) {
    Panel& p = startIdentified();
    shared().SendSuspended = kTrue;
    doubleClickBackground(p, "927");
    EXPECT_TRUE(p.SNPic.Visible());
    EXPECT_EQ(p.SNTxt.Text(), "Text1");
    p.SNSendBtn.click();
    wait(0.5);
    EXPECT_EQ(sent(0x11), 0);
    EXPECT_EQ(sent(0x8E), 0);
    EXPECT_EQ(p.SNTxt.Text(), "Text1      ");
    EXPECT_TRUE(p.Timer1.enabled());
    EXPECT_TRUE(p.Timer2.enabled());
}

TEST_F(SerialPaneTest, exitHidesThePaneAndALaterReplyChangesNothing) {
    Panel& p = startIdentified();
    doubleClickBackground(p, "927");
    ASSERT_EQ(p.SNTxt.Text(), "SN-000123456");
    p.SNExitBtn.click();
    EXPECT_FALSE(p.SNPic.Visible());
    sim->sendReply(0x11, bytesOf("XX-999999999"));
    wait(0.5);
    EXPECT_EQ(p.SNTxt.Text(), "SN-000123456");
    doubleClickBackground(p, "927");  // unlocked again: read again
    EXPECT_EQ(sent(0x11), 2);
    EXPECT_EQ(p.SNTxt.Text(), "SN-000123456");
}

}  // namespace
