#pragma once
// The face colours a style derives from the back and hover back colours.
#include "button/ButtonState.h"

namespace tessel {

// Recomputes faceColor, faceShadeColor, hoverFaceColor and faceEdgeColor for buttonStyle.
void UpdateDerivedColors(ButtonState& state);

}  // namespace tessel
