#pragma once
// The level histogram window: a graph of how many points fall into each level bin and the table of
// the levels L0 to L99. The record list windows' level distribution fills both; the window offers
// the graph's pan and zoom modes, a reset of the axes to the last distribution, and prints itself.
// A window of its own on the desktop, placed at the main window's top-left corner.
#include <string>

#include "platform/ui/common_controls.h"
#include "platform/ui/controls.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/graph_control.h"
#include "platform/ui/window.h"
#include "shared/window_names.h"

namespace sq {

// The resize rule in twips: the window is kept at 9660 x 7785 at least; the graph and the table
// take the width less 260, the table its bottom 2800 twips and the graph the room above it, and the
// table's eleven columns share the width.
struct HistogramLayout {
    double windowWidth = 0;  // after the minimum size
    double windowHeight = 0;
    double graphTop = 0, graphWidth = 0, graphHeight = 0;
    double gridTop = 0, gridWidth = 0, gridHeight = 0;
    double columnWidth = 0;  // whole twips
};

constexpr double kHistogramMinWidth = 9660;
constexpr double kHistogramMinHeight = 7785;

[[nodiscard]] HistogramLayout histogramResizeLayout(double windowWidth, double windowHeight);

class Histogram : public Window {
public:
    static constexpr const char* kName = window_name::kHistogram;
    // Combo1's entries, in list order.
    enum Mode { kNormal, kPanXY, kPanX, kPanY, kZoomXY, kZoomX, kZoomY, kReset, kModeCount };

    Histogram();
    ~Histogram() override;

    // Event handlers.
    void Combo1_Click();
    void Toolbar1_ButtonClick(const std::string& key);

    ToolBar Toolbar1;
    GraphControl HistGraph;
    FlexGrid GridLn;
    Panel3D Picture1;  // the pop-up panel of the mouse modes
    ComboList Combo1;
    TextBox txtDescription;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void printWindow();
};

// The tool tips of the two toolbar buttons and the caption of the graph's count axis.
void ApplyHistogramTexts(Histogram& frm);

}  // namespace sq
