#include "server/contract/WrappedText.h"

#include <algorithm>
#include <cstdint>

namespace tessel {
namespace {

constexpr size_t kFirstStart = 2048;

}  // namespace

size_t WrappedStart(std::wstring_view text, size_t length) {
  if (length >= text.size()) return text.size();
  if (length > 0 && IS_HIGH_SURROGATE(text[length - 1]) && IS_LOW_SURROGATE(text[length])) --length;
  if (length > 0 && text[length - 1] == L'\r' && text[length] == L'\n') --length;
  return length;
}

WrappedText MeasureWrappedText(HDC dc, std::wstring_view text, const RECT& rect, UINT flags, int visibleHeight) {
  TEXTMETRICW tm{};
  const int line = dc && GetTextMetricsW(dc, &tm) ? std::max<int>(1, tm.tmHeight) : 1;
  const int64_t enough = static_cast<int64_t>(std::max(visibleHeight, 0)) + 2 * int64_t{line};
  WrappedText shown;
  size_t want = std::min(text.size(), kFirstStart);
  for (;;) {
    shown.length = WrappedStart(text, want);
    shown.rect = rect;
    DrawTextW(dc, text.data(), static_cast<int>(shown.length), &shown.rect, flags | DT_CALCRECT);
    if (shown.length >= text.size() || int64_t{shown.rect.bottom} - shown.rect.top >= enough) return shown;
    want = std::min(text.size(), want * 2);
  }
}

}  // namespace tessel
