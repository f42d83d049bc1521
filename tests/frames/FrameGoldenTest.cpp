// The gallery's frames, loaded from their form text, pixel for pixel against tests/frames/golden
// (one image per style, its four looks from top to bottom; see tests/README.md).
#include <cstdlib>
#include <fstream>
#include <vector>

#include "gallery/FrameSamples.h"
#include "server/contract/Twips.h"
#include "tests/frames/FrameFixture.h"
#include "tests/support/ImageBytes.h"

namespace tessel::test::frames {
namespace {

void WritePng(const std::string& path, int w, int h, const std::vector<uint32_t>& argb) {
  const std::vector<uint8_t> bytes = EncodeImage(ImageFormat::Png, w, h, argb);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST_F(FrameTest, EveryStyleLooksAsItsGoldenImage) {
  auto samples = gallery::OpenFrameSamples(L"Golden", &types_, gallery::SampleContents::FramesOnly);
  ASSERT_TRUE(samples->LoadFailures().empty());
  // The frames' size in twips, in pixels of the screen's resolution; at any but 96 dpi the kept
  // images are those of a folder named after it ("dpi144").
  const int w = PixelsFromTwipsX(gallery::kFrameSampleWidth * 15), h = PixelsFromTwipsY(gallery::kFrameSampleHeight * 15);
  const int gap = gallery::kFrameSampleGap;
  const std::string dir = std::string("Z:") + TESSEL_FRAME_GOLDEN_DIR +
                          (ScreenDpiX() == 96 ? std::string() : "/dpi" + std::to_string(ScreenDpiX()));
  const int rows = static_cast<int>(gallery::FrameSampleRows().size()), height = rows * h + (rows - 1) * gap;
  for (int style = 0; style < gallery::kFrameSampleStyles; ++style) {
    std::vector<uint32_t> argb(static_cast<size_t>(w) * height, 0xFF808080);  // grey between the looks
    for (int row = 0; row < rows; ++row) {
      const DibProbe image = Image(*static_cast<TzFrames*>(samples->Control(gallery::FrameSampleName(style, row))));
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const COLORREF c = image.At(x, y);
          argb[size_t(row * (h + gap) + y) * w + x] = 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }
    }
    const std::string path = dir + "/style" + std::to_string(style);
    if (std::getenv("TESSEL_UPDATE_GOLDEN")) {
      CreateDirectoryA(dir.c_str(), nullptr);
      WritePng(path + ".png", w, height, argb);
      continue;
    }
    const PictureRef golden = Picture::FromFile(WideFromUtf8(path + ".png"));
    const DibProbe kept(static_cast<HBITMAP>(golden->Handle()));
    ASSERT_EQ(std::make_pair(kept.width(), kept.height()), std::make_pair(w, height));
    int differing = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t a = argb[size_t(y) * w + x];
        const COLORREF drawn = RGB(a >> 16 & 255, a >> 8 & 255, a & 255);
        if (drawn != kept.At(x, y) && ++differing <= 3)
          ADD_FAILURE() << "style " << style << " at (" << x << "," << y << "): " << Hex(drawn) << " drawn, "
                        << Hex(kept.At(x, y)) << " kept";
      }
    if (differing) WritePng(path + ".actual.png", w, height, argb);
    EXPECT_EQ(differing, 0) << "style " << style << ": what was drawn is in " << path << ".actual.png";
  }
}

}  // namespace
}  // namespace tessel::test::frames
