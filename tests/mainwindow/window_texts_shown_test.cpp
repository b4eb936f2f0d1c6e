// What every window shows of the loaded language. A language file gives each entry a marker of its
// own, so a control that shows another entry's text, or keeps its designed one, stands out. Each
// window is read through its own controls, by the names its text procedure uses.
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "mainwindow/help_frm.h"
#include "mainwindow/language_frm.h"
#include "mainwindow/panel_fixture.h"
#include "platform/text_file.h"
#include "records/data_list_frm.h"
#include "records/file_list_frm.h"
#include "reports/histogram.h"
#include "reports/plot.h"
#include "settings/clear_memory_frm.h"
#include "settings/led_alarm_frm.h"
#include "settings/lunch_time_frm.h"
#include "settings/one_set_form.h"
#include "settings/rtc_frm.h"
#include "settings/screen_frm.h"
#include "settings/setting410_panel_frm.h"
#include "settings/sonoquant_frm.h"
#include "settings/timer_frm.h"
#include "settings/welcom_set_frm.h"
#include "texts/language_files.h"
#include "texts/window_texts.h"

using namespace sq;
using sqtest::PanelTest;
using Lines = std::vector<std::string>;

namespace {

// The marker of an entry in one of the two marker languages (0 or 1).
std::string markerOf(size_t entry, int language = 0) {
    return (language == 0 ? "#" : "~") + std::to_string(entry);
}

// What a window's controls show, reached by the names the text procedures give them.
class Shown {
public:
    template <class C>
    Shown& caption(const std::string& name, C& control) {
        m_captions[name] = [&control] { return control.Caption(); };
        return *this;
    }
    // Elements of a control array, toolbar buttons, tree nodes or graph axes by position.
    Shown& indexed(const std::string& name, std::function<std::string(int)> read) {
        m_indexed[name] = std::move(read);
        return *this;
    }
    Shown& grid(const std::string& name, const FlexGrid& grid) {
        m_grids[name] = &grid;
        return *this;
    }
    Shown& list(const std::string& name, const ComboList& list) {
        m_lists[name] = &list;
        return *this;
    }
    Shown& toolTips(const std::string& name, const ToolBar& bar) {
        return indexed(name, [&bar](int button) { return bar.buttonToolTip(button); });
    }

