#pragma once
// The steps every style renderer shares, in the order they run: the face fill, the caption and
// picture, the bevel of the straight shapes, the shape step that tells the dispatcher whether to
// frame the window region, and the focus indicator. Each step that fails is skipped and reported.
#include <cstdint>

#include "button/ButtonState.h"
#include "button/draw/Bevel.h"
#include "button/draw/FillBackground.h"

namespace tessel {

// A check or option button drawn down: its value is set, or a press on it is under way.
inline bool IsLatched(const ButtonState& s) {
  return s.value || (s.isPressedTracking && s.mode != modeCommand);
}
// A check or option button whose value is set.
inline bool ShowsLatchedFace(const ButtonState& s) { return s.mode != modeCommand && s.value; }
inline bool HasBevel(const ButtonState& s) { return s.buttonShape <= shapeSlantBoth; }

// The caption colour most styles hand over: grey for a disabled check or option button.
int32_t DisabledToggleText(const ButtonPaint& paint);

BevelFrame FrameOf(const ButtonPaint& paint);
// The gradient's end colour as the fill takes it: the translated GradientColor.
int32_t ResolveGradientEnd(const ButtonState& s);

// Fills the face; false when nothing is to be painted now (the renderer returns at once).
bool FillStep(ButtonPaint& paint, int32_t face, int32_t& faceState, int16_t& outcome, int32_t gradientEnd,
              int32_t hoverColor);
void CaptionStep(ButtonPaint& paint, int32_t face, int32_t textOverride);
void BevelStep(ButtonPaint& paint, BevelPoints& points, const BevelColors& colors, int outerPenStyle = -1);
// Shapes below the framed ellipse (and the framed ellipse at rest) need no region frame; the
// custom shapes and a hovered or pressed framed ellipse are framed in black.
void ShapeStep(ButtonPaint& paint, BevelColors& colors, int16_t& outcome);
void FocusStep(ButtonPaint& paint, int32_t color, bool hugCaption, bool solid, BevelPoints& points);

// The focus colour of the bevel styles: black when latched, the face 48 darker on the slanted
// shapes, else the colour given (the caption override: -1 draws black).
int32_t BevelFocusColor(const ButtonState& s, int32_t face, int32_t otherwise);

// Sets the four edges of one ring (ring 0 inner, 1 middle, 2 outer) from a raised pair: `light`
// on left and top, `dark` on right and bottom.
void SetRing(BevelColors& colors, int ring, int32_t light, int32_t dark);

// How a bevel style's focus indicator looks.
struct FocusLook {
  int32_t color = -1;
  bool hugCaption = false;
  bool alwaysSolid = false;  // else solid only while the value is set
};

// The common order of the bevel styles: fill the face, caption and picture, then `edges` sets the
// face state and the twelve edge colours (all start undrawn) and says how the focus looks; the
// bevel (straight shapes only), the shape step and the focus indicator follow.
template <class Edges>
void PaintBevelStyle(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState,
                     int16_t& outcome, int32_t face, int32_t textOverride, Edges&& edges) {
  const ButtonState& s = paint.state;
  if (!FillStep(paint, face, faceState, outcome, ResolveGradientEnd(s), s.hoverFaceColor)) return;
  CaptionStep(paint, face, textOverride);
  for (int i = 1; i <= 12; ++i) colors[i] = -1;
  const FocusLook focus = edges(faceState, colors);
  if (HasBevel(s)) BevelStep(paint, points, colors);
  ShapeStep(paint, colors, outcome);
  FocusStep(paint, focus.color, focus.hugCaption, focus.alwaysSolid || s.value, points);
}

}  // namespace tessel
