#pragma once
// The window and control layer in one include: windows and their registry, the classic controls,
// the common controls, the flexible grid and the twips helpers.
#include "platform/ui/common_controls.h"
#include "platform/ui/controls.h"
#include "platform/ui/flex_grid.h"
#include "platform/ui/twips.h"
#include "platform/ui/window.h"
