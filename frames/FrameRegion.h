#pragma once
// The frame window's region: the whole client rectangle, or the panel's rounded rectangle.
// Setting a region repaints the window and what stands behind it, so a region equal to the one
// the window already holds is left in place: a redraw at the same size and style sets nothing.
#include <windows.h>

#include "server/contract/Gdi.h"

namespace tessel::frames {

// The rectangle (0, 0, w, h) intersected with its rounded rectangle of corner size radius.
unique_hrgn PanelRegion(int w, int h, int radius);

// Whether the window's region equals region (a window without a region holds none).
bool WindowHoldsRegion(HWND hwnd, HRGN region);

// Makes region the window's region, with redrawing, unless the window holds an equal one. The
// window owns the region once it is set; otherwise it is deleted here.
void SetWindowRegion(HWND hwnd, unique_hrgn region);

}  // namespace tessel::frames
