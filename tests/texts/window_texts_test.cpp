#include "texts/window_texts.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

#include "texts/language_files.h"

namespace sq {
void PrintTo(TextTarget target, std::ostream* os) {
    static const char* const kNames[] = {"Caption",  "ToolTip",   "TreeNode",
                                         "GridCell", "ListItems", "AxisCaption"};
    *os << kNames[static_cast<int>(target)];
}
}  // namespace sq

namespace {

struct ExpectedAssignment {
    const char* procedure;
    sq::TextTarget target;
    const char* control;
    int index;
    int row;
    int col;
    const char* text;
};

const ExpectedAssignment kExpected[] = {
#include "expected_window_texts.inc"
};

using Procedure = sq::WindowTexts (*)(const sq::LanguageTexts&);

const std::map<std::string, Procedure> kProcedures = {
    {"ApplyClearMemoryFrmTexts", sq::clearMemoryFrmTexts},
    {"ApplyComPortSetFrmTexts", sq::comPortSetFrmTexts},
    {"ApplySonoquantFrmTexts", sq::sonoquantFrmTexts},
    {"ApplyHelpFrmTexts", sq::helpFrmTexts},
    {"ApplyLanguageFrmTexts", sq::languageFrmTexts},
    {"ApplyLEDAlarmFrmTexts", sq::ledAlarmFrmTexts},
    {"ApplyMemoryViewTexts", sq::memoryViewTexts},
    {"ApplyOneSetFormTexts", sq::oneSetFormTexts},
    {"ApplyToolbarTexts", sq::toolbarTexts},
    {"ApplyDeviceTreeTexts", sq::deviceTreeTexts},
    {"ApplyRTCFrmTexts", sq::rtcFrmTexts},
    {"ApplyScreenFrmTexts", sq::screenFrmTexts},
    {"ApplySetting410PanelFrmTexts", sq::setting410PanelFrmTexts},
    {"ApplyTimerFrmTexts", sq::timerFrmTexts},
    {"ApplyWelcomSetFrmTexts", sq::welcomSetFrmTexts},
    {"ApplyDataListFrmTexts", sq::dataListFrmTexts},
    {"ApplyFileListFrmTexts", sq::fileListFrmTexts},
    {"ApplyHistogramTexts", sq::histogramTexts},
    {"ApplyPlotTexts", sq::plotTexts},
    {"ApplyLunchTimeFrmTexts", sq::lunchTimeFrmTexts},
};

// A table in which every entry reads as its own name, so an assignment shows which entry it took.
sq::LanguageTexts entryNames() {
    sq::LanguageTexts table;
    for (std::size_t i = 0; i < sq::kLanguageTextCount; ++i) sq::textAt(table, i) = sq::textEntries()[i].name;
    return table;
}

std::string textOf(const sq::TextAssignment& a) {
    if (a.target != sq::TextTarget::ListItems) return a.text;
    std::string joined;
    for (const std::string& item : a.items) joined += (joined.empty() ? "" : "|") + item;
    return joined;
}

TEST(WindowTexts, everyProcedureMakesTheAssignmentsOfTheReferenceTablesInOrder) {
    const sq::LanguageTexts names = entryNames();
    std::map<std::string, std::vector<const ExpectedAssignment*>> expectedByProcedure;
    for (const ExpectedAssignment& e : kExpected) expectedByProcedure[e.procedure].push_back(&e);
    ASSERT_EQ(expectedByProcedure.size(), kProcedures.size());

    for (const auto& [procedure, expected] : expectedByProcedure) {
        SCOPED_TRACE(procedure);
        ASSERT_TRUE(kProcedures.count(procedure));
        const sq::WindowTexts texts = kProcedures.at(procedure)(names);
        const auto& actual = texts.assignments();
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < actual.size(); ++i) {
            SCOPED_TRACE("assignment " + std::to_string(i));
            EXPECT_EQ(actual[i].target, expected[i]->target);
            EXPECT_EQ(actual[i].control, expected[i]->control);
            EXPECT_EQ(actual[i].index, expected[i]->index);
            EXPECT_EQ(actual[i].row, expected[i]->row);
            EXPECT_EQ(actual[i].col, expected[i]->col);
            EXPECT_EQ(textOf(actual[i]), expected[i]->text);
        }
    }
}

