#pragma once
// Where the caption text and the picture go on the face, worked out once whenever something that
// moves them changes, and kept in captionRect and pictureRect.
#include "button/ButtonState.h"

namespace tessel {

// The text band of the shape: its left edge L, available width A and right bound R.
struct CaptionBand {
  int32_t left, available, right;
};
CaptionBand CaptionBandOf(const ButtonState& state, double width);

// Computes captionRect and pictureRect; measures the caption with memDC's font. rescale comes in
// True when the picture itself changed and goes out True when the picture had to be scaled to
// pictureRect again (which is then done).
void CaptionLayout(ButtonPaint& paint, bool& rescale);

// The caption as drawn and measured: every "||" becomes a line break.
std::wstring CaptionText(const std::wstring& caption);

}  // namespace tessel
