#include "reports/plot_layout.h"

namespace sq {

namespace {

constexpr float kBorderWidth = 240;  // outer width less the room inside the borders
constexpr float kBorderHeight = 590;
constexpr float kFrameRoom = 2900;  // below the graph: FrmGraphic and the gaps around it
constexpr float kFrmGraphicHeight = 2775;
constexpr float kInnerFrameTop = 600;
constexpr float kInnerFrameHeight = 1935;
constexpr float kCursorFrameHeight = 1455;
constexpr float kEditorHeight = 375;
constexpr float kButtonTop = 2160;

float rightOf(const TwipsRect& r) {
    return r.left + r.width;
}

}  // namespace

PlotLayout plotLayout(float windowWidth, float windowHeight) {
    PlotLayout l;
    l.windowWidth = windowWidth < kPlotMinWidth ? kPlotMinWidth : windowWidth;
    l.windowHeight = windowHeight < kPlotMinHeight ? kPlotMinHeight : windowHeight;
    const float w = l.windowWidth - kBorderWidth;
    const float h = l.windowHeight - kBorderHeight;

    l.levelGraph = {100, 100, w - 100, h - kFrameRoom - 100};
    l.frmGraphic = {120, h - kFrameRoom + 100, w - 200, kFrmGraphicHeight};
    const float third = l.frmGraphic.width / 3;

    l.graphRange = {110, kInnerFrameTop, third - 220, kInnerFrameHeight};
    const float xWidth = l.graphRange.width / 2 - 600;
    const float yWidth = l.graphRange.width / 2 - 200;
    l.xMin = {110, 840, xWidth, kEditorHeight};
    l.xMax = {110, 1320, xWidth, kEditorHeight};
    l.yMin = {rightOf(l.xMin) + 600, 840, yWidth, kEditorHeight};
    l.yMax = {rightOf(l.xMax) + 600, 1320, yWidth, kEditorHeight};
    l.lblNosLeft = 110;
    l.label4Left = rightOf(l.xMin) + 600;
    l.lblMinLeft = rightOf(l.xMin);
    l.lblMaxLeft = rightOf(l.xMax);

    l.trackMode = {third + 110, kInnerFrameTop, third - 220, kInnerFrameHeight};
    l.combo1 = {120, 480, l.trackMode.width - 240, 300};
    l.description = {120, 840, l.trackMode.width - 240, 855};

    l.cursorInformation = {2 * third + 110, kInnerFrameTop, third - 220, kCursorFrameHeight};
    const float buttonWidth = l.cursorInformation.width / 2 - 50;
    l.cmdReset = {l.cursorInformation.left, kButtonTop, buttonWidth, kEditorHeight};
    l.cmdPrint = {rightOf(l.cmdReset) + 50, kButtonTop, buttonWidth, kEditorHeight};
    return l;
}

PlotPrintLayout plotPrintLayout(float windowWidth, float graphHeight) {
    PlotPrintLayout p;
    p.height = kPlotPrintHeaderHeight + graphHeight + kPlotPrintFooterHeight + 1200;
    p.screen = plotLayout(windowWidth, p.height);
    p.header = {kPlotPrintPanelLeft, 120, kPlotPrintPanelWidth, kPlotPrintHeaderHeight};
    const TwipsRect& g = p.screen.levelGraph;
    p.footer = {kPlotPrintPanelLeft, g.top + g.height + 100, kPlotPrintPanelWidth, kPlotPrintFooterHeight};
    p.graph = {g.left, p.header.top + p.header.height, g.width, kPlotPrintGraphHeight};
    return p;
}

}  // namespace sq
