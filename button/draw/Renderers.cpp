#include "button/draw/Renderers.h"

#include <array>

namespace tessel {
namespace {

constexpr std::array<Renderer, kButtonStyleCount> kRenderers = {
    &RenderClassic,    // 0 bsClassic
    &RenderSoft,       // 1 bsSoft
    &RenderRounded,    // 2 bsRounded
    &RenderPastel,     // 3 bsPastel
    &RenderFlatBevel,  // 4 bsFlatBevel
    &RenderRing,       // 5 bsRing
    &RenderLight,      // 6 bsLight
    &RenderGlossy,     // 7 bsGlossy
};
static_assert(kRenderers.size() == 8, "one renderer per ButtonStyle value");

}  // namespace

Renderer RendererFor(int32_t style) {
  return style >= 0 && style < static_cast<int32_t>(kRenderers.size()) ? kRenderers[style] : nullptr;
}

}  // namespace tessel
