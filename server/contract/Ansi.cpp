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

bool AnsiHolds(std::wstring_view text) {
  if (text.empty()) return true;
  const UINT codePage = GetACP();
  if (codePage == CP_UTF8) return true;
  const int length = static_cast<int>(text.size());
  // No best fit: a character the code page lacks must not pass as a look-alike ("\u0391" as "A").
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr,
                                    &usedDefault);
  return n > 0 && !usedDefault;
}

}  // namespace tessel