    // What the control that `a` names shows, as a list of texts (one for all but combo lists);
    // nullopt when the window has no control of that name.
    [[nodiscard]] std::optional<Lines> read(const TextAssignment& a) const {
        if (a.target == TextTarget::ListItems) {
            auto it = m_lists.find(a.control);
            if (it == m_lists.end()) return std::nullopt;
            Lines items;
            for (int i = 0; i < it->second->ListCount(); ++i) items.push_back(it->second->List(i));
            return items;
        }
        if (a.target == TextTarget::GridCell) {
            auto it = m_grids.find(a.control);
            if (it == m_grids.end()) return std::nullopt;
            return Lines{it->second->TextMatrix(a.row, a.col)};
        }
        if (a.target == TextTarget::Caption && a.index < 0) {
            auto it = m_captions.find(a.control);
            if (it == m_captions.end()) return std::nullopt;
            return Lines{it->second()};
        }
        auto it = m_indexed.find(a.control);
        if (it == m_indexed.end()) return std::nullopt;
        return Lines{it->second(a.index)};
    }

private:
    std::map<std::string, std::function<std::string()>> m_captions;
    std::map<std::string, std::function<std::string(int)>> m_indexed;
    std::map<std::string, const FlexGrid*> m_grids;
    std::map<std::string, const ComboList*> m_lists;
};

std::string describe(const TextAssignment& a) {
    std::string out = a.control;
    if (a.index >= 0) out += "(" + std::to_string(a.index) + ")";
    if (a.row >= 0) out += " row " + std::to_string(a.row) + " col " + std::to_string(a.col);
    return out;
}

// Every control the procedure names shows the text it puts there (the last one, where it writes a
// control twice). Controls in `rewritten` are left out: the window's load writes them again.
void expectShows(const WindowTexts& procedure, const Shown& shown,
                 const std::set<std::string>& rewritten = {}) {
    std::set<std::string> checked;
    const auto& all = procedure.assignments();
    for (auto a = all.rbegin(); a != all.rend(); ++a) {
        if (rewritten.count(a->control) || !checked.insert(describe(*a)).second) continue;
        const std::optional<Lines> seen = shown.read(*a);
        if (!seen) {
            ADD_FAILURE() << "no control " << describe(*a);
            continue;
        }
        EXPECT_EQ(*seen, a->target == TextTarget::ListItems ? a->items : Lines{a->text}) << describe(*a);
    }
    EXPECT_FALSE(checked.empty());
}

Shown comPortSetFrmShows(ComPortSetFrm& w) {
    return Shown()
        .caption(ComPortSetFrm::kName, w)
        .caption("PortScanBtn", w.PortScanBtn)
        .caption("PortResetBtn", w.PortResetBtn)
        .caption("LinkBtn", w.LinkBtn)
        .caption("DeviceManager", w.DeviceManager)
        .caption("DeviceLbl", w.DeviceLbl)
        .caption("ComPortLbl", w.ComPortLbl);
}

template <class ArrayOwner>
std::function<std::string(int)> captionsOf(ArrayOwner& array) {
    return [&array](int i) { return array[i].Caption(); };
}

// The program started under a language that gives every entry its marker.
class WindowTextsShownTest : public PanelTest {
public:
    using PanelTest::waitFor;

protected:
    void SetUp() override {
        PanelTest::SetUp();
        m_savedList = readFileBytes(languageListPath());
        languageState() = LanguageState{};
        for (int language : {0, 1}) {
            Lines lines;
            const auto entries = textEntries();
            for (size_t i = 0; i < entries.size(); ++i)
                if (entries[i].key)
                    lines.push_back(std::string(entries[i].key) + "\\" + markerOf(i, language));
            ASSERT_TRUE(writeTextLines(languageFilePathFor(kLanguages[language]), lines));
        }
        ASSERT_TRUE(writeTextLines(languageListPath(), {"Language\\1", "1\\Marker", "2\\Other"}));
    }

    void TearDown() override {
        PanelTest::TearDown();
        std::error_code ignored;
        for (const char* language : kLanguages)
            std::filesystem::remove(languageFilePathFor(language), ignored);
        if (m_savedList)
            writeFileAtomic(languageListPath(), *m_savedList);
        else
            std::filesystem::remove(languageListPath(), ignored);
        languageState() = LanguageState{};
        LoadDefaultTexts();
    }

    void answerModal(Window& w) override {
        if (auto* setup = dynamic_cast<ComPortSetFrm*>(&w)) {
            SCOPED_TRACE("ApplyComPortSetFrmTexts");
            expectShows(comPortSetFrmTexts(texts()), comPortSetFrmShows(*setup));
            ++portSetupsChecked;
        }
        PanelTest::answerModal(w);
    }

    // Every entry that a language file can set holds its marker of `language`.
    static void expectMarkersLoaded(int language) {
        const auto entries = textEntries();
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].key) {
                ASSERT_EQ(texts().*entries[i].member, markerOf(i, language)) << entries[i].name;
            }
        }
    }

    static constexpr const char* kLanguages[] = {"Marker", "Other"};
    int portSetupsChecked = 0;

private:
    std::optional<std::string> m_savedList;
};

struct WindowCase {
    const char* procedure;
    WindowTexts (*texts)(const LanguageTexts&);
    // Loads the window and names its controls.
    std::function<Shown(WindowTextsShownTest&, Panel&)> open;
    std::set<std::string> rewritten = {};
};

