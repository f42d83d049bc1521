#include "tests/support/GdiCount.h"

#include <windows.h>

namespace tessel::test {

unsigned GdiObjectCount() {
  GdiFlush();
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  // Wine accepts a handle given by its table index alone (the upper word zero).
  unsigned n = 0;
  for (ULONG_PTR index = 0x20; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++n;
  return n;
}

}  // namespace tessel::test
