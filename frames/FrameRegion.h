#pragma once
// The frame window's region: the whole client rectangle, or the panel's rounded rectangle.
// Setting a region repaints the window and what stands behind it, and asking the system which
// region a window holds is a round trip of its own, so the frame remembers what it gave its
// window and sets a region only when the wanted one differs: a redraw at the same size and style
// sets nothing, and neither does a new window that is to show all of itself.
#include <windows.h>

#include "server/contract/Gdi.h"

namespace tessel::frames {

// A window region as the frame knows it without asking the system.
struct WindowRegion {
  enum Kind { kNone, kRectangle, kPanel };  // kNone: no region, the window shows all of itself
  Kind kind = kNone;
  int width = 0, height = 0;  // client pixels the region was made for
  int radius = 0;             // the panel's corner size
  bool operator==(const WindowRegion&) const = default;
};

// The rectangle (0, 0, w, h) intersected with its rounded rectangle of corner size radius.
unique_hrgn PanelRegion(int w, int h, int radius);

// Makes wanted the window's region, with redrawing, unless the window holds it already (held, as
// the last call left it) or wants the whole window while it holds no region, which shows the same
// pixels. held follows what the window holds.
void ApplyWindowRegion(HWND hwnd, WindowRegion& held, const WindowRegion& wanted);

}  // namespace tessel::frames