Shown dataListFrmShows(DataListFrm& w) {
    return Shown()
        .caption("PageLbl", w.PageLbl)
        .toolTips("Toolbar1", w.Toolbar1)
        .caption("ItemBtn", w.ItemBtn)
        .caption("SetBtn", w.SetBtn)
        .caption("AllSelBtn", w.AllSelBtn)
        .indexed("Option1", captionsOf(w.Option1))
        .caption("BtnSelectOK", w.BtnSelectOK)
        .caption("BtnExit", w.BtnExit)
        .caption("SSfResolution", w.SSfResolution)
        .indexed("Check1", [&w](int i) { return w.Check1.at(static_cast<size_t>(i))->Caption(); })
        .grid("QVX410Grid", w.QVX410Grid)
        .grid("QVX410PointGrid", w.QVX410PointGrid)
        .grid("GridUserInfo", w.GridUserInfo);
}

Shown fileListFrmShows(FileListFrm& w) {
    return Shown()
        .toolTips("Toolbar1", w.Toolbar1)
        .indexed("Option1", captionsOf(w.Option1))
        .caption("BtnSelectOK", w.BtnSelectOK)
        .caption("BtnExit", w.BtnExit)
        .caption("SSfResolution", w.SSfResolution)
        .grid("GridRecord", w.GridRecord);
}

