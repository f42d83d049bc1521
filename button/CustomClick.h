#pragma once
// The custom click of a shaped command button: instead of drawing a pressed face, the whole
// control window moves one pixel in the chosen direction while it is held and moves back on release.
#include <windows.h>

#include "button/ButtonState.h"

namespace tessel {

// The one-pixel offset of a custom-click value (0, 0 for clickNone and values out of range).
POINT CustomClickOffset(int32_t customClick);

// moved comes back True when the window has just been moved for a press: the buffer was copied
// and the window refreshed, and nothing more is painted now. A release moves it back and lets the
// paint go on.
void ApplyCustomClick(ButtonPaint& paint, bool& moved);

}  // namespace tessel
