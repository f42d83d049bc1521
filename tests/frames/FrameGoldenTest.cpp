// The gallery's frames pixel for pixel against tests/frames/golden, one image per style.
#include "gallery/FrameSamples.h"
#include "tests/frames/FrameFixture.h"
#include "tests/support/KeptImage.h"

namespace tessel::test::frames {
namespace {

TEST_F(FrameTest, EveryStyleLooksAsItsGoldenImage) {
  auto samples = gallery::OpenFrameSamples(L"Golden", &types_, gallery::SampleContents::FramesOnly);
  ASSERT_TRUE(samples->LoadFailures().empty());
  // The frames' size in twips, in pixels of the screen's resolution.
  const int w = PixelsFromTwipsX(gallery::kFrameSampleWidth * 15), h = PixelsFromTwipsY(gallery::kFrameSampleHeight * 15);
  const int gap = gallery::kFrameSampleGap, rows = static_cast<int>(gallery::FrameSampleRows().size());
  for (int style = 0; style < gallery::kFrameSampleStyles; ++style) {
    Sheet sheet(w, rows * h + (rows - 1) * gap, 0x808080);  // grey between the looks
    for (int row = 0; row < rows; ++row)
      sheet.Paste(*Image(*static_cast<TzFrames*>(samples->Control(gallery::FrameSampleName(style, row)))), 0,
                  row * (h + gap), w, h);
    WriteOrExpectKeptImage(KeptImageFolder(std::string("Z:") + TESSEL_FRAME_GOLDEN_DIR) + "/style" +
                               std::to_string(style) + ".png", sheet);
  }
}

}  // namespace
}  // namespace tessel::test::frames
