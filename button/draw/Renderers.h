#pragma once
// The renderer of each ButtonStyle value, in one table indexed by the style: adding a style is
// one row here and one file with its renderer.
#include <cstdint>

#include "button/ButtonState.h"

namespace tessel {

void RenderClassic(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);    // ClassicRenderer.cpp
void RenderSoft(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);       // FlatStyleRenderers.cpp
void RenderRounded(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);    // RoundedRenderer.cpp
void RenderPastel(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);     // PastelRenderer.cpp
void RenderFlatBevel(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);  // FlatStyleRenderers.cpp
void RenderRing(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);       // RingRenderer.cpp
void RenderLight(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);      // FlatStyleRenderers.cpp
void RenderGlossy(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);     // GlossyRenderer.cpp

// Every style while the user's high-contrast scheme is on (HighContrastRenderer.cpp).
void RenderHighContrast(ButtonPaint&, BevelPoints&, BevelColors&, int32_t& faceState, int16_t& outcome);

// The renderer of a style, or null for a style outside the table (nothing is drawn).
Renderer RendererFor(int32_t style);

}  // namespace tessel
