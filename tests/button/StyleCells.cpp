// The style renderers run on a canvas, with the face colours the control derives.
#include "button/DerivedColors.h"
#include "button/draw/Renderers.h"
#include "tests/button/ButtonCanvas.h"

namespace tessel::test {

void ButtonCanvas::DeriveColors() { UpdateDerivedColors(state); }

int16_t ButtonCanvas::Render(int32_t* faceState, BevelColors* colors) {
  BevelPoints points{};
  BevelColors list{};
  int32_t state32 = 0;
  int16_t outcome = 0;
  if (Renderer r = RendererFor(state.buttonStyle)) r(paint, points, list, state32, outcome);
  GdiFlush();
  if (faceState) *faceState = state32;
  if (colors) *colors = list;
  return outcome;
}

}  // namespace tessel::test
