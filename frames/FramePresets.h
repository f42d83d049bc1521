#pragma once
// The looks a Style write starts from: each style replaces the caption colour, the outline and
// caption box colours, the header height, the alignment and a few properties of its own.
#include <cstdint>

#include "frames/FrameModel.h"

namespace tessel::frames {

// Applies the preset of p.style (nothing for a style outside 0 to 8). ambientBack is the
// container's back colour, already translated.
void ApplyStylePreset(FrameProperties& p, int32_t ambientBack);

}  // namespace tessel::frames
