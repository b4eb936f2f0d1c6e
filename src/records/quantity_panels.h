#pragma once
// The quantity and resolution panels both record list windows lay over their grids. "Plot" and "Ln"
// open the quantity panel with its first quantity chosen; OK takes the chosen quantity's point
// column and, for "Ln", opens the resolution panel; Exit hides both.
#include <cstdint>
#include <string>

#include "platform/ui/controls.h"

namespace sq {

// The point column chosen in a list window's quantity panel (2 LAVG, 3 Leq, 4 LCPK, 5 LZPK).
int32_t& SelectedColumn();

// Four option buttons down the panel's left, OK and Exit to their right.
void BuildQuantityPanel(Panel3D& panel, OptionGroup& options, CommandButton& ok, CommandButton& exit);

// The resolution panel beside the quantity panel and its frame; RecordWindow places the two buttons.
void PlaceResolutionPanel(Panel3D& panel, Frame& frame);

// Every quantity cleared and the first chosen, `histogramMode` := `mode` (0 "Plot", 1 "Ln"), then the
// panel shown in front.
void OpenQuantityPanel(Panel3D& panel, OptionGroup& options, int16_t& histogramMode, int16_t mode);

// OK: SelectedColumn() := the chosen quantity's column; with none chosen it stays.
void TakeChosenColumn(OptionGroup& options);

// The caption of the quantity SelectedColumn() names; empty when it names none.
[[nodiscard]] std::string SelectedQuantityCaption(OptionGroup& options);

void ShowInFront(Panel3D& panel);

void HideQuantityPanels(Panel3D& quantity, Panel3D& resolution);

}  // namespace sq