TEST(WindowTexts, lookupsFindWhatTheProcedureSetsAndNothingElse) {
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);
    sq::WindowTexts timer = sq::timerFrmTexts(table);
    EXPECT_EQ(timer.windowCaption(), "Time");
    EXPECT_EQ(timer.caption("DelayDurLbl"), "Duration");
    EXPECT_EQ(timer.items("TimerManuallyCbx"),
              (std::vector<std::string>{"Manually", "Delay", "Repeat", "PC"}));
    EXPECT_EQ(timer.caption("NoSuchLbl"), std::nullopt);
    EXPECT_EQ(sq::oneSetFormTexts(table).windowCaption(), std::nullopt);
    EXPECT_EQ(sq::lunchTimeFrmTexts(table).windowCaption(), std::nullopt);

    sq::WindowTexts data = sq::dataListFrmTexts(table);
    EXPECT_EQ(data.toolTip("Toolbar1", 3), "Export PDF...");
    EXPECT_EQ(data.caption("Check1", 102), "Ki");
    EXPECT_EQ(data.cell("QVX410Grid", 0, 3), "D3");
    EXPECT_EQ(data.cell("QVX410Grid", 3, 3), std::nullopt);
    EXPECT_EQ(sq::histogramTexts(table).axisCaption("HistGraph", 2), "Frequency (Times)");
    EXPECT_EQ(sq::deviceTreeTexts(table).treeNode("TreeView1", 20), "Help");
}

TEST(WindowTexts, gridsAreLeftWithTheirLastWrittenCellCurrent) {
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);
    auto lastCell = [](const sq::WindowTexts& w, const std::string& grid) {
        std::pair<int, int> last{-1, -1};
        for (const auto& a : w.assignments())
            if (a.target == sq::TextTarget::GridCell && a.control == grid) last = {a.row, a.col};
        return last;
    };
    EXPECT_EQ(lastCell(sq::memoryViewTexts(table), "MemoryListGrid"), std::make_pair(0, 2));
    sq::WindowTexts data = sq::dataListFrmTexts(table);
    EXPECT_EQ(lastCell(data, "QVX410Grid"), std::make_pair(10, 0));
    EXPECT_EQ(lastCell(data, "QVX410PointGrid"), std::make_pair(0, 5));
    EXPECT_EQ(lastCell(data, "GridUserInfo"), std::make_pair(4, 0));
    EXPECT_EQ(lastCell(sq::fileListFrmTexts(table), "GridRecord"), std::make_pair(0, 5));
}

TEST(WindowTexts, aLoadedLanguageReachesEveryControlOfAnEntryButNeverTheFixedTexts) {
    sq::LanguageTexts table;
    sq::loadDefaultTexts(table);
    sq::applyLanguageLines({"Timers\\Minuterie", "LunchTime\\Pause midi", "Stop\\Fin", "Help\\Aide"}, table);

    EXPECT_EQ(sq::timerFrmTexts(table).windowCaption(), "Minuterie");
    EXPECT_EQ(sq::setting410PanelFrmTexts(table).caption("TimersBtn"), "Minuterie");
    sq::WindowTexts plot = sq::plotTexts(table);
    EXPECT_EQ(plot.caption("LblNos"), "Minuterie");
    EXPECT_EQ(plot.caption("LblNosX"), "Minuterie");
    EXPECT_EQ(plot.caption("LblNosY"), "dB (Y):");
    sq::WindowTexts tree = sq::deviceTreeTexts(table);
    EXPECT_EQ(tree.treeNode("TreeView1", 11), "Minuterie");
    EXPECT_EQ(tree.treeNode("TreeView1", 15), "LunchTime");
    EXPECT_EQ(tree.treeNode("TreeView1", 20), "Aide");
    EXPECT_EQ(sq::setting410PanelFrmTexts(table).caption("BtnLunchTime"), "LunchTime");
    EXPECT_EQ(sq::lunchTimeFrmTexts(table).caption("FrmStop"), "Stop");
    EXPECT_EQ(sq::toolbarTexts(table).toolTip("Toolbar1", 9), "Aide");
}

}  // namespace
