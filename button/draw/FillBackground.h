#pragma once
// The face of a button, chosen from its state: solid, the hover colour, a gradient, or (rounded
// style) a shading that darkens row by row to 25 levels at the bottom.
#include <cstdint>

#include "button/ButtonState.h"

namespace tessel {

// Face states written into the renderer's faceState.
constexpr int32_t kFaceNormal = 0;
constexpr int32_t kFaceDefault = 1;
constexpr int32_t kFacePressed = 2;
constexpr int32_t kFaceLatched = 3;  // set by renderers for a latched check or option button

// Prepares the clip (PrepareFaceClip) and, unless it says nothing is painted now, fills the face.
// `toColor` below 0 becomes `faceFill` (gradient end), `hoverColor` below 0 too.
void FillBackground(ButtonPaint& paint, int32_t& faceFill, int32_t& faceState, int16_t& outcome, int32_t& toColor,
                    int32_t& hoverColor);

}  // namespace tessel
