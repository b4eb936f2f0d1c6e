#pragma once
// The program started in real time against the simulator on a pseudo-terminal, through the real
// serial path: the simulator's port is entered as "COM n" and the port setup window shown at
// start-up is answered by choosing it and OK.
#include <gtest/gtest.h>

#include "link/channels.h"
#include "link/com_port_api.h"
#include "mainwindow/com_port_set_frm.h"
#include "mainwindow/panel.h"
#include "metersim/port_entry.h"
#include "metersim/pty_port.h"
#include "metersim/simulator.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "platform/ui/window.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"

namespace sqtest {

class PtyProgramTest : public ::testing::Test {
protected:
    explicit PtyProgramTest(int com) : m_com(com) {}

    void SetUp() override {
        sq::Runtime::get().setVirtualTime(false);
        sq::ensureProgramFolder();
        sq::resetSharedState();
        sq::ResetChannelTable();
        sq::PortAPI().reset();
        std::string error;
        ASSERT_TRUE(pty.open(error)) << error;
        sim.setOutput([this](const sq::metersim::Bytes& b) { pty.write(b); });
        pty.setOnBytes([this](const uint8_t* p, size_t n) { sim.receive(p, n); });
        std::string message;
        ASSERT_TRUE(sq::metersim::claimPortEntry(m_com, pty.slavePath(), message)) << message;
        sq::windows().setModalHook([com = m_com](sq::Window& w) {
            if (auto* setup = dynamic_cast<sq::ComPortSetFrm*>(&w)) {
                setup->ChangeComport(com);
                setup->LinkBtn.click();
            }
        });
    }
    void TearDown() override {
        sq::windows().reset();
        sq::registerPollTimers(nullptr, nullptr);
        sq::PortAPI().reset();
        sq::metersim::releasePortEntry(m_com);
    }

    // Waits in real time until `done` holds, at most `seconds`; true when it held.
    template <typename Pred>
    static bool waitFor(Pred done, double seconds) {
        const double end = sq::Runtime::get().now() + seconds;
        while (!done() && sq::Runtime::get().now() < end) sq::Delay(0.05);
        return done();
    }

    sq::metersim::PtyPort pty;
    sq::metersim::Simulator sim;
    sq::ScopedScriptedDialogs dialogs;

private:
    int m_com;
};

}  // namespace sqtest
