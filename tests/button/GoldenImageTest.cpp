// Every style in every state on six shapes, drawn by real buttons through the redraw dispatcher and
// compared with the images kept in tests/button/golden (tests/README.md: writing them again).
#include "tests/button/ButtonHarness.h"
#include "tests/support/KeptImage.h"

namespace tessel::test::button {
namespace {

constexpr int kCellW = 84, kCellH = 30, kGap = 4;
constexpr int32_t kShapes[] = {shapeRectangle, shapeSlantBoth, shapeEllipse, shapeEllipseFramed, shapeCustom,
                               shapeCustomShaded};
constexpr int kShapeCount = std::size(kShapes);

enum GoldenLook { gRest, gHot, gPressed, gDraggedOff, gDefault, gLatched, gDisabled, gLookCount };
const char* const kStyleNames[] = {"classic", "soft", "rounded", "pastel", "flatbevel", "ring", "light", "glossy"};

// Sets the look as a program would, and undoes it again.
void ApplyLook(ButtonStyle& b, int look, bool on) {
  if (look == gLatched) {
    b.SetMode(on ? modeCheck : modeCommand);
    b.SetValue(on);
  } else if (look == gDisabled) {
    b.SetEnabled(!on);
  } else {
    b.ShowLook(on ? static_cast<ButtonStyle::Look>(look) : ButtonStyle::Look::Rest);  // the looks in their order
  }
}

// A hexagon with pointed ends on the magenta key: the outline of the picture-shaped buttons.
uint32_t Hexagon(int x, int y) {
  const int d = y < 15 ? 15 - y : y - 14;
  return x >= d && x < kCellW - d ? 0x3060C0u : 0xFF00FFu;
}

class GoldenImages : public ButtonTest, public ::testing::WithParamInterface<int32_t> {};

// Each look cut to the window's outline; inside the caption boxes only the set of colours counts.
TEST_P(GoldenImages, MatchTheKeptImages) {
  const int32_t style = GetParam();
  const int cellW = PixelsFromTwipsX(kCellW * 15), cellH = PixelsFromTwipsY(kCellH * 15);
  Sheet sheet(kShapeCount * (cellW + kGap) + kGap, gLookCount * (cellH + kGap) + kGap, 0xE0E0E0);
  std::vector<RECT> captionBoxes;
  const PictureRef outline = Bitmap(kCellW, kCellH, Hexagon);
  Canvas cell(cellW, cellH, 0);
  for (int col = 0; col < kShapeCount; ++col) {
    ButtonStyle& b = Add(L"shape" + std::to_wstring(col), 10, 10 + col * 40, kCellW, kCellH);
    b.SetFont(Font::Create(FontDesc{L"Tahoma", 8.25f}));
    b.SetCaption(L"Save");
    b.SetBackColor(0xD8D8D8);
    b.SetHoverBackColor(0xF0E0C8);
    b.SetHoverForeColor(0x800000);
    if (kShapes[col] >= shapeCustom) b.SetPicture(outline);
    b.SetButtonStyle(style);
    b.SetButtonShape(kShapes[col]);
    const unique_hrgn region = WindowRegion(b);
    for (int look = 0; look < gLookCount; ++look) {
      ApplyLook(b, look, true);
      PatBlt(cell.dc(), 0, 0, cellW, cellH, BLACKNESS);
      b.Redraw(cell.dc());
      const int ox = kGap + col * (cellW + kGap), oy = kGap + look * (cellH + kGap);
      sheet.Paste(cell, ox, oy, cellW, cellH, [&](int x, int y) { return !region || PtInRegion(region.get(), x, y); });
      RECT box = b.State().captionRect;
      InflateRect(&box, 3, 3);
      OffsetRect(&box, ox + 1, oy + 1);
      captionBoxes.push_back(box);
      ApplyLook(b, look, false);
    }
  }
  const std::string path = KeptImageFolder(TESSEL_BUTTON_GOLDEN_DIR) + "/style" + std::to_string(style) + "-" +
                           kStyleNames[style] + ".png";
  const auto inCaption = [&](int x, int y) {
    const POINT at{x, y};
    return std::any_of(captionBoxes.begin(), captionBoxes.end(), [&](const RECT& r) { return PtInRect(&r, at); });
  };
  const auto cellOf = [&](int x, int y) {
    return ", cell row " + std::to_string((y - kGap) / (cellH + kGap)) + " column " + std::to_string((x - kGap) / (cellW + kGap));
  };
  if (WriteOrExpectKeptImage(path, sheet, inCaption, cellOf)) GTEST_SKIP() << "wrote the kept image";
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, GoldenImages, ::testing::Range(0, 8),
                         [](const auto& info) { return std::string(kStyleNames[info.param]); });

}  // namespace
}  // namespace tessel::test::button
