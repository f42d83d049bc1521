#pragma once
// Sets up the clip region of the back buffer before a face is filled: the ring of the ring style,
// the sunken ring of a pressed or latched round button, and the one-pixel frame of the framed
// ellipse and the custom shape.
#include <cstdint>

#include "button/ButtonState.h"

namespace tessel {

// Clip outcomes: what PrepareFaceClip left for the rest of the paint.
constexpr int16_t kClipNothing = 0;  // the window has just moved; nothing is painted now
constexpr int16_t kClipPlain = 1;    // plain face, no clip
constexpr int16_t kClipFace = 3;     // the face is clipped to regionB
constexpr int16_t kClipRing = 4;     // a ring was painted and the face is clipped to regionA

// Leaves no clip, regionA or regionB selected in memDC and sets `outcome`. gradientMode is the
// same on return as it was on entry.
void PrepareFaceClip(ButtonPaint& paint, int16_t& outcome);

}  // namespace tessel
