#pragma once
// How much of a word-wrapped text can be seen. The system's word-wrapping text drawing costs more
// than the length of the text times its lines, so a control hands it only the start of a text
// that can show in its rectangle, however long the text is.
#include <windows.h>

#include <cstddef>
#include <string_view>

namespace tessel {

struct WrappedText {
  size_t length = 0;  // characters of the text handed to the system
  RECT rect{};        // what DT_CALCRECT made of the rectangle for those characters
};

// Measures text with DrawTextW(DT_CALCRECT | flags) in the DC's font in rect. The whole text when
// its wrapped height stays below visibleHeight and two more lines; else the shortest start,
// doubled from a few thousand characters, that reaches that height (the lines past it cannot be
// seen in a rectangle visibleHeight high, so the start ends on a line no one sees). A start never
// ends between the halves of a surrogate pair or between CR and LF.
WrappedText MeasureWrappedText(HDC dc, std::wstring_view text, const RECT& rect, UINT flags, int visibleHeight);

// The first `length` characters at most, ending on the same boundaries as above.
size_t WrappedStart(std::wstring_view text, size_t length);

}  // namespace tessel
