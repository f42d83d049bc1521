#pragma once
// Printing a window with its visible children through the windows' own print paths, as they
// appear on screen: what a form's snapshot and a control drawn into a container's DC are made of.
#include <windows.h>

namespace tessel {

// Paints w's client area and then its visible children, bottom of the Z order first, each at its
// place relative to origin (where w's client area lands in dc). asIfShown takes a child as visible
// by its own style, so a window whose top-level parent is hidden (a control not yet placed in a
// container) prints what it would show.
void PrintWindowTree(HWND w, HDC dc, POINT origin, bool asIfShown = false);

}  // namespace tessel
