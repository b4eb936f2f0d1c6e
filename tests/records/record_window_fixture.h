#pragma once
// The record list window on its own, in virtual time, with a supported model known, scripted
// dialogs and two stand-in poll timers (so a test sees polling paused and resumed).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/dialogs.h"
#include "platform/event_pacer.h"
#include "platform/program_folder.h"
#include "platform/runtime.h"
#include "platform/ui/window.h"
#include "recordmodel/data_file.h"
#include "records/data_list_frm.h"
#include "records/header_bin.h"
#include "shared/download_state.h"
#include "shared/record_state.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"
#include "texts/language_texts.h"

namespace sqtest {

// Appends points 1..n to a point grid, a marked one and a "--" among them.
inline void addPointRows(sq::FlexGrid& grid, int n) {
    for (int p = 1; p <= n; ++p) {
        const std::string level = p % 7 == 3 ? "-- dB" : std::to_string(60 + p % 30) + ".4 dB";
        const std::string mark = p % 5 == 2 ? "*" : "";
        grid.AddItem(std::to_string(p) + "\t2022/03/30 14:05:09\t" + mark + level + "\t" + mark +
                     "61.0 dB\t" + mark + "90.2 dB\t" + mark + "95.5 dB\t");
    }
}

class RecordWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::Runtime::get().setVirtualTime(true);
        sq::windows().reset();
        sq::resetSharedState();
        sq::resetRecordState();
        sq::downloadState() = {};
        sq::LoadDefaultTexts();
        sq::ensureProgramFolder();
        std::remove(sq::headerBinPath().c_str());
        sq::shared().DeviceModel = "QVX 410";
        sq::SaveFileChosen() = false;
        sq::SaveFileName().clear();
        sq::registerPollTimers(&timer1, &timer2);
        sq::EnablePollTimers();
    }
    void TearDown() override {
        sq::EventPacer::setTestHook(0, {});
        sq::windows().reset();
        sq::registerPollTimers(nullptr, nullptr);
        sq::Runtime::get().setVirtualTime(false);
    }

    static sq::DataListFrm& frm() { return sq::form<sq::DataListFrm>(); }

    static void addPoints(sq::FlexGrid& grid, int n) { addPointRows(grid, n); }

    static std::vector<std::string> rowOf(const sq::FlexGrid& g, int r) {
        std::vector<std::string> cells;
        for (int c = 0; c < g.Cols(); ++c) cells.push_back(g.TextMatrix(r, c));
        return cells;
    }
    static std::vector<std::string> columnOf(const sq::FlexGrid& g, int c) {
        std::vector<std::string> cells;
        for (int r = 0; r < g.Rows(); ++r) cells.push_back(g.TextMatrix(r, c));
        return cells;
    }

    sq::Timer timer1{{}, 200};
    sq::Timer timer2{{}, 1000};
    sq::ScopedScriptedDialogs dialogs;
};

}  // namespace sqtest
