#include "frames/FrameCaption.h"

#include <algorithm>

namespace tessel::frames {

// The cut keeps the longest start that fits with "..." after it, as dropping one character at a
// time from the right would find it, but found by doubling and halving: a text's widths grow with
// its starts, and a caption of a million characters is measured a few dozen times on its first few
// characters instead of a million times whole.
std::wstring FitCaption(std::wstring_view text, int width, const TextMeasure& textWidth) {
  if (textWidth(text) <= width) return std::wstring(text);
  const auto fits = [&](size_t n) { return textWidth(std::wstring(text.substr(0, n)) + L"...") <= width; };
  // Always fits(lo) or lo is 0, and hi is past the text or does not fit.
  const size_t size = text.size();
  size_t lo = 0, hi = 1;
  while (hi <= size && fits(hi)) {
    lo = hi;
    hi = hi == size ? size + 1 : std::min(size, hi * 2);
  }
  hi = std::min(hi, size + 1);
  while (hi - lo > 1) {
    const size_t mid = lo + (hi - lo) / 2;
    (fits(mid) ? lo : hi) = mid;
  }
  return lo > 0 ? std::wstring(text.substr(0, lo)) + L"..." : std::wstring();
}

}  // namespace tessel::frames
