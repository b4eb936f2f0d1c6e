#pragma once
// The level distribution that the resolution buttons of both record list windows run: it counts
// the chosen column (SelectedColumn) of the window's point grid, shows the histogram window afresh
// with the counts and the Ln table, and keeps the results in levelDistributionResults().
//
// The run works on a copy of the point grid taken at the click and lets events run at the pacer's
// passes, showing its progress in the window's caption. Polling pauses for the run and resumes on
// every way out. A window unloaded meanwhile is left alone (no caption, no panel) while the run
// finishes; a histogram closed before its table is filled stays closed.
#include "platform/ui/controls.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/window.h"
#include "recordmodel/level_distribution.h"

namespace sq {

// Does nothing while a distribution runs (from either window) or while `busy` is set; `busy` is set
// for the length of the run.
void RunLevelDistribution(Window& window, const FlexGrid& pointGrid, Control& resolutionPanel,
                          LevelResolution resolution, bool* busy = nullptr);

[[nodiscard]] bool levelDistributionRunning();

}  // namespace sq
