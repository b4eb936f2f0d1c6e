#pragma once
// Mouse-wheel scrolling of grids: in a hooked window, wheel events over any registered grid are
// swallowed, and each wheel step (120 units of angle delta) moves the grid that has the focus
// (WheelGrid) by WheelStep rows: up only while its top row is above 0, down always; a top row the
// grid refuses leaves it where it is. Qt would otherwise scroll the grid under the pointer.
#include <cstdint>

namespace sq {

class FlexGrid;
class Window;

// The grid the wheel scrolls (set while a registered grid has the focus), or nullptr.
FlexGrid* WheelGrid();
void setWheelGrid(FlexGrid* grid);
// Rows per wheel step; start-up sets 1.
extern int16_t WheelStep;

// Makes the grid a wheel target: its focus sets WheelGrid (keeping the grid's own focus handlers)
// and wheel events over it are taken by the hook.
void registerWheelGrid(FlexGrid& grid);

// Hooks and unhooks a window; each window keeps its own hook.
void HookWheel(Window& window);
void UnhookWheel(Window& window);
bool isWheelHooked(const Window& window);

// One wheel message on `grid`: positive delta is away from the user.
void scrollGridByWheel(FlexGrid& grid, int delta, int step);

}  // namespace sq