const std::vector<WindowCase>& windowCases() {
    static const std::vector<WindowCase> cases = {
        {"ApplyClearMemoryFrmTexts", clearMemoryFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<ClearMemoryFrm>();
             return Shown()
                 .caption(ClearMemoryFrm::kName, w)
                 .caption("ClearBtn", w.ClearBtn)
                 .caption("ExitBtn", w.ExitBtn);
         }},
        {"ApplySonoquantFrmTexts", sonoquantFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<SonoquantFrm>();
             return Shown()
                 .caption(SonoquantFrm::kName, w)
                 .caption("SonoquantSetBtn", w.SonoquantSetBtn)
                 .caption("ExitBtn", w.ExitBtn)
                 .caption("Meter1Lbl", w.Meter1Lbl)
                 .caption("Meter2Lbl", w.Meter2Lbl)
                 .caption("Meter3Lbl", w.Meter3Lbl)
                 .caption("EnabledLbl", w.EnabledLbl)
                 .caption("StandardLbl", w.StandardLbl)
                 .caption("TimeweightedLbl", w.TimeweightedLbl)
                 .caption("ThresholdLbl", w.ThresholdLbl)
                 .caption("CriterionLbl", w.CriterionLbl)
                 .caption("ExchangerateLbl", w.ExchangerateLbl)
                 .caption("ExceedanceLbl", w.ExceedanceLbl)
                 .caption("PWDurationLbl", w.PWDurationLbl);
         }},
        {"ApplyHelpFrmTexts", helpFrmTexts,
         [](WindowTextsShownTest&, Panel& p) {
             p.Toolbar1.click("Help");
             auto& w = form<HelpFrm>();
             return Shown()
                 .caption(HelpFrm::kName, w)
                 .caption("ExitBtn", w.ExitBtn)
                 .indexed("MunOpt", [&w](int i) { return w.MunOpt(i).Caption(); });
         }},
        {"ApplyLanguageFrmTexts", languageFrmTexts,
         [](WindowTextsShownTest&, Panel& p) {
             p.Toolbar1.click("Language");
             auto& w = form<LanguageFrm>();
             return Shown()
                 .caption(LanguageFrm::kName, w)
                 .caption("SetBtn", w.SetBtn)
                 .caption("ExitBtn", w.ExitBtn);
         }},
        {"ApplyLEDAlarmFrmTexts", ledAlarmFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<LEDAlarmFrm>();
             return Shown()
                 .caption(LEDAlarmFrm::kName, w)
                 .caption("EnabledLbl", w.EnabledLbl)
                 .caption("LowerLimitLbl", w.LowerLimitLbl)
                 .caption("UpperLimitLbl", w.UpperLimitLbl)
                 .caption("LasLbl", w.LasLbl)
                 .caption("LaeqLb", w.LaeqLb)
                 .caption("LcpkLb", w.LcpkLb)
                 .caption("LzpkLb", w.LzpkLb)
                 .caption("LavgLbl", w.LavgLbl)
                 .caption("TwaLbl", w.TwaLbl)
                 .caption("PtwaLbl", w.PtwaLbl)
                 .caption("LepdLbl", w.LepdLbl)
                 .caption("PLepdLbl", w.PLepdLbl)
                 .caption("Lex8hLbl", w.Lex8hLbl)
                 .caption("Plex8hLbl", w.Plex8hLbl);
         }},
        {"ApplyMemoryViewTexts", memoryViewTexts,
         [](WindowTextsShownTest& t, Panel& p) {
             // Shown again over a list that holds rows: the header is written afresh.
             p.Toolbar1.click("Memory");
             EXPECT_TRUE(t.waitFor([] { return flags().ListingMemory == kFalse; }, 30));
             EXPECT_GT(p.MemoryListGrid.Rows(), 1);
             p.ShowMemoryInfoPanel(true);
             return Shown()
                 .caption("LblTitle", p.LblTitle)
                 .caption("TotalSizeLbl", p.TotalSizeLbl)
                 .caption("ReMainSizeLbl", p.ReMainSizeLbl)
                 .caption("MemoryMessageLbl", p.MemoryMessageLbl)
                 .grid("MemoryListGrid", p.MemoryListGrid);
         }},
        {"ApplyOneSetFormTexts", oneSetFormTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<OneSetForm>();
             return Shown().caption("SetBtn", w.SetBtn).caption("CurMeterLbl", w.CurMeterLbl);
         }},
        {"ApplyToolbarTexts", toolbarTexts,
         [](WindowTextsShownTest&, Panel& p) { return Shown().toolTips("Toolbar1", p.Toolbar1); }},
        {"ApplyDeviceTreeTexts", deviceTreeTexts,
         [](WindowTextsShownTest&, Panel& p) {
             return Shown().indexed("TreeView1", [&p](int node) { return p.TreeView1.nodeText(node); });
         }},
        {"ApplyRTCFrmTexts", rtcFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<RTCFrm>();
             return Shown()
                 .caption(RTCFrm::kName, w)
                 .caption("PcTimeLbl", w.PcTimeLbl)
                 .caption("MeterTimeLbl", w.MeterTimeLbl)
                 .caption("RTCSetBtn", w.RTCSetBtn)
                 .caption("ExitBtn", w.ExitBtn);
         }},
        {"ApplyScreenFrmTexts", screenFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<ScreenFrm>();
             return Shown()
                 .caption(ScreenFrm::kName, w)
                 .caption("MeterLbl", w.MeterLbl)
                 .caption("UpPageLbl", w.UpPageLbl)
                 .caption("DownPageLbl", w.DownPageLbl)
                 .indexed("PageLbl", [&w](int i) { return w.PageLbl(i).Caption(); })
                 .caption("ScreenSetBtn", w.ScreenSetBtn)
                 .caption("ExitBtn", w.ExitBtn);
         }},
        {"ApplySetting410PanelFrmTexts", setting410PanelFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<Setting410PanelFrm>();
             return Shown()
                 .caption(Setting410PanelFrm::kName, w)
                 .caption("LcdContrastBtn", w.LcdContrastBtn)
                 .caption("LcdAPOBtn", w.LcdAPOBtn)
                 .caption("SonoquantBtn", w.SonoquantBtn)
                 .caption("TimersBtn", w.TimersBtn)
                 .caption("ScreenBtn", w.ScreenBtn)
                 .caption("PauseBtn", w.PauseBtn)
                 .caption("LEDAlarmBtn", w.LEDAlarmBtn)
                 .caption("AutoLockKeypadBtn", w.AutoLockKeypadBtn)
                 .caption("AutoScrollBtn", w.AutoScrollBtn)
                 .caption("WelcomInputBtn", w.WelcomInputBtn)
                 .caption("BtnCalibration", w.BtnCalibration)
                 .caption("BtnLunchTime", w.BtnLunchTime)
                 .caption("BtnIntervalTime", w.BtnIntervalTime);
         }},
        {"ApplyTimerFrmTexts", timerFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<TimerFrm>();
             EXPECT_EQ(w.TimerManuallyCbx.ListIndex(), -1)
                 << "the mode list is filled last, nothing selected";
             return Shown()
                 .caption(TimerFrm::kName, w)
                 .caption("ModeLbl", w.ModeLbl)
                 .caption("TimerBtn", w.TimerBtn)
                 .caption("ExitBtn", w.ExitBtn)
                 .caption("PCRepeatLbl", w.PCRepeatLbl)
                 .caption("EnabledSSF", w.EnabledSSF)
                 .caption("StartSSF", w.StartSSF)
                 .caption("StopSSF", w.StopSSF)
                 .caption("PcStartHourLbl", w.PcStartHourLbl)
                 .caption("PcStartMinuteLbl", w.PcStartMinuteLbl)
                 .caption("PcStopHourLbl", w.PcStopHourLbl)
                 .caption("PcStopMinuteLbl", w.PcStopMinuteLbl)
                 .caption("DelayYearLbl", w.DelayYearLbl)
                 .caption("DelayMonthLbl", w.DelayMonthLbl)
                 .caption("DelayDayLbl", w.DelayDayLbl)
                 .caption("DelayHourLbl", w.DelayHourLbl)
                 .caption("DelayMinuteLbl", w.DelayMinuteLbl)
                 .caption("DelayDurLbl", w.DelayDurLbl)
                 .caption("DelayDurHourLbl", w.DelayDurHourLbl)
                 .caption("DelayDurMinuteLbl", w.DelayDurMinuteLbl)
                 .caption("RepeatStartTimeSSF", w.RepeatStartTimeSSF)
                 .caption("RepeatStartHourLbl", w.RepeatStartHourLbl)
                 .caption("RepeatStartMinuteLbl", w.RepeatStartMinuteLbl)
                 .caption("RepeatStopTimeSSF", w.RepeatStopTimeSSF)
                 .caption("RepeatStopHourLbl", w.RepeatStopHourLbl)
                 .caption("RepeatStopMinuteLbl", w.RepeatStopMinuteLbl)
                 .list("TimerManuallyCbx", w.TimerManuallyCbx);
         }},
        {"ApplyWelcomSetFrmTexts", welcomSetFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<WelcomSetFrm>();
             return Shown()
                 .caption(WelcomSetFrm::kName, w)
                 .caption("SetBtn", w.SetBtn)
                 .caption("ExitBtn", w.ExitBtn);
         }},
        // With a model known the record's own summary rows replace the procedure's labels.
        {"ApplyDataListFrmTexts",
         dataListFrmTexts,
         [](WindowTextsShownTest&, Panel&) { return dataListFrmShows(form<DataListFrm>()); },
         {"QVX410Grid"}},
        {"ApplyDataListFrmTexts, no model known", dataListFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             const std::string model = std::exchange(shared().DeviceModel, "");
             auto& w = form<DataListFrm>();
             shared().DeviceModel = model;
             return dataListFrmShows(w);
         }},
        {"ApplyFileListFrmTexts", fileListFrmTexts,
         [](WindowTextsShownTest&, Panel&) { return fileListFrmShows(form<FileListFrm>()); }},
        {"ApplyHistogramTexts", histogramTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<Histogram>();
             return Shown().toolTips("Toolbar1", w.Toolbar1).indexed("HistGraph", [&w](int axis) {
                 return w.HistGraph.Axes(axis).Caption();
             });
         }},
        {"ApplyPlotTexts", plotTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<Plot>();
             return Shown()
                 .caption("FrmGraphic", w.FrmGraphic)
                 .caption("SSFGraphRange", w.SSFGraphRange)
                 .caption("SSFTrackMode", w.SSFTrackMode)
                 .caption("SSFCursorInformation", w.SSFCursorInformation)
                 .caption("LblNos", w.LblNos)
                 .caption("LblNosX", w.LblNosX)
                 .caption("LblNosY", w.LblNosY)
                 .caption("CmdReset", w.CmdReset)
                 .caption("CmdPrint", w.CmdPrint);
         }},
        {"ApplyLunchTimeFrmTexts", lunchTimeFrmTexts,
         [](WindowTextsShownTest&, Panel&) {
             auto& w = form<LunchTimeFrm>();
             return Shown()
                 .caption("LblEn", w.LblEn)
                 .caption("LblStartHour", w.LblStartHour)
                 .caption("LblStartMinute", w.LblStartMinute)
                 .caption("LblStopHour", w.LblStopHour)
                 .caption("LblStopMinute", w.LblStopMinute)
                 .caption("BtnSet", w.BtnSet)
                 .caption("BtnExit", w.BtnExit)
                 .list("CbxEn", w.CbxEn)
                 .caption("FrmStart", w.FrmStart)
                 .caption("FrmStop", w.FrmStop)
                 .list("CbxStartHour", w.CbxStartHour)
                 .list("CbxStartMinute", w.CbxStartMinute)
                 .list("CbxStopHour", w.CbxStopHour)
                 .list("CbxStopMinute", w.CbxStopMinute);
         }},
    };
    return cases;
}

