// Before a screenshot the gallery's windows are laid side by side, so that none hides another.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "gallery/Gallery.h"

namespace tessel::gallery {

namespace {

constexpr int kGap = 8;

struct Placed {
  HWND window;
  SIZE size;
};

BOOL CALLBACK AddOwnTopWindow(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  // Tips place themselves beside what they describe; only the forms are laid out.
  if (process == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpiW(name, L"tooltips_class32") != 0) {
    RECT r{};
    GetWindowRect(window, &r);
    reinterpret_cast<std::vector<Placed>*>(param)->push_back({window, {r.right - r.left, r.bottom - r.top}});
  }
  return TRUE;
}

}  // namespace

// Each window, tallest first, goes where its top can be highest on the screen (leftmost among
// equals), above what is already placed: the gallery window itself always takes the top left, and
// windows wider than half the screen come last, below the others, which they would push down.
void LayOutForScreenshot(HWND gallery) {
  std::vector<Placed> windows;
  EnumWindows(AddOwnTopWindow, reinterpret_cast<LPARAM>(&windows));
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  std::stable_sort(windows.begin(), windows.end(), [gallery, screenWidth](const Placed& a, const Placed& b) {
    if ((a.window == gallery) != (b.window == gallery)) return a.window == gallery;
    const bool wideA = a.size.cx > screenWidth / 2, wideB = b.size.cx > screenWidth / 2;
    if (wideA != wideB) return wideB;
    return a.size.cy > b.size.cy;
  });
  std::vector<int> skyline(static_cast<size_t>(std::max(screenWidth, 1)), 0);  // first free row per column
  for (const Placed& w : windows) {
    const int width = std::min<int>(w.size.cx, screenWidth);
    int bestX = 0, bestY = INT_MAX;
    for (int x = 0; x + width <= screenWidth; x += kGap) {
      const int y = *std::max_element(skyline.begin() + x, skyline.begin() + x + width);
      if (y < bestY) bestX = x, bestY = y;
    }
    SetWindowPos(w.window, nullptr, bestX, bestY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int end = std::min(screenWidth, bestX + width + kGap);
    std::fill(skyline.begin() + bestX, skyline.begin() + end, bestY + w.size.cy + kGap);
  }
}

}  // namespace tessel::gallery
