#include "records/quantity_panels.h"

#include "platform/vb_error.h"

namespace sq {

namespace {

constexpr int kQuantities = 4;
constexpr int kFirstQuantityColumn = 2;

}  // namespace

int32_t& SelectedColumn() {
    static int32_t column = 0;
    return column;
}

void BuildQuantityPanel(Panel3D& panel, OptionGroup& options, CommandButton& ok, CommandButton& exit) {
    for (int i = 0; i < kQuantities; ++i) options.add(panel.widget()).Move(120, 120 + 300 * i, 1000, 285);
    ok.Move(1200, 240, 975, 435);
    exit.Move(1200, 840, 975, 435);
}

void PlaceResolutionPanel(Panel3D& panel, Frame& frame) {
    panel.Move(2400, 120, 1815, 1575);
    frame.Move(120, 120, 1575, 1335);
}

void OpenQuantityPanel(Panel3D& panel, OptionGroup& options, int16_t& histogramMode, int16_t mode) {
    for (int i = 0; i < options.count(); ++i) options[i].setValue(false);
    options[0].setValue(true);
    histogramMode = mode;
    ShowInFront(panel);
}

void TakeChosenColumn(OptionGroup& options) {
    for (int i = 0; i < kQuantities; ++i)
        if (options[i].Value()) SelectedColumn() = i + kFirstQuantityColumn;
}

std::string SelectedQuantityCaption(OptionGroup& options) {
    std::string caption;
    skipOnError([&] { caption = options[SelectedColumn() - kFirstQuantityColumn].Caption(); });
    return caption;
}

void ShowInFront(Panel3D& panel) {
    panel.setVisible(true);
    panel.ZOrder();
}

void HideQuantityPanels(Panel3D& quantity, Panel3D& resolution) {
    quantity.setVisible(false);
    resolution.setVisible(false);
}

}  // namespace sq
