#pragma once
// The nine frame styles. Each routine draws the body, the header or caption box and says where
// the caption (and for most styles the icon) goes; the redraw places and draws them afterwards.
#include <windows.h>

#include <array>
#include <cstdint>

#include "frames/FrameModel.h"
#include "frames/FramePrimitives.h"

namespace tessel::frames {

// Fixed distances of every drawing, in pixels.
constexpr int kCornerInset = 3;
constexpr int16_t kHeaderInset = 15;
constexpr int16_t kMargin = 6;

// What a style routine reads and what it hands back to the redraw.
struct StyleFrame {
  const FrameProperties& p;
  const Palette& pal;
  int W, H;              // client size in pixels
  TextMetrics& text;     // halfHeight is the style's to change
  int header;            // TextBoxHeight and IconSize in pixels at the screen's resolution
  int iconSide;
  // outputs
  RECT caption{};        // where the caption is drawn
  int iconY = 0;         // the icon's top, for the styles that set it
  int iconX = 0;         // the icon's left where the style fixes it (the text-box style)
};

using StyleRoutine = void (*)(DrawTarget&, StyleFrame&);

void DrawWindowsStyle(DrawTarget& c, StyleFrame& f);      // 0
void DrawHeaderStyle(DrawTarget& c, StyleFrame& f);       // 1
void DrawTextBoxStyle(DrawTarget& c, StyleFrame& f);      // 2
void DrawRoundHeaderStyle(DrawTarget& c, StyleFrame& f);  // 3
void DrawGradientBoxStyle(DrawTarget& c, StyleFrame& f);  // 4
void DrawTabStyle(DrawTarget& c, StyleFrame& f);          // 5
void DrawBlockStyle(DrawTarget& c, StyleFrame& f);        // 6
void DrawLineStyle(DrawTarget& c, StyleFrame& f);         // 7
void DrawPanelStyle(DrawTarget& c, StyleFrame& f);        // 8

// The routine of a style, or nullptr for a value outside 0 to 8 (no frame is drawn).
StyleRoutine StyleRoutineFor(int32_t style);

// Shared by the group-box and line styles: the caption's left edge by Alignment.
int CaptionLeft(const FrameProperties& p, int W, int captionWidth);
// The panel's corner size: 9 when RoundedCorner, else square.
inline int PanelRadius(const FrameProperties& p) { return p.roundedCorner ? 9 : 0; }
// Shared by the tab and block styles: the tab's width and height around the caption.
SIZE TabSize(const RECT& frame, const TextMetrics& text);

}  // namespace tessel::frames
