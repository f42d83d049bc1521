#include <array>
#include <cstdint>
#include <stdexcept>

#include "frames/FrameStyles.h"

namespace tessel::frames {
namespace {

constexpr std::array<StyleRoutine, 9> kStyles{
    &DrawWindowsStyle,      // fsWindows: group box, caption in a gap of the top line
    &DrawHeaderStyle,       // fsHeader: banded header strip over a shaded body
    &DrawTextBoxStyle,      // fsTextBox: caption box standing on the top edge
    &DrawRoundHeaderStyle,  // fsRoundHeader: full-width header over a rounded body
    &DrawGradientBoxStyle,  // fsGradientBox: gradient header, grip dots, separator
    &DrawTabStyle,          // fsTab: slanted tab on the top edge
    &DrawBlockStyle,        // fsBlock: rounded tab block joined to the body
    &DrawLineStyle,         // fsLine: caption on an etched line
    &DrawPanelStyle,        // fsPanel: the whole window a rounded gradient panel
};
static_assert(kStyles.size() == fsPanel + 1, "one routine per frame style");

}  // namespace

StyleRoutine StyleRoutineFor(int32_t style) {
  if (style < 0 || style >= static_cast<int32_t>(kStyles.size())) return nullptr;
  return kStyles[static_cast<size_t>(style)];
}

int CaptionLeft(const FrameProperties& p, int W, int captionWidth) {
  if (p.alignment == alignLeft) return kHeaderInset;
  if (p.alignment == alignRight) return W - captionWidth - kHeaderInset - kMargin - 1;
  return RoundEven((W - 1 - captionWidth) / 2.0);
}

SIZE TabSize(const RECT& frame, const TextMetrics& text) {
  int width = text.width + 10;
  if (width > INT16_MAX) throw std::overflow_error("the tab width overflows");
  if (width < 100) width = 100;
  const int height = text.height + 5;
  if (frame.left + width + height / 2.0 >= frame.right - 15)
    width = RoundEven(frame.right - height / 2.0 - frame.left - 15 - 1);
  return SIZE{width, height};
}

}  // namespace tessel::frames
