#pragma once
// Plot, the time-history graph window that ShowRecordPlot fills: the level graph, the range editors,
// the track modes with their help text, the cursor read-outs, Reset and Print. Print lays the window
// out as a one-page report (a header panel with the record's times and summary values, the graph,
// a footer panel with the calibration record) and prints it.
//
// Every control lives on one inner surface, the sheet, which fills the window on screen. Print
// gives the sheet the printed height and lays it out there, so the window itself never grows past
// what a screen can hold.
#include <memory>
#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/graph_control.h"
#include "platform/ui/multiline_text_box.h"
#include "platform/ui/num_edit_control.h"
#include "platform/ui/printer_surface.h"
#include "platform/ui/window.h"
#include "reports/plot_layout.h"
#include "shared/window_names.h"

class QWidget;

namespace sq {

class Plot : public Window {
public:
    static constexpr const char* kName = window_name::kPlot;
    Plot();
    ~Plot() override;

    // Event handlers.
    void Combo1_Click();
    void CmdReset_Click();
    void AxisMax_ValueChanged(int index);
    void AxisMin_ValueChanged(int index);
    void LevelGraph_CursorChange(int index, double x, double y);
    void CmdPrint_Click();

    // The control arrays: index 1 the x range, 2 the y range; VbError(9) for any other index.
    [[nodiscard]] NumEditControl& AxisMin(int index);
    [[nodiscard]] NumEditControl& AxisMax(int index);

    // The surface every control is placed on.
    [[nodiscard]] QWidget* sheet() const { return m_sheet; }
    // The layout last applied to the sheet.
    [[nodiscard]] const PlotLayout& layout() const { return m_layout; }

private:
    QWidget* m_sheet;  // created before the controls, which it parents

public:
    GraphControl LevelGraph;
    Frame FrmGraphic;
    Frame SSFGraphRange;
    Label LblNos;
    Label Label4;
    Label LblMin;
    Label LblMax;
    Frame SSFTrackMode;
    ComboList Combo1;
    MultiLineTextBox txtDescription;
    Frame SSFCursorInformation;
    Label LblNosX;
    Label XPosition;
    Label LblNosY;
    Label YPosition;
    CommandButton CmdReset;
    CommandButton CmdPrint;

    Panel3D SSPPrintUpForm;
    Label LblPrintTitle;
    Label LblPrintTitleTime;
    Label LblPrintInformation;
    Label LblPrintTime;
    Label LblPrintStartTime;
    Label LblPrintStartTimeValue;
    Label LblPrintStopTime;
    Label LblPrintStopTimeValue;
    Label LblPrintDuration;
    Label LblPrintDurationValue;
    Label LblPrintSummaryData;
    Label LblPrintDescription1;
    Label LblPrintMeter1;
    Label LblPrintValue1;
    Label LblPrintDescription2;
    Label LblPrintMeter2;
    Label LblPrintValue2;
    Label LblPrintExchangeRate;
    Label LblPrintExchangeRateMeterValue;
    Label LblPrintExchangeRateValue;
    Label LblPrintCriterionLevel;
    Label LblPrintCriterionMeterValue;
    Label LblPrintCriterionValue;
    Label LblPrintDataChart;

    Panel3D SSPPrintDownForm;
    Label LblPrintCalibrationRecordTitle;
    Label LblPrintCalDate;
    Label LblPrintCalTime;
    Label LblPrintCalLevel;
    Label LblPrintCalDateValue;
    Label LblPrintCalTimeValue;
    Label LblPrintCalLevelValue;

    PrinterSurface Cmd1;

    // Sets a label's caption and sizes the label to it (the print and read-out labels grow with
    // their texts).
    static void setFittedCaption(Label& label, const std::string& caption);

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void placeFixedControls();
    void placePrintLabels();
    void wireEvents();
    void applyLayout(const PlotLayout& layout);
    void fitSheetToWindow();
    void setSheetBackground(int rgb);
    void printOnSheet();
    void restoreAfterPrint(int keptGraphColor);

    // After the other controls, in the range frame.
    NumEditControl m_axisMin1, m_axisMax1, m_axisMin2, m_axisMax2;
    PlotLayout m_layout;
    bool m_printing = false;
};

// Puts the window's texts (frame, label and button captions) into it.
void ApplyPlotTexts(Plot& plot);

}  // namespace sq
