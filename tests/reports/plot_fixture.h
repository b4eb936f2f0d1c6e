#pragma once
// The graph window on its own, in virtual time: a stand-in main window (whose caption the graph
// writes), two stand-in poll timers, scripted dialogs, and grids built from rows of cell texts.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "decoder/record_block.h"
#include "platform/dialogs.h"
#include "platform/event_pacer.h"
#include "platform/runtime.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/window.h"
#include "reports/plot.h"
#include "reports/record_plot.h"
#include "shared/state.h"
#include "support/scripted_dialogs.h"
#include "support/stand_in_window.h"
#include "texts/language_texts.h"

namespace sqtest {

using Rows = std::vector<std::vector<std::string>>;

// A point row: number, date-time and the four level cells.
inline std::vector<std::string> pointRow(int number, const std::string& dateTime, const std::string& level) {
    return {std::to_string(number), dateTime, level, "61.0 dB", "90.2 dB", "95.5 dB"};
}

// Points one minute apart from 2022/03/30 hh:00:00 (the date moving on past midnight), the level
// rising from 40 dB by `step` per point.
inline Rows risingPoints(int n, int startHour = 8, double step = 0.5) {
    const int64_t start = *sq::parseDateTimeText("2022/03/30 00:00:00") + startHour * 3600;
    Rows rows;
    for (int p = 0; p < n; ++p) {
        char level[32];
        std::snprintf(level, sizeof level, "%.1f dB", 40 + step * p);
        rows.push_back(pointRow(p + 1, sq::dateTimeTextOf(start + 60 * p), level));
    }
    return rows;
}

// The summary rows (under the title row) of a record measured with D1 and D2 (D3's PW duration is zero).
inline Rows summaryRows() {
    return {{"Criterion", "90 dB", "85 dB", "80 dB"},
            {"Exchange Rate", "3 dB", "3 dB", "5 dB"},
            {"PW Duration", "08:00:00", "08:00:00", "00:00:00"},
            {"Duration", "01:23:45", "01:23:45", "01:23:45"}};
}

class PlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        sq::Runtime::get().setVirtualTime(true);
        sq::windows().reset();
        sq::resetSharedState();
        sq::LoadDefaultTexts();
        sq::PlotData() = {};
        sq::PlotXMin() = 0;
        sq::PlotXMax() = 0;
        sq::registerPollTimers(&timer1, &timer2);
        sq::EnablePollTimers();
        sq::registerStandIn("Panel", nullptr, {}, sq::WindowKind::TopLevel);
        main().setCaption("Panel V10.06 - COM1 - QVX 410");
        summary = std::make_unique<sq::FlexGrid>(&host, 1, 4, 1, 1);
        points = std::make_unique<sq::FlexGrid>(&host, 1, 6, 1, 1);
        setGrid(*summary, summaryRows());
    }
    void TearDown() override {
        sq::EventPacer::setTestHook(0, {});
        sq::windows().reset();
        sq::registerPollTimers(nullptr, nullptr);
        sq::Runtime::get().setVirtualTime(false);
    }

    static sq::Window& main() { return sq::windows().window("Panel"); }
    static sq::Plot* plotWindow() { return dynamic_cast<sq::Plot*>(sq::windows().find(sq::Plot::kName)); }

    // Rows 1.. of `grid` become `rows` under its title row.
    static void setGrid(sq::FlexGrid& grid, const Rows& rows) {
        grid.setRows(1);
        for (const auto& row : rows) {
            std::string line;
            for (const auto& cell : row) line += cell + "\t";
            grid.AddItem(line);
        }
    }
    sq::Plot& plot(const Rows& pointRows, int column = 2, const std::string& caption = "LAVG") {
        setGrid(*points, pointRows);
        sq::ShowRecordPlot(*summary, *points, column, caption);
        sq::Plot* p = plotWindow();
        EXPECT_NE(p, nullptr);
        return *p;
    }

    // The window as it shows on the screen.
    static QImage grab(sq::Plot& p) {
        QImage image = p.surface()->grab().toImage();
        return image;
    }

    QWidget host;
    std::unique_ptr<sq::FlexGrid> summary;
    std::unique_ptr<sq::FlexGrid> points;
    sq::Timer timer1{{}, 200};
    sq::Timer timer2{{}, 1000};
    sq::ScopedScriptedDialogs dialogs;
};

}  // namespace sqtest
