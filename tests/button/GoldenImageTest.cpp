// Every style in every state on four shapes, rendered and compared with the images kept in
// tests/button/golden. After an intended change of the drawing, regenerate them with
//   TESSEL_UPDATE_GOLDEN=1 GTEST_FILTER='*GoldenImages*' scripts/test.sh -R tests_button
// and look at the new images before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "button/draw/Gradient.h"
#include "tests/button/ButtonCanvas.h"
#include "server/contract/Picture.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Pixels.h"

namespace tessel::test {
namespace {

constexpr int kCellW = 84, kCellH = 30, kGap = 4;
constexpr COLORREF kContainer = 0xE0E0E0;
constexpr int32_t kShapes[] = {shapeRectangle, shapeSlantBoth, shapeEllipse, shapeEllipseFramed};
constexpr int kShapeCount = 4;

enum GoldenLook { gRest, gHot, gPressed, gDraggedOff, gDefault, gLatched, gDisabled, gLookCount };
const char* const kStyleNames[] = {"classic", "soft", "rounded", "pastel", "flatbevel", "ring", "light", "glossy"};

void ApplyLook(ButtonState& s, ButtonPaint& paint, int look) {
  switch (look) {
    case gHot: s.isHoverTracking = true; s.Set(isHot, true); break;
    case gPressed: s.isHoverTracking = s.isPressedTracking = true; s.Set(isHot | isPressed, true); break;
    case gDraggedOff: s.isPressedTracking = true; s.Set(isPressed, true); break;
    case gDefault: s.Set(isDefault, true); break;
    case gLatched: s.mode = modeCheck; s.value = true; break;
    case gDisabled: paint.enabled = false; break;
    default: break;
  }
}

// The window outline of a shape: what the control shows of its back buffer.
HRGN Outline(int32_t shape, const ButtonCanvas& c) {
  const int W = c.width(), H = c.height();
  if (shape >= shapeEllipse) return CreateEllipticRgn(0, 0, W, H);
  if (shape == shapeSlantBoth) {
    const POINT p[] = {{0, 0}, {c.state.faceLeft, H + 1}, {W + 1, H + 1}, {c.state.faceRight + 1, 0}};
    return CreatePolygonRgn(p, 4, WINDING);
  }
  return CreateRectRgn(0, 0, W + 1, H + 1);
}

struct Cell {
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, the cell's outline only; the container elsewhere
  RECT captionBox;               // where glyphs may differ between machines
};

Cell RenderCell(int32_t style, int32_t shape, int look) {
  ButtonCanvas canvas(kCellW, kCellH);
  ButtonState& s = canvas.state;
  s.buttonStyle = style;
  s.buttonShape = shape;
  s.backColor = 0xD8D8D8;
  s.hoverBackColor = 0xF0E0C8;
  s.hoverForeColor = 0x800000;
  s.caption = L"Save";
  canvas.ShapeFace();
  ApplyLook(s, canvas.paint, look);
  canvas.DeriveColors();
  // The caption centred on the straight face.
  RECT text{0, 0, kCellW, kCellH};
  DrawTextW(canvas.dc(), L"Save", 4, &text, DT_CALCRECT | DT_WORDBREAK);
  const int tw = text.right, th = text.bottom;
  const int left = s.faceLeft + (s.faceRight - s.faceLeft - tw) / 2;
  s.captionRect = {left, (kCellH - th) / 2, left + tw, (kCellH - th) / 2 + th};
  // What the shape builder leaves in the buffer: the round face's gradient, the framed outline.
  if (shape == shapeEllipse) DrawGradient(canvas.dc(), gradTopBottom, kCellW, kCellH, 0xFFFFFF, 0x808080);
  if (shape == shapeEllipseFramed) {
    HRGN outline = CreateEllipticRgn(0, 0, kCellW, kCellH);
    FrameRgn(canvas.dc(), outline, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
    DeleteObject(outline);
  }
  canvas.Render();
  Cell cell;
  cell.pixels.assign(canvas.bits(), canvas.bits() + kCellW * kCellH);
  for (uint32_t& p : cell.pixels) p &= 0x00FFFFFF;  // the focus rectangle's inversion sets the top byte
  HRGN outline = Outline(shape, canvas);
  for (int y = 0; y < kCellH; ++y)
    for (int x = 0; x < kCellW; ++x)
      if (!PtInRegion(outline, x, y)) cell.pixels[y * kCellW + x] = 0xE0E0E0;
  DeleteObject(outline);
  cell.captionBox = s.captionRect;
  InflateRect(&cell.captionBox, 3, 3);
  OffsetRect(&cell.captionBox, 1, 1);
  return cell;
}

struct Sheet {
  int width = kShapeCount * (kCellW + kGap) + kGap;
  int height = gLookCount * (kCellH + kGap) + kGap;
  std::vector<uint32_t> pixels = std::vector<uint32_t>(width * height, kContainer);
  std::vector<RECT> captionBoxes;
};

Sheet RenderSheet(int32_t style) {
  Sheet sheet;
  for (int look = 0; look < gLookCount; ++look)
    for (int col = 0; col < kShapeCount; ++col) {
      Cell cell = RenderCell(style, kShapes[col], look);
      const int ox = kGap + col * (kCellW + kGap), oy = kGap + look * (kCellH + kGap);
      for (int y = 0; y < kCellH; ++y)
        for (int x = 0; x < kCellW; ++x) sheet.pixels[(oy + y) * sheet.width + ox + x] = cell.pixels[y * kCellW + x];
      RECT box = cell.captionBox;
      OffsetRect(&box, ox, oy);
      sheet.captionBoxes.push_back(box);
    }
  return sheet;
}

std::wstring GoldenPath(int32_t style) {
  std::string name = std::string(TESSEL_BUTTON_GOLDEN_DIR) + "/style" + std::to_string(style) + "-" +
                     kStyleNames[style] + ".png";
  return std::wstring(name.begin(), name.end());
}

class GoldenImages : public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};

// Faces, bevels, rings, corner pixels and focus indicators match pixel for pixel. Inside the
// caption boxes the glyph shapes come from the machine's font rasteriser, so there only the set of
// colours is compared: the text, its effect copies and the face they lie on.
TEST_P(GoldenImages, MatchTheKeptImages) {
  const int32_t style = GetParam();
  Sheet sheet = RenderSheet(style);
  const std::wstring path = GoldenPath(style);
  if (const char* update = std::getenv("TESSEL_UPDATE_GOLDEN"); update && *update == '1') {
    std::vector<uint32_t> argb(sheet.pixels);
    for (uint32_t& p : argb) p |= 0xFF000000;
    std::vector<uint8_t> png = EncodeImage(ImageFormat::Png, sheet.width, sheet.height, argb);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, png.size());
    GTEST_SKIP() << "wrote the kept image";
  }
  PictureRef picture;
  try {
    picture = Picture::FromFile(path);
  } catch (const std::exception& e) {
    FAIL() << e.what() << ": no kept image; run with TESSEL_UPDATE_GOLDEN=1 to write it";
  }
  DibProbe kept(static_cast<HBITMAP>(picture->Handle()));
  const int width = kept.width(), height = kept.height();
  ASSERT_EQ(width, sheet.width);
  ASSERT_EQ(height, sheet.height);
  std::vector<bool> inCaption(width * height, false);
  for (const RECT& box : sheet.captionBoxes)
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) inCaption[y * width + x] = true;
  int differing = 0;
  std::set<COLORREF> keptCaption, drawnCaption;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int i = y * width + x;
      const uint32_t p = sheet.pixels[i];
      const COLORREF drawn = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), was = kept.At(x, y);
      if (inCaption[i]) {
        keptCaption.insert(was);
        drawnCaption.insert(drawn);
      } else if (was != drawn && ++differing <= 5) {
        ADD_FAILURE() << kStyleNames[style] << " differs at (" << x << ", " << y << "), cell row "
                      << (y - kGap) / (kCellH + kGap) << " column " << (x - kGap) / (kCellW + kGap) << ": kept "
                      << Hex(was) << ", drawn " << Hex(drawn);
      }
    }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(keptCaption, drawnCaption) << "the caption colours of " << kStyleNames[style];
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, GoldenImages, ::testing::Range(0, 8),
                         [](const auto& info) { return std::string(kStyleNames[info.param]); });

}  // namespace
}  // namespace tessel::test
