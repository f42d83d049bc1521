#pragma once
// The colours a control draws with, seen through the user's display settings. Normally every
// colour is the one the control resolved; with high contrast on, each is replaced by the system
// colour of the role it plays (face, text, window, highlight, grey text, frame), so a control keeps
// its shapes, focus and default cues but shows the user's scheme. The one place that decides.
#include <cstdint>

#include "server/contract/OleColor.h"

namespace tessel {

enum class ColorRole : uint8_t {
  Face,           // COLOR_BTNFACE: the face of a button, a frame, a panel
  FaceText,       // COLOR_BTNTEXT: a caption on a face
  Window,         // COLOR_WINDOW: the inside of a text field
  WindowText,     // COLOR_WINDOWTEXT: the text typed in it
  Highlight,      // COLOR_HIGHLIGHT: a pressed or selected look, a focused field's outline
  HighlightText,  // COLOR_HIGHLIGHTTEXT: text on the highlight
  GrayText,       // COLOR_GRAYTEXT: what is unavailable
  Frame,          // COLOR_WINDOWFRAME: outlines, edges and rules
};

// Whether the user's high-contrast scheme is on (SPI_GETHIGHCONTRAST), as last read.
bool HighContrast();
// Reads the setting again; a window calls it when told that the system's colours, theme or
// settings changed. Returns whether it changed.
bool RefreshHighContrast();
// The look the system gives every control (its colours and the high-contrast setting) as a number
// that moves whenever the look changes. The system's message of one change may reach a window more
// than once (passed on by a container to every window inside it) or not at all (a window found by
// the system's repaint instead), and a changed setting may leave the look as it was: a window
// remakes its colours only when the number moved since it last did.
// Reads the system again (the high-contrast setting too) and gives the number.
uint32_t RefreshSystemLook();
// The number as last read, without asking the system again (read once the first time).
uint32_t SystemLookSerial();
// For a test on a system that cannot switch the scheme: 1 or 0 is taken as the system's answer
// until -1 gives the question back to the system.
void SetHighContrastForTesting(int on);

// The system colour of a role, as RGB.
int32_t RoleColor(ColorRole role);
// rgb as drawn: itself, or with high contrast on the role's system colour. A negative (failed)
// colour stays negative unless high contrast replaces it.
int32_t PaletteColor(int32_t rgb, ColorRole role);
// An OLE colour translated (TranslateColor) and seen through the palette. A system colour is the
// user's scheme already and is kept; only a custom colour takes its role's.
inline int32_t PaletteOf(OleColor color, ColorRole role) {
  const int32_t rgb = TranslateColor(color);
  return (color & 0x80000000u) ? rgb : PaletteColor(rgb, role);
}

}  // namespace tessel
