#include "button/draw/Gradient.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "button/draw/PaintBox.h"

namespace tessel {

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
  if (screenWidth <= 0) screenWidth = GetSystemMetrics(SM_CXSCREEN);
  if (screenHeight <= 0) screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const GradientBands bands = GradientBandsFor(mode, width, height, screenWidth, screenHeight);
  if (bands.count <= 0) return;
  // Up to a few thousand entries; one allocation per gradient paint.
  std::vector<int32_t> table(bands.count);
  BuildGradientTable(table, fromColor, toColor);
  const bool across = mode == 1 || mode == 2;
  const int s = bands.bandSize;
  for (int i = 0; i < bands.count; ++i) {
    int32_t color = (mode % 2 == 1) ? table[i] : table[bands.count - 1 - i];
    if (across)
      PaintBox(dc, i * s, 0, i * s + s, height, color);
    else
      PaintBox(dc, 0, i * s, width, i * s + s, color);
  }
}

}  // namespace tessel
