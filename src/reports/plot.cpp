#include "reports/plot.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "platform/numbers.h"
#include "platform/runtime.h"
#include "platform/ui/classic_font.h"
#include "platform/ui/graph_scale.h"
#include "platform/ui/twips.h"
#include "platform/vb_error.h"
#include "reports/print_report.h"
#include "reports/record_plot.h"
#include "shared/state.h"
#include "texts/language_texts.h"
#include "texts/window_texts.h"

namespace sq {

namespace {

using T = LanguageTexts;

constexpr int kWhite = 0xFFFFFF;
constexpr int kRed = 255;

// The track-mode list: item i selects track mode i + 1 and shows its help text.
struct TrackModeEntry {
    std::string T::*item;
    std::string T::*help;
};
constexpr TrackModeEntry kTrackModes[] = {
    {&T::TxtNormal, &T::TxtNormalMode}, {&T::TxtCursorCoordinates, &T::TxtDescCursor},
    {&T::TxtPanXY, &T::TxtDescPanXY},   {&T::TxtPanX, &T::TxtDescPanX},
    {&T::TxtPanY, &T::TxtDescPanY},     {&T::TxtZoomXY, &T::TxtDescZoomXY},
    {&T::TxtZoomX, &T::TxtDescZoomX},   {&T::TxtZoomY, &T::TxtDescZoomY},
};
constexpr int kTrackModeCount = static_cast<int>(std::size(kTrackModes));
constexpr int kCursorModeIndex = 1;

QFont sansSerifFont(double points, bool bold) {
    QFont font = classicFont();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void placeLabel(Label& label, double left, double top, const QFont& font) {
    label.setFont(font);
    label.Move(left, top);
    label.widget()->adjustSize();
}

// A right-aligned label whose text ends at `right`; it reaches further left when the text needs it.
void placeRightAligned(Label& label, double left, double right, double top, const QFont& font) {
    label.setFont(font);
    label.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const double width = std::max(right - left, textWidthTwips(font, label.Caption()) + 30);
    label.Move(std::max(0.0, right - width), top, width, toTwips(label.widget()->sizeHint().height()));
}

}  // namespace

Plot::Plot()
    : Window(kName, WindowKind::TopLevel, &flags().PlotOpen),
      m_sheet(new QWidget(surface())),
      LevelGraph(m_sheet),
      FrmGraphic(m_sheet),
      SSFGraphRange(FrmGraphic.widget()),
      LblNos(SSFGraphRange.widget()),
      Label4(SSFGraphRange.widget(), "dB"),
      LblMin(SSFGraphRange.widget(), "Min"),
      LblMax(SSFGraphRange.widget(), "Max"),
      SSFTrackMode(FrmGraphic.widget()),
      Combo1(SSFTrackMode.widget(), ComboStyle::Typeable),
      txtDescription(SSFTrackMode.widget()),
      SSFCursorInformation(FrmGraphic.widget()),
      LblNosX(SSFCursorInformation.widget()),
      XPosition(SSFCursorInformation.widget()),
      LblNosY(SSFCursorInformation.widget()),
      YPosition(SSFCursorInformation.widget()),
      CmdReset(FrmGraphic.widget()),
      CmdPrint(FrmGraphic.widget()),
      SSPPrintUpForm(m_sheet, {}, Panel3D::Bevel::None),
      LblPrintTitle(SSPPrintUpForm.widget(), "Report"),
      LblPrintTitleTime(SSPPrintUpForm.widget()),
      LblPrintInformation(SSPPrintUpForm.widget(), "Information"),
      LblPrintTime(SSPPrintUpForm.widget(), "Idea"),
      LblPrintStartTime(SSPPrintUpForm.widget(), "Start Date/Time"),
      LblPrintStartTimeValue(SSPPrintUpForm.widget()),
      LblPrintStopTime(SSPPrintUpForm.widget(), "Stop Date/Time"),
      LblPrintStopTimeValue(SSPPrintUpForm.widget()),
      LblPrintDuration(SSPPrintUpForm.widget(), "Duration"),
      LblPrintDurationValue(SSPPrintUpForm.widget()),
      LblPrintSummaryData(SSPPrintUpForm.widget(), "Summary Data"),
      LblPrintDescription1(SSPPrintUpForm.widget(), "Description"),
      LblPrintMeter1(SSPPrintUpForm.widget(), "Meter"),
      LblPrintValue1(SSPPrintUpForm.widget(), "Value"),
      LblPrintDescription2(SSPPrintUpForm.widget(), "Description"),
      LblPrintMeter2(SSPPrintUpForm.widget(), "Meter"),
      LblPrintValue2(SSPPrintUpForm.widget(), "Value"),
      LblPrintExchangeRate(SSPPrintUpForm.widget(), "Exchange Rate"),
      LblPrintExchangeRateMeterValue(SSPPrintUpForm.widget()),
      LblPrintExchangeRateValue(SSPPrintUpForm.widget()),
      LblPrintCriterionLevel(SSPPrintUpForm.widget(), "Criterion Level"),
      LblPrintCriterionMeterValue(SSPPrintUpForm.widget()),
      LblPrintCriterionValue(SSPPrintUpForm.widget()),
      LblPrintDataChart(SSPPrintUpForm.widget(), "Data Chart"),
      SSPPrintDownForm(m_sheet, {}, Panel3D::Bevel::None),
      LblPrintCalibrationRecordTitle(SSPPrintDownForm.widget(), "Calibration Record"),
      LblPrintCalDate(SSPPrintDownForm.widget(), "Date"),
      LblPrintCalTime(SSPPrintDownForm.widget(), "Time"),
      LblPrintCalLevel(SSPPrintDownForm.widget(), "Level"),
      LblPrintCalDateValue(SSPPrintDownForm.widget()),
      LblPrintCalTimeValue(SSPPrintDownForm.widget()),
      LblPrintCalLevelValue(SSPPrintDownForm.widget(), "----"),
      m_axisMin1(SSFGraphRange.widget(), 1),
      m_axisMax1(SSFGraphRange.widget(), 1),
      m_axisMin2(SSFGraphRange.widget(), 2),
      m_axisMax2(SSFGraphRange.widget(), 2) {
    setCaption(kName);
    // A window of its own with a close button, but no minimise or maximise button.
    surface()->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_sheet->setAutoFillBackground(true);
    placeFixedControls();
    placePrintLabels();
    wireEvents();
    applyLayout(plotLayout(kPlotWidth, kPlotHeight));
}

Plot::~Plot() = default;

NumEditControl& Plot::AxisMin(int index) {
    if (index == 1) return m_axisMin1;
    if (index == 2) return m_axisMin2;
    raise(kSubscriptOutOfRange);
}

NumEditControl& Plot::AxisMax(int index) {
    if (index == 1) return m_axisMax1;
    if (index == 2) return m_axisMax2;
    raise(kSubscriptOutOfRange);
}

void Plot::placeFixedControls() {
    LevelGraph.Axes(1).setLabelFormat("hh:nn:ss");

    const QFont bold12 = arialFont(12, true);
    placeLabel(LblNos, 110, 480, bold12);
    placeLabel(Label4, 0, 480, bold12);
    placeLabel(LblMin, 0, 960, bold12);
    placeLabel(LblMax, 0, 1440, bold12);
    for (NumEditControl* x : {&m_axisMin1, &m_axisMax1}) {
        x->setFormat("hh:nn:ss");
        x->setStep(1 / kSecondsPerDay);
        x->setFastStep(5 / kSecondsPerDay);
    }
    for (NumEditControl* y : {&m_axisMin2, &m_axisMax2}) {
        y->setFormat("0.0");
        y->setStep(0.1);
        y->setFastStep(5);
    }
    m_axisMin2.setValue(60);
    m_axisMax2.setValue(140);

    txtDescription.setLocked(true);

    const QFont label = sansSerifFont(9.75, true);
    placeRightAligned(LblNosX, 600, 1800, 480, label);
    placeRightAligned(LblNosY, 585, 1800, 840, label);
    placeLabel(XPosition, 1920, 480, bold12);
    placeLabel(YPosition, 1920, 840, bold12);

    SSPPrintUpForm.setBackColor(255, 255, 255);
    SSPPrintDownForm.setBackColor(255, 255, 255);
    SSPPrintUpForm.Move(kPlotPrintPanelLeft, 120, kPlotPrintPanelWidth, kPlotPrintHeaderHeight);
    SSPPrintDownForm.Move(kPlotPrintPanelLeft, 0, kPlotPrintPanelWidth, kPlotPrintFooterHeight);
    SSPPrintUpForm.setVisible(false);
    SSPPrintDownForm.setVisible(false);
}

void Plot::placePrintLabels() {
    const QFont title = arialFont(20.25, true);
    const QFont heading = arialFont(15.75, true);
    const QFont bold = arialFont(12, true);
    const QFont plain = arialFont(12);

    placeLabel(LblPrintTitle, 4680, 480, title);
    LblPrintTitle.setAlignment(Qt::AlignCenter);
    placeLabel(LblPrintTitleTime, 4680, 1080, plain);
    LblPrintTitleTime.setAlignment(Qt::AlignCenter);
    placeLabel(LblPrintInformation, 240, 1800, heading);
    placeLabel(LblPrintTime, 240, 2280, bold);
    placeLabel(LblPrintStartTime, 240, 2760, plain);
    placeLabel(LblPrintStartTimeValue, 3480, 2760, plain);
    placeLabel(LblPrintStopTime, 240, 3240, plain);
    placeLabel(LblPrintStopTimeValue, 3480, 3240, plain);
    placeLabel(LblPrintDuration, 240, 3720, plain);
    placeLabel(LblPrintDurationValue, 3480, 3720, plain);
    placeLabel(LblPrintSummaryData, 240, 4320, heading);
    placeLabel(LblPrintDescription1, 240, 4800, bold);
    placeLabel(LblPrintMeter1, 2520, 4800, bold);
    placeLabel(LblPrintValue1, 4320, 4800, bold);
    placeLabel(LblPrintDescription2, 6120, 4800, bold);
    placeLabel(LblPrintMeter2, 8400, 4800, bold);
    placeLabel(LblPrintValue2, 10080, 4800, bold);
    placeLabel(LblPrintExchangeRate, 240, 5280, plain);
    placeLabel(LblPrintExchangeRateMeterValue, 2520, 5280, plain);
    placeLabel(LblPrintExchangeRateValue, 4320, 5280, plain);
    placeLabel(LblPrintCriterionLevel, 6120, 5280, plain);
    placeLabel(LblPrintCriterionMeterValue, 8400, 5280, plain);
    placeLabel(LblPrintCriterionValue, 10080, 5280, plain);
    LblPrintExchangeRateValue.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblPrintCriterionValue.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeLabel(LblPrintDataChart, 240, 6360, heading);

    placeLabel(LblPrintCalibrationRecordTitle, 240, 360, heading);
    placeLabel(LblPrintCalDate, 240, 1080, bold);
    placeLabel(LblPrintCalTime, 2280, 1080, bold);
    placeLabel(LblPrintCalLevel, 4080, 1080, bold);
    placeLabel(LblPrintCalDateValue, 240, 1680, plain);
    placeLabel(LblPrintCalTimeValue, 2160, 1680, plain);
    placeLabel(LblPrintCalLevelValue, 4080, 1680, plain);
}

void Plot::wireEvents() {
    Combo1.onClick = [this] { Combo1_Click(); };
    // Choosing the item already selected runs the choice again (Cursor Coordinates centres the cursor).
    Combo1.onChooseAgain = [this] { Combo1_Click(); };
    CmdReset.onClick = [this] { CmdReset_Click(); };
    CmdPrint.onClick = [this] { CmdPrint_Click(); };
    for (NumEditControl* e : {&m_axisMin1, &m_axisMin2})
        e->onValueChanged = [this](int index) { AxisMin_ValueChanged(index); };
    for (NumEditControl* e : {&m_axisMax1, &m_axisMax2})
        e->onValueChanged = [this](int index) { AxisMax_ValueChanged(index); };
    LevelGraph.onCursorChange = [this](int index, double x, double y) {
        LevelGraph_CursorChange(index, x, y);
    };
}

void Plot::setFittedCaption(Label& label, const std::string& caption) {
    label.setCaption(caption);
    label.widget()->adjustSize();
}

// ---------------------------------------------------------------------------------------------
// Load and resize

void Plot::Form_Load() {
    skipOnError([this] {
        double left = Left(), top = Top();
        if (Window* main = windows().find(window_name::kPanel)) {
            left = main->Left();
            top = main->Top();
        }
        Move(left, top, kPlotWidth, kPlotHeight);
    });
    skipOnError([this] { ApplyPlotTexts(*this); });
    SSPPrintUpForm.setVisible(false);
    SSPPrintDownForm.setVisible(false);
    const LanguageTexts& t = texts();
    for (const TrackModeEntry& mode : kTrackModes) Combo1.AddItem(t.*mode.item);
    skipOnError([this] { Combo1.setListIndex(0); });
}

void Plot::Form_Resize() {
    if (windowState() == WindowState::Minimized || m_printing) return;
    const PlotLayout l = plotLayout(static_cast<float>(Width()), static_cast<float>(Height()));
    // Compared in whole pixels: a minimum that falls between two pixels is met by the lower one.
    if (toPixels(l.windowWidth) > toPixels(Width()) || toPixels(l.windowHeight) > toPixels(Height()))
        skipOnError([&] { Move(Left(), Top(), l.windowWidth, l.windowHeight); });
    fitSheetToWindow();
    applyLayout(l);
}

void Plot::fitSheetToWindow() {
    m_sheet->setGeometry(surface()->rect());
}

void Plot::applyLayout(const PlotLayout& l) {
    m_layout = l;
    LevelGraph.Move(l.levelGraph);
    FrmGraphic.Move(l.frmGraphic);
    SSFGraphRange.Move(l.graphRange);
    m_axisMin1.Move(l.xMin);
    m_axisMax1.Move(l.xMax);
    m_axisMin2.Move(l.yMin);
    m_axisMax2.Move(l.yMax);
    LblNos.setLeft(l.lblNosLeft);
    Label4.setLeft(l.label4Left);
    LblMin.setLeft(l.lblMinLeft);
    LblMax.setLeft(l.lblMaxLeft);
    SSFTrackMode.Move(l.trackMode);
    Combo1.Move(l.combo1);
    txtDescription.Move(l.description);
    SSFCursorInformation.Move(l.cursorInformation);
    CmdReset.Move(l.cmdReset);
    CmdPrint.Move(l.cmdPrint);
}

// ---------------------------------------------------------------------------------------------
// Track mode, ranges, cursor

void Plot::Combo1_Click() {
    const int index = Combo1.ListIndex();
    if (index < 0 || index >= kTrackModeCount) return;
    const LanguageTexts& t = texts();
    GraphCursors& cursors = LevelGraph.Cursors();
    if (index == kCursorModeIndex) {
        skipOnError([&] { LevelGraph.setTrackMode(GraphControl::kTrackDragCursor); });
        skipOnError([&] { txtDescription.setText(t.*kTrackModes[index].help); });
        skipOnError([&] {
            if (cursors.Count() == 0) cursors.Add().setCursorColor(kRed);
        });
        skipOnError([&] { cursors(1).setSnapMode(static_cast<int>(CursorSnap::Free)); });
        skipOnError([&] {
            const GraphAxis& x = LevelGraph.Axes(1);
            cursors(1).setCursorX((x.AxisMaximum() + x.AxisMinimum()) / 2);
        });
        skipOnError([&] {
            const GraphAxis& y = LevelGraph.Axes(2);
            cursors(1).setCursorY((y.AxisMaximum() + y.AxisMinimum()) / 2);
        });
        return;
    }
    skipOnError([&] {
        if (cursors.Count() != 0) cursors.RemoveAll();
    });
    skipOnError([&] { LevelGraph.setTrackMode(index + 1); });
    skipOnError([&] { txtDescription.setText(t.*kTrackModes[index].help); });
}

void Plot::CmdReset_Click() {
    skipOnError([this] { LevelGraph.Axes(1).SetMinMax(PlotXMin(), PlotXMax()); });
    skipOnError([this] { LevelGraph.Axes(2).SetMinMax(kPlotLevelMin, kPlotLevelMax); });
}

// Either editor of a pair sets that axis to the pair's values as they stand, in whatever order.
void Plot::AxisMax_ValueChanged(int index) {
    AxisMin_ValueChanged(index);
}

void Plot::AxisMin_ValueChanged(int index) {
    if (index != 1 && index != 2) return;
    skipOnError([&] { LevelGraph.Axes(index).SetMinMax(AxisMin(index).Value(), AxisMax(index).Value()); });
}

void Plot::LevelGraph_CursorChange(int index, double x, double y) {
    if (index != 1) return;
    skipOnError([this] { setFittedCaption(XPosition, timeOfDayText(LevelGraph.Cursors(1).CursorX())); });
    skipOnError([&] { setFittedCaption(YPosition, formatFixed(y, 1)); });
}

// ---------------------------------------------------------------------------------------------
// Print

void Plot::CmdPrint_Click() {
    const int keptGraphColor = LevelGraph.GraphColor();
    std::optional<VbError> failure;
    try {
        Combo1.setListIndex(0);
        LevelGraph.setTrackMode(GraphControl::kTrackNormal);
        txtDescription.setText(texts().TxtNormalMode);
        if (LevelGraph.Cursors().Count() != 0) LevelGraph.Cursors().RemoveAll();
        Cmd1.ShowPrinter();
        printOnSheet();
    } catch (const VbError& e) {
        // Cancel in the printer dialog ends the print silently; a failure is told once the window
        // is back.
        if (e.number() != kCancelError) failure = e;
    }
    restoreAfterPrint(keptGraphColor);
    if (failure) ShowPrintFailure(*failure);
}

void Plot::setSheetBackground(int rgb) {
    QPalette palette = m_sheet->palette();
    if (rgb < 0) {
        palette.setColor(QPalette::Window, surface()->palette().color(QPalette::Button));
    } else {
        palette.setColor(QPalette::Window, QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
    }
    m_sheet->setPalette(palette);
}

void Plot::printOnSheet() {
    m_printing = true;
    setSheetBackground(kWhite);
    FrmGraphic.setVisible(false);
    LevelGraph.setGraphColor(kWhite);

    const PlotPrintLayout p =
        plotPrintLayout(static_cast<float>(Width()), static_cast<float>(LevelGraph.Height()));
    m_sheet->resize(toPixels(Width()), toPixels(p.height));
    applyLayout(p.screen);
    SSPPrintUpForm.Move(p.header);
    SSPPrintUpForm.setVisible(true);
    SSPPrintDownForm.Move(p.footer);
    SSPPrintDownForm.setVisible(true);

    setFittedCaption(LblPrintTitleTime, formatLocalDateTime("yyyy-mm-dd"));
    const PlotCalibrationTexts cal = plotCalibrationTexts(
        shared().CalibrationDateTime, shared().CalibrationLevelText, LblPrintCalLevelValue.Caption());
    setFittedCaption(LblPrintCalDateValue, cal.date);
    setFittedCaption(LblPrintCalTimeValue, cal.time);
    setFittedCaption(LblPrintCalLevelValue, cal.level);

    LevelGraph.Move(p.graph);
    LevelGraph.Axes(2).SetMinMax(AxisMin(2).Value(), AxisMax(2).Value());
    Cmd1.PrintForm(m_sheet);
}

// Back to the window as it was before Print, at its opening size; also after a Cancel or a failure.
void Plot::restoreAfterPrint(int keptGraphColor) {
    m_printing = false;
    skipOnError([this] { setSheetBackground(-1); });
    skipOnError([this] { FrmGraphic.setVisible(true); });
    skipOnError([&] { LevelGraph.setGraphColor(keptGraphColor); });
    // The opening size as the resize rule makes it: at least the window's minimum.
    const PlotLayout opening = plotLayout(kPlotWidth, kPlotHeight);
    skipOnError([&] { Move(Left(), Top(), opening.windowWidth, opening.windowHeight); });
    // The size may not have changed, so the resize may not have run.
    fitSheetToWindow();
    applyLayout(plotLayout(static_cast<float>(Width()), static_cast<float>(Height())));
    SSPPrintUpForm.setVisible(false);
    SSPPrintDownForm.setVisible(false);
}

// ---------------------------------------------------------------------------------------------

void ApplyPlotTexts(Plot& p) {
    const WindowTexts windowTexts = plotTexts(texts());
    for (const TextAssignment& a : windowTexts.assignments()) {
        if (a.target != TextTarget::Caption) continue;
        const std::string& c = a.control;
        if (c == "FrmGraphic") {
            p.FrmGraphic.setCaption(a.text);
        } else if (c == "SSFGraphRange") {
            p.SSFGraphRange.setCaption(a.text);
        } else if (c == "SSFTrackMode") {
            p.SSFTrackMode.setCaption(a.text);
        } else if (c == "SSFCursorInformation") {
            p.SSFCursorInformation.setCaption(a.text);
        } else if (c == "LblNos") {
            Plot::setFittedCaption(p.LblNos, a.text);
        } else if (c == "LblNosX") {
            p.LblNosX.setCaption(a.text);
            placeRightAligned(p.LblNosX, 600, 1800, 480, p.LblNosX.font());
        } else if (c == "LblNosY") {
            p.LblNosY.setCaption(a.text);
            placeRightAligned(p.LblNosY, 585, 1800, 840, p.LblNosY.font());
        } else if (c == "CmdReset") {
            p.CmdReset.setCaption(a.text);
        } else if (c == "CmdPrint") {
            p.CmdPrint.setCaption(a.text);
        }
    }
}

}  // namespace sq
