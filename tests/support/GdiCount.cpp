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

// Each live GDI object of the process with its type, by probing the handle table: Wine accepts a
// handle given by its table index alone (the upper word zero).
template <class Fn>
void ForEachGdiObject(Fn fn) {
  for (ULONG_PTR index = 0x20; index < 0x10000; ++index) {
    const auto handle = reinterpret_cast<HGDIOBJ>(index);
    if (const DWORD type = GetObjectType(handle)) fn(handle, type);
  }
}

}  // namespace

unsigned GdiObjectCount() {
  GdiFlush();
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  unsigned n = 0;
  ForEachGdiObject([&](HGDIOBJ, DWORD) { ++n; });
  return n;
}

long long LargestBitmapPixels() {
  GdiFlush();
  if (GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return 0;
  long long largest = 0;
  ForEachGdiObject([&](HGDIOBJ handle, DWORD type) {
    BITMAP bitmap{};
    if (type == OBJ_BITMAP && GetObjectW(handle, sizeof(bitmap), &bitmap))
      largest = std::max(largest, static_cast<long long>(bitmap.bmWidth) * bitmap.bmHeight);
  });
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
