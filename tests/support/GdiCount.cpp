#include "tests/support/GdiCount.h"

#include <windows.h>

#include <algorithm>

namespace tessel::test {
namespace {

bool Ours(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return pid == GetCurrentProcessId();
}

BOOL CALLBACK CountOurs(HWND w, LPARAM n) {
  *reinterpret_cast<unsigned*>(n) += Ours(w);
  return TRUE;
}

}  // namespace

unsigned GdiObjectCount() {
  GdiFlush();
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  // Wine accepts a handle given by its table index alone (the upper word zero).
  unsigned n = 0;
  for (ULONG_PTR index = 0x20; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++n;
  return n;
}

long long LargestBitmapPixels() {
  GdiFlush();
  if (GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return 0;
  long long largest = 0;
  for (ULONG_PTR index = 0x20; index < 0x10000; ++index) {
    const auto handle = reinterpret_cast<HGDIOBJ>(index);
    BITMAP bitmap{};
    if (GetObjectType(handle) == OBJ_BITMAP && GetObjectW(handle, sizeof(bitmap), &bitmap))
      largest = std::max(largest, static_cast<long long>(bitmap.bmWidth) * bitmap.bmHeight);
  }
  return largest;
}

unsigned UserObjectCount() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
  unsigned n = 0;
  EnumChildWindows(GetDesktopWindow(), CountOurs, reinterpret_cast<LPARAM>(&n));  // every window, at any depth
  // Message-only windows are not listed by EnumWindows.
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w; w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
    n += Ours(w);
  return n;
}

unsigned KernelHandleCount() {
  DWORD n = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &n) && n) return n;
  // Slots are given lowest first, so the live ones end before a long run of free ones.
  unsigned live = 0;
  DWORD flags = 0;
  for (ULONG_PTR slot = 4, free = 0; free < 1024; slot += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(slot), &flags)) {
      ++live;
      free = 0;
    } else {
      ++free;
    }
  }
  return live;
}

}  // namespace tessel::test
