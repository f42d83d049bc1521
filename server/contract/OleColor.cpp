#include "server/contract/OleColor.h"

#include <olectl.h>

namespace tessel {

int32_t TranslateColor(OleColor color) {
  COLORREF rgb = 0;
  if (FAILED(OleTranslateColor(color, nullptr, &rgb))) return -1;
  return static_cast<int32_t>(rgb);
}

}  // namespace tessel
