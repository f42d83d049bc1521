// The gallery's frames, loaded from their form text, compared pixel for pixel with the kept
// images in tests/frames/golden (one per style: its four looks from top to bottom). Captions are
// compared as Wine rasterises Tahoma 8 on this platform. TESSEL_UPDATE_GOLDEN=1 writes the images
// again instead of comparing; look at them before committing.
#include <cstdlib>
#include <vector>

#include "gallery/FrameSamples.h"
#include "server/contract/SystemHandles.h"
#include "tests/frames/FrameFixture.h"
#include "tests/support/ImageBytes.h"

namespace tessel::test::frames {
namespace {

constexpr uint32_t kGapArgb = 0xFF808080;

std::wstring GoldenPath(int style) {
  return WideFromUtf8(std::string("Z:") + TESSEL_FRAME_GOLDEN_DIR + "/style" + std::to_string(style) + ".png");
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  const unique_hfile file = OwnedFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

TEST_F(FrameTest, EveryStyleLooksAsItsGoldenImage) {
  // The golden images show what the frames draw themselves: the controls inside stay out.
  auto samples = gallery::OpenFrameSamples(L"Golden", &types_, gallery::SampleContents::FramesOnly);
  ASSERT_TRUE(samples->LoadFailures().empty());
  const bool update = std::getenv("TESSEL_UPDATE_GOLDEN") != nullptr;
  const int w = gallery::kFrameSampleWidth, h = gallery::kFrameSampleHeight, gap = gallery::kFrameSampleGap;
  const int rows = static_cast<int>(gallery::FrameSampleRows().size());
  const int height = rows * h + (rows - 1) * gap;
  for (int style = 0; style < gallery::kFrameSampleStyles; ++style) {
    std::vector<uint32_t> argb(static_cast<size_t>(w) * height, kGapArgb);
    for (int row = 0; row < rows; ++row) {
      const auto* frame = static_cast<TzFrames*>(samples->Control(gallery::FrameSampleName(style, row)));
      ASSERT_TRUE(frame);
      const DibProbe image = Image(*frame);
      ASSERT_EQ(image.width(), w);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const COLORREF c = image.At(x, y);
          argb[static_cast<size_t>(row * (h + gap) + y) * w + x] =
              0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    const std::wstring path = GoldenPath(style);
    if (update) {
      ASSERT_TRUE(WriteBytes(path, EncodeImage(ImageFormat::Png, w, height, argb))) << Utf8FromWide(path);
      continue;
    }
    PictureRef golden;
    try {
      golden = Picture::FromFile(path);
    } catch (const std::exception& e) {
      FAIL() << e.what() << ": no kept image " << Utf8FromWide(path) << " (TESSEL_UPDATE_GOLDEN=1 writes it)";
    }
    const DibProbe expected(static_cast<HBITMAP>(golden->Handle()));
    ASSERT_EQ(expected.width(), w);
    ASSERT_EQ(expected.height(), height);
    int differing = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t a = argb[static_cast<size_t>(y) * w + x];
        const COLORREF drawn = RGB((a >> 16) & 255, (a >> 8) & 255, a & 255);
        if (drawn != expected.At(x, y) && ++differing <= 3)
          ADD_FAILURE() << "style " << style << " differs at (" << x << "," << y << "): " << Hex(drawn) << " drawn, "
                        << Hex(expected.At(x, y)) << " kept";
      }
    if (differing) {
      const std::wstring actual = path.substr(0, path.size() - 4) + L".actual.png";
      WriteBytes(actual, EncodeImage(ImageFormat::Png, w, height, argb));
      ADD_FAILURE() << "style " << style << ": " << differing << " pixels differ; what was drawn is in "
                    << Utf8FromWide(actual);
    }
  }
}

}  // namespace
}  // namespace tessel::test::frames
