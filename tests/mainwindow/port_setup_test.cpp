// Port setup OK on a port that cannot be opened: the channel is still added and made current and
// the port remembered, and one message tells the device and why.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "link/pty_support.h"
#include "mainwindow/panel_fixture.h"
#include "platform/com_ports.h"
#include "platform/memory_port.h"
#include "platform/read_write_ini_cls.h"
#include "platform/text_file.h"
#include "support/scoped_language.h"

using namespace sq;
namespace fs = std::filesystem;

namespace {

class PortSetupTest : public sqtest::PanelTest {
protected:
    void SetUp() override {
        startPort = 0;
        PanelTest::SetUp();
        fs::create_directories(comPortsFolder());
        start();
    }
    void TearDown() override {
        MemoryPortPair::unregisterPort(kForbidden);
        fs::remove(comPortsFolder() + "/COM" + std::to_string(kMissing));
        PanelTest::TearDown();
    }
    void clickOk(int port) {
        auto& setup = form<ComPortSetFrm>();
        setup.ChangeComport(port);
        setup.LinkBtn.click();
    }
    static std::string storedPort() {
        return IniRW().GetINI("MeterSetting", "ComPort", "", shared().IniFilePath);
    }
    static constexpr int kMissing = 150, kBusy = 151, kForbidden = 152;
};

TEST_F(PortSetupTest, okOnAPortThatCannotBeOpenedAddsTheChannelAndSaysWhyOnce) {
    const std::string missingEntry = comPortsFolder() + "/COM" + std::to_string(kMissing);
    fs::create_symlink("/dev/pts/does-not-exist", missingEntry);

    sqtest::Pty busy(kBusy);
    ASSERT_TRUE(busy.ok());
    const int holder = ::open(busy.slavePath().c_str(), O_RDWR | O_NOCTTY);  // another program
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    auto forbidden = std::make_shared<MemoryPortPair>();
    forbidden->program().openError = EACCES;
    MemoryPortPair::registerPort(kForbidden, forbidden);

    struct Case {
        int port;
        std::string message;
    } cases[] = {
        {kMissing, "COM150 (" + missingEntry + ") could not be opened: the device was not found."},
        {kBusy,
         "COM151 (" + busy.entry() + ") could not be opened: the device is busy (another program holds it)."},
        {kForbidden,
         "COM152 (in-memory port) could not be opened: no permission; the user must be in the "
         "group 'dialout' of the device."},
    };
    int channels = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        dialogs->clear();
        clickOk(c.port);
        EXPECT_EQ(dialogs->messageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(dialogs->messages().at(0).icon, MsgIcon::Exclamation);
        EXPECT_EQ(ChannelCount, ++channels);
        EXPECT_EQ(CurrentChannel, ChannelCount);
        EXPECT_EQ(Channels[static_cast<size_t>(CurrentChannel)].PortNumber, c.port);
        EXPECT_EQ(storedPort(), std::to_string(c.port));
        EXPECT_EQ(flags().ComPortSetFrmOpen, kFalse);
    }
    ::close(holder);

    dialogs->clear();
    clickOk(1);  // the simulator's port opens: nothing to say
    EXPECT_TRUE(dialogs->records.empty());
    EXPECT_TRUE(PortAPI().IsOpen(1));
}

TEST_F(PortSetupTest, theDeviceManagerButtonShowsThePortTable) {
    auto& setup = form<ComPortSetFrm>();
    setup.Show();
    dialogs->clear();
    setup.DeviceManager.click();
    ASSERT_EQ(dialogs->messages().size(), 1u);
    const std::string table = dialogs->messages().at(0).text;
    EXPECT_EQ(table.rfind("Ports found on this computer:\n", 0), 0u) << table;
    EXPECT_NE(table.find("\nCOM1  (in-memory port)\n"), std::string::npos) << "the simulator's port";
    EXPECT_NE(table.find("\n\nPort numbers and their devices:\nCOMn  "), std::string::npos) << table;
    EXPECT_EQ(dialogs->messages().at(0).title, "Device Manager");
    EXPECT_EQ(dialogs->messages().at(0).icon, MsgIcon::Information);
}

// The messages this program adds to the classic texts come from the table too, so a language
// file translates them like any other text (here in Windows-1252, as language files are).
class TranslatedPortSetupTest : public PortSetupTest {
protected:
    void SetUp() override {
        PortSetupTest::SetUp();
        m_language.emplace(
            "Deutsch",
            "%1 could not be opened: %2.\\%1 l\xE4\xDFt sich nicht \366ffnen: %2.\r\n"
            "no permission; the user must be in the group '%1' of the device\\keine Berechtigung "
            "(Gruppe '%1' fehlt)\r\n"
            "Ports found on this computer:\\Vorhandene Anschl\xFCsse:\r\n"
            "Port numbers and their devices:\\Nummern und Ger\xE4te:\r\n");
    }
    void TearDown() override {
        PortSetupTest::TearDown();
        m_language.reset();
    }

private:
    std::optional<sqtest::ScopedLanguage> m_language;
};

TEST_F(TranslatedPortSetupTest, theOpenFailureAndThePortTableAreShownInTheLoadedLanguage) {
    auto forbidden = std::make_shared<MemoryPortPair>();
    forbidden->program().openError = EACCES;
    MemoryPortPair::registerPort(kForbidden, forbidden);
    dialogs->clear();
    clickOk(kForbidden);
    EXPECT_EQ(dialogs->messageTexts(),
              std::vector<std::string>{"COM152 (in-memory port) l\u00e4\u00dft sich nicht \u00f6ffnen: keine "
                                       "Berechtigung (Gruppe 'dialout' fehlt)."});

    auto& setup = form<ComPortSetFrm>();
    setup.Show();
    dialogs->clear();
    setup.DeviceManager.click();
    ASSERT_EQ(dialogs->messages().size(), 1u);
    const std::string table = dialogs->messages().at(0).text;
    EXPECT_EQ(table.rfind("Vorhandene Anschl\u00fcsse:\n", 0), 0u) << table;
    EXPECT_NE(table.find("\n\nNummern und Ger\u00e4te:\nCOMn  "), std::string::npos) << table;
}

}  // namespace
