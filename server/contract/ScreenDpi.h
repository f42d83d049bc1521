#pragma once
// The resolution the twips conversions (Twips.h) use follows a form to a screen of another
// resolution: the form told so by the system (WM_DPICHANGED) sets it.
#include <windows.h>

namespace tessel {

// WM_DPICHANGED_AFTERPARENT, which the headers give only to programs for newer systems: what a
// form sends each control window once it stands at the new resolution.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

// From now on twips convert at x and y dots per inch; 0 goes back to the screen's own.
void UseScreenDpi(int x, int y);

}  // namespace tessel
