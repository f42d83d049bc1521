#include "server/contract/Accessibility.h"

namespace tessel {

std::wstring WithoutAccessMarks(std::wstring_view caption) {
  std::wstring name;
  name.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;  // the marked (or doubled) character stays
    else if (caption[i] == L'&') continue;                  // a trailing mark marks nothing
    name += caption[i];
  }
  return name;
}

}  // namespace tessel
