#include "button/draw/Gradient.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "button/draw/PaintBox.h"

namespace tessel {
namespace {

// The screen size in pixels. Asking the system costs far more than painting a face (the display
// driver is queried each time), so it is read at most once a second: a changed display mode is
// seen by the paints that follow within that second.
SIZE ScreenPixels() {
  static SIZE size{};
  static ULONGLONG readAt = 0;
  const ULONGLONG now = GetTickCount64();
  if (readAt == 0 || now - readAt >= 1000) {
    size = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    readAt = now;
  }
  return size;
}

}  // namespace

void BuildGradientTable(std::span<int32_t> table, int32_t fromColor, int32_t toColor) {
  if (table.empty()) return;
  const int n = static_cast<int>(table.size()) - 1;  // the table's upper bound
  double channel[3] = {double(fromColor & 0xFF), double((fromColor >> 8) & 0xFF), double((fromColor >> 16) & 0xFF)};
  const int end[3] = {toColor & 0xFF, (toColor >> 8) & 0xFF, (toColor >> 16) & 0xFF};
  double step[3] = {0, 0, 0};
  if (n > 0)
    for (int c = 0; c < 3; ++c) step[c] = (end[c] - channel[c]) / n;
  table[0] = fromColor;
  for (int i = 1; i <= n; ++i) {
    int32_t rgb = 0;
    for (int c = 0; c < 3; ++c) {
      channel[c] = std::clamp(channel[c] + step[c], 0.0, 255.0);
      rgb |= static_cast<int32_t>(std::floor(channel[c])) << (8 * c);
    }
    table[i] = rgb;
  }
}

GradientBands GradientBandsFor(int mode, int width, int height, int screenWidth, int screenHeight) {
  const bool across = mode == 1 || mode == 2;
  const int size = across ? width : height;
  const int screen = across ? screenWidth : screenHeight;
  if (size <= 0) return {1, 0};
  if (screen / size < 4) return {2, size / 2};
  return {1, size};
}

void DrawGradient(HDC dc, int mode, int width, int height, int32_t fromColor, int32_t toColor, int screenWidth,
                  int screenHeight) {
  if (mode <= 0) return;
  if (screenWidth <= 0 || screenHeight <= 0) {
    const SIZE screen = ScreenPixels();
    if (screenWidth <= 0) screenWidth = screen.cx;
    if (screenHeight <= 0) screenHeight = screen.cy;
  }
  const GradientBands bands = GradientBandsFor(mode, width, height, screenWidth, screenHeight);
  if (bands.count <= 0) return;
  std::vector<int32_t> table(bands.count);
  BuildGradientTable(table, fromColor, toColor);
  const bool across = mode == 1 || mode == 2;
  // Even modes run the other way: the last entry is the first band.
  if (mode % 2 == 0) std::reverse(table.begin(), table.end());
  PaintStrips(dc, across, bands.bandSize, table.data(), bands.count, across ? height : width);
}

}  // namespace tessel
