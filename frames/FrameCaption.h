#pragma once
// Caption fitting: a caption too wide for its rectangle loses characters from the right and
// ends in "...".
#include <functional>
#include <string>
#include <string_view>

namespace tessel::frames {

using TextMeasure = std::function<int(std::wstring_view)>;

// The text unchanged when it fits in width; else its longest start that fits with "..." after
// it; the empty string when not even one character does.
std::wstring FitCaption(std::wstring_view text, int width, const TextMeasure& textWidth);

}  // namespace tessel::frames