TEST_F(WindowTextsShownTest, everyWindowShowsItsEntriesInEveryControlItsProcedureNames) {
    sim->addRecord(
        metersim::makeRecord({2022, 3, 30, 14, 5, 9}, 60, {metersim::Point{900, 910, 1200, 1300, false}}));
    Panel& p = start();
    ASSERT_TRUE(waitFor([&] { return p.TreeView1.nodeCount() == 20; }, 5));
    EXPECT_EQ(portSetupsChecked, 1);
    expectMarkersLoaded(0);

    for (const WindowCase& c : windowCases()) {
        SCOPED_TRACE(c.procedure);
        const Shown shown = c.open(*this, p);
        expectShows(c.texts(texts()), shown, c.rewritten);
        for (const char* name :
             {"ClearMemoryFrm", "SonoquantFrm", "HelpFrm", "LanguageFrm", "LEDAlarmFrm", "OneSetForm",
              "RTCFrm", "ScreenFrm", "Setting410PanelFrm", "TimerFrm", "WelcomSetFrm", "DataListFrm",
              "FileListFrm", "Histogram", "Plot", "LunchTimeFrm"})
            windows().unload(name);
        dialogs->clear();
    }
}

// Without a model it can show, the data-file window keeps the texts it was designed with.
TEST_F(WindowTextsShownTest, theDataFileWindowWithoutAKnownModelKeepsItsDesignedTexts) {
    sim->setSilent(true);
    start();
    ASSERT_TRUE(shared().DeviceModel.empty());
    ASSERT_TRUE(shared().FileModel.empty());
    const Shown shown = fileListFrmShows(form<FileListFrm>());
    const WindowTexts procedure = fileListFrmTexts(texts());
    for (const TextAssignment& a : procedure.assignments()) {
        const std::optional<Lines> seen = shown.read(a);
        ASSERT_TRUE(seen) << describe(a);
        EXPECT_NE(*seen, Lines{a.text}) << describe(a);
    }
    EXPECT_EQ(form<FileListFrm>().BtnExit.Caption(), "Exit");
}

// After a change of language the toolbar and all twenty tree nodes take the new entries at once.
TEST_F(WindowTextsShownTest, aChangeOfLanguageReachesEveryToolTipAndEveryTreeNode) {
    Panel& p = start();
    ASSERT_TRUE(waitFor([&] { return p.TreeView1.nodeCount() == 20; }, 5));
    p.Toolbar1.click("Language");
    LanguageFrm& w = form<LanguageFrm>();
    w.Language[1].click();
    w.SetBtn.click();
    expectMarkersLoaded(1);
    expectShows(toolbarTexts(texts()), Shown().toolTips("Toolbar1", p.Toolbar1));
    expectShows(deviceTreeTexts(texts()),
                Shown().indexed("TreeView1", [&p](int node) { return p.TreeView1.nodeText(node); }));
}

}  // namespace
