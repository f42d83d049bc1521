// Every style in every state on six shapes, drawn by real buttons through the redraw dispatcher
// (renderer, block transfer and the frame of round and custom outlines) and compared with the
// images kept in tests/button/golden. After an intended change of the drawing, regenerate them with
//   TESSEL_UPDATE_GOLDEN=1 GTEST_FILTER='*GoldenImages*' scripts/test.sh -R tests_button
// and look at the new images before committing them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "server/contract/Font.h"
#include "server/contract/Picture.h"
#include "server/contract/Twips.h"
#include "tests/button/ButtonHarness.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Pixels.h"

namespace tessel::test::button {
namespace {

constexpr int kCellW = 84, kCellH = 30, kGap = 4;
constexpr uint32_t kContainer = 0xE0E0E0;
constexpr int32_t kShapes[] = {shapeRectangle, shapeSlantBoth, shapeEllipse, shapeEllipseFramed, shapeCustom,
                               shapeCustomShaded};
constexpr int kShapeCount = 6;

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

// A cell is the button's size in twips (84 x 30 pixels at 96 dpi), in pixels of the screen's
// resolution; at any other the kept images are those of a folder named after it ("dpi144").
int CellW() { return PixelsFromTwipsX(kCellW * 15); }
int CellH() { return PixelsFromTwipsY(kCellH * 15); }

std::string GoldenDir() {
  const std::string dir = TESSEL_BUTTON_GOLDEN_DIR;
  return ScreenDpiX() == 96 ? dir : dir + "/dpi" + std::to_string(ScreenDpiX());
}

struct Sheet {
  int width = kShapeCount * (CellW() + kGap) + kGap;
  int height = gLookCount * (CellH() + kGap) + kGap;
  std::vector<uint32_t> pixels = std::vector<uint32_t>(width * height, kContainer);
  std::vector<RECT> captionBoxes;  // where glyphs may differ between machines
};

class GoldenImages : public ButtonTest, public ::testing::WithParamInterface<int32_t> {
 protected:
  // One button per shape, each frame drawn by the dispatcher into a DIB and cut to the window's
  // outline: what the screen shows of the button.
  Sheet RenderSheet(int32_t style) {
    const FontDesc tahoma{L"Tahoma", 8.25f};
    const PictureRef outline = Bitmap(kCellW, kCellH, Hexagon);
    void* bits = nullptr;
    const int cellW = CellW(), cellH = CellH();
    unique_hbitmap dib = CreateDib32(nullptr, cellW, cellH, &bits);
    unique_hdc dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), dib.get());
    Sheet sheet;
    for (int col = 0; col < kShapeCount; ++col) {
      ButtonStyle& b = Add(L"shape" + std::to_wstring(col), 10, 10 + col * 40, kCellW, kCellH);
      b.SetFont(Font::Create(tahoma));
      b.SetCaption(L"Save");
      b.SetBackColor(0xD8D8D8);
      b.SetHoverBackColor(0xF0E0C8);
      b.SetHoverForeColor(0x800000);
      if (kShapes[col] >= shapeCustom) b.SetPicture(outline);
      b.SetButtonStyle(style);
      b.SetButtonShape(kShapes[col]);
      unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
      const bool shaped = GetWindowRgn(b.hWnd(), region.get()) != ERROR;
      for (int look = 0; look < gLookCount; ++look) {
        ApplyLook(b, look, true);
        PatBlt(dc.get(), 0, 0, cellW, cellH, BLACKNESS);
        b.Redraw(dc.get());
        GdiFlush();
        const int ox = kGap + col * (cellW + kGap), oy = kGap + look * (cellH + kGap);
        const auto* px = static_cast<const uint32_t*>(bits);
        for (int y = 0; y < cellH; ++y)
          for (int x = 0; x < cellW; ++x)
            if (!shaped || PtInRegion(region.get(), x, y))
              sheet.pixels[(oy + y) * sheet.width + ox + x] = px[y * cellW + x] & 0xFFFFFF;
        RECT box = b.State().captionRect;
        InflateRect(&box, 3, 3);
        OffsetRect(&box, ox + 1, oy + 1);
        sheet.captionBoxes.push_back(box);
        ApplyLook(b, look, false);
      }
    }
    return sheet;
  }
};

// Faces, bevels, rings, corner pixels and focus indicators match pixel for pixel. Inside the
// caption boxes the glyph shapes come from the machine's font rasteriser, so there only the set of
// colours is compared: the text, its effect copies and the face they lie on.
TEST_P(GoldenImages, MatchTheKeptImages) {
  const int32_t style = GetParam();
  Sheet sheet = RenderSheet(style);
  const std::string name = GoldenDir() + "/style" + std::to_string(style) + "-" +
                           kStyleNames[style] + ".png";
  const std::wstring path(name.begin(), name.end());
  if (const char* update = std::getenv("TESSEL_UPDATE_GOLDEN"); update && *update == '1') {
    std::vector<uint32_t> argb(sheet.pixels);
    for (uint32_t& p : argb) p |= 0xFF000000;
    const std::vector<uint8_t> png = EncodeImage(ImageFormat::Png, sheet.width, sheet.height, argb);
    CreateDirectoryA(GoldenDir().c_str(), nullptr);  // the folder of another resolution, the first time
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    GTEST_SKIP() << "wrote the kept image";
  }
  PictureRef picture;
  ASSERT_NO_THROW(picture = Picture::FromFile(path)) << "no kept image; run with TESSEL_UPDATE_GOLDEN=1 to write it";
  DibProbe kept(static_cast<HBITMAP>(picture->Handle()));
  ASSERT_TRUE(kept.width() == sheet.width && kept.height() == sheet.height);
  int differing = 0;
  std::set<COLORREF> keptCaption, drawnCaption;
  for (int y = 0; y < sheet.height; ++y)
    for (int x = 0; x < sheet.width; ++x) {
      const uint32_t p = sheet.pixels[y * sheet.width + x];
      const COLORREF drawn = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF), was = kept.At(x, y);
      const POINT at{x, y};
      if (std::any_of(sheet.captionBoxes.begin(), sheet.captionBoxes.end(), [&](const RECT& r) { return PtInRect(&r, at); })) {
        keptCaption.insert(was);
        drawnCaption.insert(drawn);
      } else if (was != drawn && ++differing <= 5) {
        ADD_FAILURE() << kStyleNames[style] << " differs at (" << x << ", " << y << "), cell row "
                      << (y - kGap) / (CellH() + kGap) << " column " << (x - kGap) / (CellW() + kGap) << ": kept "
                      << Hex(was) << ", drawn " << Hex(drawn);
      }
    }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(keptCaption, drawnCaption) << "the caption colours of " << kStyleNames[style];
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, GoldenImages, ::testing::Range(0, 8),
                         [](const auto& info) { return std::string(kStyleNames[info.param]); });

}  // namespace
}  // namespace tessel::test::button
