#pragma once
// The colour themes of the gradient headers, the colours of the disabled look, the palette a
// drawing uses and the caption's text flags.
#include <cstdint>

#include "frames/FrameModel.h"

namespace tessel::frames {

// The theme's gradient start, end and border. The custom theme takes ColorFrom and ColorTo and
// borders in the frame colour of the last drawing; an unknown theme is the silver one.
ThemeColors ThemeFor(int32_t theme, int32_t colorFrom, int32_t colorTo, int32_t lastFrameColor);

// The grey look of a disabled frame, from the system colours and the container's back colour.
Palette DisabledPalette(int32_t ambientBack);

// The colours one drawing uses: the live ones while enabled, else the disabled palette.
Palette CurrentPalette(const FrameProperties& p, const ThemeColors& theme, const Palette& disabled);

// The DrawTextEx format of the caption: word-wrapped in the panel style, one line elsewhere,
// vertically centred, aligned by Alignment.
UINT CaptionTextFlags(int32_t style, int32_t alignment);

}  // namespace tessel::frames
