#include "texts/window_texts.h"

#include <initializer_list>

namespace sq {

namespace {

using T = LanguageTexts;
using Entry = std::string LanguageTexts::*;

struct Caption {
    const char* control;
    Entry entry;
    int index = -1;
};

void addCaptions(WindowTexts& w, const T& t, std::initializer_list<Caption> captions) {
    for (const Caption& c : captions)
        w.add({TextTarget::Caption, c.control, c.index, -1, -1, t.*c.entry, {}});
}

// Captions of the array elements control(first), control(first + 1), ... in order.
void addElementCaptions(WindowTexts& w, const T& t, const char* control, int first,
                        std::initializer_list<Entry> entries) {
    int index = first;
    for (Entry e : entries) w.add({TextTarget::Caption, control, index++, -1, -1, t.*e, {}});
}

void addToolTips(WindowTexts& w, const T& t, const char* toolbar, std::initializer_list<Entry> entries) {
    int button = 1;
    for (Entry e : entries) w.add({TextTarget::ToolTip, toolbar, button++, -1, -1, t.*e, {}});
}

void addCell(WindowTexts& w, const char* grid, int row, int col, std::string text) {
    w.add({TextTarget::GridCell, grid, -1, row, col, std::move(text), {}});
}

void addHeaderRow(WindowTexts& w, const T& t, const char* grid, std::initializer_list<Entry> entries) {
    int col = 0;
    for (Entry e : entries) addCell(w, grid, 0, col++, t.*e);
}

void addColumn0(WindowTexts& w, const T& t, const char* grid, int firstRow,
                std::initializer_list<Entry> entries) {
    int row = firstRow;
    for (Entry e : entries) addCell(w, grid, row++, 0, t.*e);
}

void addList(WindowTexts& w, const char* control, std::vector<std::string> items) {
    w.add({TextTarget::ListItems, control, -1, -1, -1, {}, std::move(items)});
}

std::vector<std::string> numbersUpTo(int last) {
    std::vector<std::string> numbers;
    for (int n = 0; n <= last; ++n) numbers.push_back(std::to_string(n));
    return numbers;
}

constexpr Entry kDeviceTreeEntries[] = {
    &T::TxtRTC,
    &T::TxtMemory,
    &T::TxtSetting,
    &T::TxtLcdContrast,
    &T::TxtLcdAPO,
    &T::TxtPause,
    &T::TxtLEDAlarm,
    &T::TxtSonoquant,
    &T::TxtAutoLockKeypad,
    &T::TxtAutoScrollScreens,
    &T::TxtTimers,
    &T::TxtScreen,
    &T::TxtInputText,
    &T::TxtCalibration,
    &T::TxtLunchTime,
    &T::TxtIntervalTime,
    &T::TxtClearMemory,
    &T::TxtOtherOption,
    &T::TxtLanguage,
    &T::TxtHelp,
};

constexpr Entry kSummaryItemEntries[] = {
    // single items
    &T::TxtExceedanceTime,
    &T::TxtExceedanceStopTime,
    &T::TxtDose,
    &T::TxtPDose,
    &T::TxtTWA,
    &T::TxtPTWA,
    &T::TxtLAVG,
    &T::TxtLEPd,
    &T::TxtPLEPd,
    &T::TxtLAEQ,
    &T::TxtLCEQ,
    &T::TxtLZEQ,
    &T::TxtLAE,
    &T::TxtLCE,
    &T::TxtLZE,
    &T::TxtEA,
    &T::TxtEC,
    &T::TxtEZ,
    &T::TxtPKA,
    &T::TxtPKC,
    &T::TxtPKZ,
    &T::TxtLEX8H,
    &T::TxtPLEX8H,
    &T::TxtEXPh,
    &T::TxtEXPs,
    &T::TxtNEN,
    &T::TxtPNEN,
    // maxima and minima
    &T::TxtLAFMax,
    &T::TxtLAFMin,
    &T::TxtLASMax,
    &T::TxtLASMin,
    &T::TxtLAIMax,
    &T::TxtLAIMin,
    &T::TxtLCFMax,
    &T::TxtLCFMin,
    &T::TxtLCSMax,
    &T::TxtLCSMin,
    &T::TxtLCIMax,
    &T::TxtLCIMin,
    &T::TxtLZFMax,
    &T::TxtLZFMin,
    &T::TxtLZSMax,
    &T::TxtLZSMin,
    &T::TxtLZIMax,
    &T::TxtLZIMin,
    // percentile levels
    &T::TxtLAF05,
    &T::TxtLAS05,
    &T::TxtLAI05,
    &T::TxtLCF05,
    &T::TxtLCS05,
    &T::TxtLCI05,
    &T::TxtLZF05,
    &T::TxtLZS05,
    &T::TxtLZI05,
    &T::TxtLAF10,
    &T::TxtLAS10,
    &T::TxtLAI10,
    &T::TxtLCF10,
    &T::TxtLCS10,
    &T::TxtLCI10,
    &T::TxtLZF10,
    &T::TxtLZS10,
    &T::TxtLZI10,
    &T::TxtLAF50,
    &T::TxtLAS50,
    &T::TxtLAI50,
    &T::TxtLCF50,
    &T::TxtLCS50,
    &T::TxtLCI50,
    &T::TxtLZF50,
    &T::TxtLZS50,
    &T::TxtLZI50,
    &T::TxtLAF90,
    &T::TxtLAS90,
    &T::TxtLAI90,
    &T::TxtLCF90,
    &T::TxtLCS90,
    &T::TxtLCI90,
    &T::TxtLZF90,
    &T::TxtLZS90,
    &T::TxtLZI90,
    &T::TxtLAF95,
    &T::TxtLAS95,
    &T::TxtLAI95,
    &T::TxtLCF95,
    &T::TxtLCS95,
    &T::TxtLCI95,
    &T::TxtLZF95,
    &T::TxtLZS95,
    &T::TxtLZI95,
    // closing items
    &T::TxtLAEQ05,
    &T::TxtLAEQ10,
    &T::TxtLAEQ50,
    &T::TxtLAEQ90,
    &T::TxtLAEQ95,
    &T::TxtLAIEQ,
    &T::TxtLCIEQ,
    &T::TxtLZIEQ,
    &T::TxtLAFTM5,
    &T::TxtLAFTM3,
    &T::TxtTi,
    &T::TxtHML,
    &T::TxtKi,
};
static_assert(std::size(kDeviceTreeEntries) == 20);
static_assert(std::size(kSummaryItemEntries) == 103);

}  // namespace

const TextAssignment* WindowTexts::find(TextTarget target, std::string_view control, int index, int row,
                                        int col) const {
    const TextAssignment* found = nullptr;
    for (const TextAssignment& a : m_assignments)
        if (a.target == target && a.control == control && a.index == index && a.row == row && a.col == col)
            found = &a;
    return found;
}

namespace {
std::optional<std::string> textOf(const TextAssignment* a) {
    if (!a) return std::nullopt;
    return a->text;
}
}  // namespace

std::optional<std::string> WindowTexts::caption(std::string_view control, int index) const {
    return textOf(find(TextTarget::Caption, control, index));
}

std::optional<std::string> WindowTexts::toolTip(std::string_view toolbar, int button) const {
    return textOf(find(TextTarget::ToolTip, toolbar, button));
}

std::optional<std::string> WindowTexts::treeNode(std::string_view tree, int node) const {
    return textOf(find(TextTarget::TreeNode, tree, node));
}

std::optional<std::string> WindowTexts::cell(std::string_view grid, int row, int col) const {
    return textOf(find(TextTarget::GridCell, grid, -1, row, col));
}

std::optional<std::vector<std::string>> WindowTexts::items(std::string_view control) const {
    const TextAssignment* a = find(TextTarget::ListItems, control, -1);
    if (!a) return std::nullopt;
    return a->items;
}

std::optional<std::string> WindowTexts::axisCaption(std::string_view graph, int axis) const {
    return textOf(find(TextTarget::AxisCaption, graph, axis));
}

WindowTexts clearMemoryFrmTexts(const LanguageTexts& t) {
    WindowTexts w("ClearMemoryFrm");
    addCaptions(
        w, t,
        {{"ClearMemoryFrm", &T::TxtClearMemory}, {"ClearBtn", &T::TxtClearMemory}, {"ExitBtn", &T::TxtExit}});
    return w;
}

WindowTexts comPortSetFrmTexts(const LanguageTexts& t) {
    WindowTexts w("ComPortSetFrm");
    addCaptions(w, t,
                {{"ComPortSetFrm", &T::TxtComPort},
                 {"PortScanBtn", &T::TxtAutoScan},
                 {"PortResetBtn", &T::TxtResetComPort},
                 {"LinkBtn", &T::TxtOK},
                 {"DeviceManager", &T::TxtDeviceManager},
                 {"DeviceLbl", &T::TxtDevice},
                 {"ComPortLbl", &T::TxtComPort}});
    return w;
}

WindowTexts sonoquantFrmTexts(const LanguageTexts& t) {
    WindowTexts w("SonoquantFrm");
    addCaptions(w, t,
                {{"SonoquantFrm", &T::TxtSonoquant},
                 {"SonoquantSetBtn", &T::TxtSet},
                 {"ExitBtn", &T::TxtExit},
                 {"Meter1Lbl", &T::TxtMeter1},
                 {"Meter2Lbl", &T::TxtMeter2},
                 {"Meter3Lbl", &T::TxtMeter3},
                 {"EnabledLbl", &T::TxtEnabled},
                 {"StandardLbl", &T::TxtStandard},
                 {"TimeweightedLbl", &T::TxtTimeWeighted},
                 {"ThresholdLbl", &T::TxtThreshold},
                 {"CriterionLbl", &T::TxtCriterion},
                 {"ExchangerateLbl", &T::TxtExchangeRate},
                 {"ExceedanceLbl", &T::TxtExceedance},
                 {"PWDurationLbl", &T::TxtPWDuration}});
    return w;
}

WindowTexts helpFrmTexts(const LanguageTexts& t) {
    WindowTexts w("HelpFrm");
    addCaptions(w, t,
                {{"HelpFrm", &T::TxtHelp}, {"ExitBtn", &T::TxtExit}, {"MunOpt", &T::TxtManualEnglish, 1}});
    return w;
}

WindowTexts languageFrmTexts(const LanguageTexts& t) {
    WindowTexts w("LanguageFrm");
    addCaptions(w, t, {{"LanguageFrm", &T::TxtLanguage}, {"SetBtn", &T::TxtSet}, {"ExitBtn", &T::TxtExit}});
    return w;
}

WindowTexts ledAlarmFrmTexts(const LanguageTexts& t) {
    WindowTexts w("LEDAlarmFrm");
    addCaptions(w, t,
                {{"LEDAlarmFrm", &T::TxtLEDAlarm},
                 {"EnabledLbl", &T::TxtEnabled},
                 {"LowerLimitLbl", &T::TxtLowerLimit},
                 {"UpperLimitLbl", &T::TxtUpperLimit},
                 {"LasLbl", &T::TxtLAS},
                 {"LaeqLb", &T::TxtLAEQ},
                 {"LcpkLb", &T::TxtLCPK},
                 {"LzpkLb", &T::TxtLZPK},
                 {"LavgLbl", &T::TxtLAVG},
                 {"TwaLbl", &T::TxtTWA},
                 {"PtwaLbl", &T::TxtPTWA},
                 {"LepdLbl", &T::TxtLEPd},
                 {"PLepdLbl", &T::TxtPLEPd},
                 {"Lex8hLbl", &T::TxtLEX8H},
                 {"Plex8hLbl", &T::TxtPLEX8H}});
    return w;
}

WindowTexts memoryViewTexts(const LanguageTexts& t) {
    WindowTexts w("Panel");
    addCaptions(w, t,
                {{"LblTitle", &T::TxtMemory},
                 {"TotalSizeLbl", &T::TxtTotalSize},
                 {"ReMainSizeLbl", &T::TxtRemainSize},
                 {"MemoryMessageLbl", &T::TxtMessage}});
    addHeaderRow(w, t, "MemoryListGrid", {&T::TxtNos, &T::TxtDateTime, &T::TxtIndex});
    return w;
}

WindowTexts oneSetFormTexts(const LanguageTexts& t) {
    WindowTexts w("OneSetForm");
    addCaptions(w, t, {{"SetBtn", &T::TxtSet}, {"CurMeterLbl", &T::TxtMeter}});
    return w;
}

WindowTexts toolbarTexts(const LanguageTexts& t) {
    WindowTexts w("Panel");
    addToolTips(w, t, "Toolbar1",
                {&T::TxtOpenFile, &T::TxtComPortSet, &T::TxtShowSettingPanel, &T::TxtRealTimeList,
                 &T::TxtDrawRealTimeGraphics, &T::TxtRealTimeSet, &T::TxtMemory, &T::TxtClearMemory,
                 &T::TxtHelp, &T::TxtLanguage});
    return w;
}

WindowTexts deviceTreeTexts(const LanguageTexts& t) {
    WindowTexts w("Panel");
    int node = 1;
    for (std::string& text : deviceTreeNodeTexts(t))
        w.add({TextTarget::TreeNode, "TreeView1", node++, -1, -1, std::move(text), {}});
    return w;
}

WindowTexts rtcFrmTexts(const LanguageTexts& t) {
    WindowTexts w("RTCFrm");
    addCaptions(w, t,
                {{"RTCFrm", &T::TxtRTC},
                 {"PcTimeLbl", &T::TxtPCTime},
                 {"MeterTimeLbl", &T::TxtMeterTime},
                 {"RTCSetBtn", &T::TxtSet},
                 {"ExitBtn", &T::TxtExit}});
    return w;
}

WindowTexts screenFrmTexts(const LanguageTexts& t) {
    WindowTexts w("ScreenFrm");
    addCaptions(w, t,
                {{"ScreenFrm", &T::TxtScreen},
                 {"MeterLbl", &T::TxtMeter},
                 {"UpPageLbl", &T::TxtUp},
                 {"DownPageLbl", &T::TxtDown}});
    addElementCaptions(
        w, t, "PageLbl", 0,
        {&T::TxtPage3, &T::TxtPage4, &T::TxtPage5, &T::TxtPage6, &T::TxtPage7, &T::TxtPage8, &T::TxtPage9,
         &T::TxtPage10, &T::TxtPage11, &T::TxtPage12, &T::TxtPage13, &T::TxtPage14});
    addCaptions(w, t, {{"ScreenSetBtn", &T::TxtSet}, {"ExitBtn", &T::TxtExit}});
    return w;
}

WindowTexts setting410PanelFrmTexts(const LanguageTexts& t) {
    WindowTexts w("Setting410PanelFrm");
    addCaptions(w, t,
                {{"Setting410PanelFrm", &T::TxtSettingPanel},
                 {"LcdContrastBtn", &T::TxtLcdContrast},
                 {"LcdAPOBtn", &T::TxtLcdAPO},
                 {"SonoquantBtn", &T::TxtSonoquant},
                 {"TimersBtn", &T::TxtTimers},
                 {"ScreenBtn", &T::TxtScreen},
                 {"PauseBtn", &T::TxtPause},
                 {"LEDAlarmBtn", &T::TxtLEDAlarm},
                 {"AutoLockKeypadBtn", &T::TxtAutoLockKeypad},
                 {"AutoScrollBtn", &T::TxtAutoScrollScreens},
                 {"WelcomInputBtn", &T::TxtInputText},
                 {"BtnCalibration", &T::TxtCalibration},
                 {"BtnLunchTime", &T::TxtLunchTime},
                 {"BtnIntervalTime", &T::TxtIntervalTime}});
    return w;
}

WindowTexts timerFrmTexts(const LanguageTexts& t) {
    WindowTexts w("TimerFrm");
    addCaptions(w, t,
                {{"TimerFrm", &T::TxtTimers},
                 {"ModeLbl", &T::TxtMode},
                 {"TimerBtn", &T::TxtSet},
                 {"ExitBtn", &T::TxtExit},
                 {"PCRepeatLbl", &T::TxtRepeat},
                 {"EnabledSSF", &T::TxtEn},
                 {"StartSSF", &T::TxtStart},
                 {"StopSSF", &T::TxtDuration},
                 {"PcStartHourLbl", &T::TxtHour},
                 {"PcStartMinuteLbl", &T::TxtMinute},
                 {"PcStopHourLbl", &T::TxtHour},
                 {"PcStopMinuteLbl", &T::TxtMinute},
                 {"DelayYearLbl", &T::TxtYear},
                 {"DelayMonthLbl", &T::TxtMonth},
                 {"DelayDayLbl", &T::TxtDay},
                 {"DelayHourLbl", &T::TxtHour},
                 {"DelayMinuteLbl", &T::TxtMinute},
                 {"DelayDurLbl", &T::TxtDuration},
                 {"DelayDurHourLbl", &T::TxtHour},
                 {"DelayDurMinuteLbl", &T::TxtMinute},
                 {"RepeatStartTimeSSF", &T::TxtStartTime},
                 {"RepeatStartHourLbl", &T::TxtHour},
                 {"RepeatStartMinuteLbl", &T::TxtMinute},
                 {"RepeatStopTimeSSF", &T::TxtDuration},
                 {"RepeatStopHourLbl", &T::TxtHour},
                 {"RepeatStopMinuteLbl", &T::TxtMinute}});
    addList(w, "TimerManuallyCbx", {t.TxtManually, t.TxtDelay, t.TxtRepeat, t.TxtPC});
    return w;
}

WindowTexts welcomSetFrmTexts(const LanguageTexts& t) {
    WindowTexts w("WelcomSetFrm");
    addCaptions(
        w, t,
        {{"WelcomSetFrm", &T::TxtWelcomeTextSetting}, {"SetBtn", &T::TxtSet}, {"ExitBtn", &T::TxtExit}});
    return w;
}

WindowTexts dataListFrmTexts(const LanguageTexts& t) {
    WindowTexts w("DataListFrm");
    addCaptions(w, t, {{"PageLbl", &T::TxtPage}});
    addToolTips(w, t, "Toolbar1",
                {&T::TxtSaveFile, &T::TxtPrint, &T::TxtExportPDF, &T::TxtGraphicPlot, &T::TxtHistogram});
    addCaptions(w, t, {{"ItemBtn", &T::TxtHeaderItem}, {"SetBtn", &T::TxtSet}, {"AllSelBtn", &T::TxtAll}});
    addElementCaptions(w, t, "Option1", 0, {&T::TxtLAVG, &T::TxtLEQ, &T::TxtLCPK, &T::TxtLZPK});
    addCaptions(w, t,
                {{"BtnSelectOK", &T::TxtOK}, {"BtnExit", &T::TxtExit}, {"SSfResolution", &T::TxtResolution}});
    int element = 0;
    for (std::string& caption : summaryItemCaptions(t))
        w.add({TextTarget::Caption, "Check1", element++, -1, -1, std::move(caption), {}});
    for (int col = 1; col <= 3; ++col) addCell(w, "QVX410Grid", 0, col, "D" + std::to_string(col));
    addColumn0(w, t, "QVX410Grid", 1,
               {&T::TxtStartDateTime, &T::TxtStopDateTime, &T::TxtTotalPoint, &T::TxtThreshold,
                &T::TxtCriterion, &T::TxtExchangeRate, &T::TxtExceedanceLevel, &T::TxtPWDuration,
                &T::TxtDuration, &T::TxtIntervalTime});
    addHeaderRow(w, t, "QVX410PointGrid",
                 {&T::TxtNos, &T::TxtDateTime, &T::TxtLAVG, &T::TxtLEQ, &T::TxtLCPK, &T::TxtLZPK});
    addColumn0(w, t, "GridUserInfo", 0,
               {&T::TxtEvaluator, &T::TxtEvaluated, &T::TxtDepartment, &T::TxtCompany, &T::TxtObservations});
    return w;
}

WindowTexts fileListFrmTexts(const LanguageTexts& t) {
    WindowTexts w("FileListFrm");
    addToolTips(w, t, "Toolbar1", {&T::TxtGraphicPlot, &T::TxtHistogram, &T::TxtPrint});
    addElementCaptions(w, t, "Option1", 0, {&T::TxtLAVG, &T::TxtLEQ, &T::TxtLCPK, &T::TxtLZPK});
    addCaptions(w, t,
                {{"BtnSelectOK", &T::TxtOK}, {"BtnExit", &T::TxtExit}, {"SSfResolution", &T::TxtResolution}});
    addHeaderRow(w, t, "GridRecord",
                 {&T::TxtNos, &T::TxtDateTime, &T::TxtLAVG, &T::TxtLEQ, &T::TxtLCPK, &T::TxtLZPK});
    return w;
}

WindowTexts histogramTexts(const LanguageTexts& t) {
    WindowTexts w("Histogram");
    addToolTips(w, t, "Toolbar1", {&T::TxtLimit, &T::TxtPrint});
    w.add({TextTarget::AxisCaption, "HistGraph", 2, -1, -1, t.TxtFrequencyTimes, {}});
    return w;
}

WindowTexts plotTexts(const LanguageTexts& t) {
    WindowTexts w("Plot");
    addCaptions(w, t,
                {{"FrmGraphic", &T::TxtGraphicPlot},
                 {"SSFGraphRange", &T::TxtGraphRange},
                 {"SSFTrackMode", &T::TxtTrackMode},
                 {"SSFCursorInformation", &T::TxtCursorInformation},
                 {"LblNos", &T::TxtTimers},
                 {"LblNosX", &T::TxtTimers},
                 {"LblNosY", &T::TxtNosY},
                 {"CmdReset", &T::TxtResetScale},
                 {"CmdPrint", &T::TxtPrintGraph}});
    return w;
}

WindowTexts lunchTimeFrmTexts(const LanguageTexts& t) {
    WindowTexts w("LunchTimeFrm");
    addCaptions(w, t,
                {{"LblEn", &T::TxtEnabled},
                 {"LblStartHour", &T::TxtHour},
                 {"LblStartMinute", &T::TxtMinute},
                 {"LblStopHour", &T::TxtHour},
                 {"LblStopMinute", &T::TxtMinute},
                 {"BtnSet", &T::TxtSet},
                 {"BtnExit", &T::TxtExit}});
    addList(w, "CbxEn", {t.TxtDisabled, t.TxtEnabled});
    addCaptions(w, t, {{"FrmStart", &T::TxtStart}, {"FrmStop", &T::TxtStop}});
    addList(w, "CbxStartHour", numbersUpTo(23));
    addList(w, "CbxStartMinute", numbersUpTo(59));
    addList(w, "CbxStopHour", numbersUpTo(23));
    addList(w, "CbxStopMinute", numbersUpTo(59));
    return w;
}

std::vector<std::string> deviceTreeNodeTexts(const LanguageTexts& t) {
    std::vector<std::string> nodes;
    for (Entry e : kDeviceTreeEntries) nodes.push_back(t.*e);
    return nodes;
}

std::vector<std::string> summaryItemCaptions(const LanguageTexts& t) {
    std::vector<std::string> captions;
    for (Entry e : kSummaryItemEntries) captions.push_back(t.*e);
    return captions;
}

}  // namespace sq
