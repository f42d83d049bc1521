#include "frames/FrameCaption.h"

namespace tessel::frames {

std::wstring FitCaption(std::wstring_view text, int width, const TextMeasure& textWidth) {
  if (textWidth(text) <= width) return std::wstring(text);
  std::wstring s(text);
  size_t n = s.size();
  while (n > 0 && textWidth(s + L"...") > width) {
    --n;
    s.resize(n);
  }
  return n > 0 ? s + L"..." : std::wstring();
}

}  // namespace tessel::frames
