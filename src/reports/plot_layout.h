#pragma once
// The Plot window's layout in twips: the resize rule for an outer window size, and the sizes the
// window's surface takes while it is printed.
#include "platform/ui/twips.h"

namespace sq {

constexpr float kPlotWidth = 11955;  // the size the window opens with (the height rises to the minimum)
constexpr float kPlotHeight = 8790;
constexpr float kPlotMinWidth = 11360;
constexpr float kPlotMinHeight = 8960;

constexpr float kPlotPrintHeaderHeight = 6975;  // SSPPrintUpForm
constexpr float kPlotPrintFooterHeight = 3495;  // SSPPrintDownForm
constexpr float kPlotPrintPanelWidth = 11655;
constexpr float kPlotPrintPanelLeft = 120;
constexpr float kPlotPrintGraphHeight = 5295;

// Every rectangle is relative to its container: LevelGraph and FrmGraphic to the window, the three
// frames and the two buttons to FrmGraphic, the editors and labels to their frames.
struct PlotLayout {
    float windowWidth = 0;  // after the minimum size
    float windowHeight = 0;
    TwipsRect levelGraph;
    TwipsRect frmGraphic;
    TwipsRect graphRange;  // SSFGraphRange
    TwipsRect xMin, xMax;  // AxisMin(1), AxisMax(1)
    TwipsRect yMin, yMax;  // AxisMin(2), AxisMax(2)
    float lblNosLeft = 0;
    float label4Left = 0;
    float lblMinLeft = 0;
    float lblMaxLeft = 0;
    TwipsRect trackMode;  // SSFTrackMode
    TwipsRect combo1;
    TwipsRect description;        // txtDescription
    TwipsRect cursorInformation;  // SSFCursorInformation
    TwipsRect cmdReset, cmdPrint;
};

// The layout of a (not minimised) window of this outer size; below 11360 x 8960 the window takes
// that minimum. The graph fills the top, the frame of ranges, track mode and cursor read-outs
// (2775 high) the bottom, its three frames a third of its width each.
[[nodiscard]] PlotLayout plotLayout(float windowWidth, float windowHeight);

// Where the window's parts go while it is printed: the header panel at the top, the graph below it
// at the printed height, the footer panel below the graph as the resize rule placed it.
struct PlotPrintLayout {
    PlotLayout screen;  // the resize rule for the printed height
    float height = 0;   // of the printed surface
    TwipsRect header;   // SSPPrintUpForm
    TwipsRect graph;    // LevelGraph
    TwipsRect footer;   // SSPPrintDownForm
};
// For a window `windowWidth` wide whose graph is now `graphHeight` high: 17040 high at the default size.
[[nodiscard]] PlotPrintLayout plotPrintLayout(float windowWidth, float graphHeight);

}  // namespace sq
