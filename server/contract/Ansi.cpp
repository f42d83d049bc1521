#include "server/contract/Ansi.h"

#include <windows.h>

namespace tessel {

std::string AnsiFromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace tessel
