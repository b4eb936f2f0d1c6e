#pragma once
// The program started in-process against the simulated instrument on COM1, in virtual time. The
// port setup window shown at start-up is answered by choosing `startPort` and OK (0: closed
// without OK).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <memory>

#include "decoder/erase_watch.h"
#include "decoder/reply_decoder.h"
#include "link/channels.h"
#include "link/com_port_api.h"
#include "mainwindow/com_port_set_frm.h"
#include "mainwindow/panel.h"
#include "metersim/record.h"
#include "metersim/simulator.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "platform/ui/window.h"
#include "records/header_bin.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"
#include "texts/language_texts.h"

namespace sqtest {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::Runtime::get().setVirtualTime(true);
        sq::ensureProgramFolder();
        resetProgramState();
        sim = std::make_unique<sq::metersim::Simulator>();
        sim->plugIn(1);
        sq::windows().setModalHook([this](sq::Window& w) { answerModal(w); });
    }

    void TearDown() override {
        sq::windows().reset();
        sq::registerPollTimers(nullptr, nullptr);
        sim.reset();
        sq::PortAPI().reset();
        sq::Runtime::get().setVirtualTime(false);
    }

    static void resetProgramState() {
        sq::resetSharedState();
        sq::ResetChannelTable();
        sq::PortAPI().reset();
        sq::decoderState() = sq::DecoderState{};
        sq::eraseWatch().reset();
        sq::downloadState() = sq::DownloadState{};
        sq::resetRecordState();
        sq::LoadDefaultTexts();
    }

    virtual void answerModal(sq::Window& w) {
        modalShown.push_back(w.name());
        if (auto* setup = dynamic_cast<sq::ComPortSetFrm*>(&w)) {
            if (startPort == 0) {
                w.Unload();
                return;
            }
            setup->ChangeComport(startPort);
            setup->LinkBtn.click();
        }
    }

    sq::Panel& start() {
        panel = &sq::startProgram();
        panel->Show();
        return *panel;
    }

    // Starts the program and restores its main window (it opens maximised) to its minimum size, the
    // smallest the user can make it.
    sq::Panel& startAtMinimumSize() {
        start();
        panel->setWindowState(sq::WindowState::Normal);
        panel->Move(0, 0, 13665, 11250);
        QApplication::processEvents();
        return *panel;
    }

    void wait(double seconds) { sq::Runtime::get().advance(seconds); }

    // Waits until `done` holds, in steps of 0.1 s, at most `seconds`; true when it held.
    template <typename Pred>
    bool waitFor(Pred done, double seconds) {
        for (double t = 0; t < seconds; t += 0.1) {
            if (done()) return true;
            wait(0.1);
        }
        return done();
    }

    // Waits until the instrument on the line is known as a supported model.
    bool waitForSupportedModel(double seconds = 10) {
        return waitFor([] { return sq::IsSupportedModel(sq::shared().DeviceModel) == 1; }, seconds);
    }

    // Starts the program with the record list's own item states (no header file left by an earlier
    // test) and waits until the instrument is known as a supported model.
    void startFresh() {
        std::remove(sq::headerBinPath().c_str());
        start();
        ASSERT_TRUE(waitForSupportedModel());
    }

    // Downloads `record` from the simulated instrument as a click on a new row of the memory list
    // does; waits until the download has ended, then `settle` seconds more for its window.
    void download(const sq::metersim::StoredRecord& record, double settle = 1) {
        const int number = sim->addRecord(record);
        sq::FlexGrid& g = panel->MemoryListGrid;
        g.AddItem(std::to_string(g.Rows()) + "\t2022/03/30  14:05:09\t" + std::to_string(number));
        g.setRow(g.Rows() - 1);
        panel->MemoryListGrid_Click();
        ASSERT_TRUE(waitFor([] { return sq::downloadState().phase == sq::DownloadPhase::Idle; }, 600));
        wait(settle);
    }

    int sent(uint8_t code) const { return sim->countOf(code); }

    int startPort = 1;
    std::vector<std::string> modalShown;
    std::unique_ptr<sq::metersim::Simulator> sim;
    sq::Panel* panel = nullptr;
    sq::ScopedScriptedDialogs dialogs;
};

}  // namespace sqtest
