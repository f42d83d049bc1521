#include "server/contract/WrappedText.h"

#include "tests/support/Prelude.h"

#include "server/contract/Gdi.h"
#include "tests/support/Pixels.h"

namespace tessel {
namespace {

using test::Canvas;

class WrappedTextTest : public ::testing::Test {
 protected:
  void Draw(Canvas& canvas, std::wstring_view text, int w) {
    SelectObject(canvas.dc(), font_.get());
    SetBkMode(canvas.dc(), TRANSPARENT);
    RECT r{0, 0, w, canvas.height()};
    DrawTextW(canvas.dc(), text.data(), static_cast<int>(text.size()), &r, DT_WORDBREAK | DT_CENTER);
  }
  unique_hfont font_{CreateFontW(-11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma")};
};

TEST_F(WrappedTextTest, AShortTextIsMeasuredWholeALongOneAsFarAsItCanBeSeen) {
  Canvas canvas(100, 40, RGB(255, 255, 255));
  SelectObject(canvas.dc(), font_.get());
  const RECT box{0, 0, 100, 40};
  WrappedText whole = MeasureWrappedText(canvas.dc(), L"Gravar\r\nos dados", box, DT_WORDBREAK, 40);
  EXPECT_EQ(whole.length, 16u);
  RECT expected = box;
  DrawTextW(canvas.dc(), L"Gravar\r\nos dados", 16, &expected, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_TRUE(EqualRect(&whole.rect, &expected));

  std::wstring words;
  while (words.size() < 1000000) words += L"muitas palavras ";
  const WrappedText start = MeasureWrappedText(canvas.dc(), words, box, DT_WORDBREAK, 40);
  TEXTMETRICW tm{};
  GetTextMetricsW(canvas.dc(), &tm);
  EXPECT_GE(start.rect.bottom, 40 + 2 * tm.tmHeight) << "reaches two lines past what can be seen";
  EXPECT_LT(start.length, 8192u) << "doubled from 2048 no further than needed";
}

// What a rectangle shows of a long text is what it shows of the start handed to the system.
TEST_F(WrappedTextTest, TheStartShowsTheSamePixelsAsTheWholeText) {
  std::wstring words;
  for (int i = 0; words.size() < 30000; ++i) words += (i % 7 ? L"palavra " : L"e\r\noutra ") + std::to_wstring(i) + L" ";
  for (const int width : {60, 140}) {
    Canvas whole(width, 50, RGB(255, 255, 255)), start(width, 50, RGB(255, 255, 255));
    SelectObject(start.dc(), font_.get());
    const WrappedText shown = MeasureWrappedText(start.dc(), words, RECT{0, 0, width, 50}, DT_WORDBREAK, 50);
    ASSERT_LT(shown.length, words.size());
    Draw(whole, words, width);
    Draw(start, std::wstring_view(words).substr(0, shown.length), width);
    EXPECT_EQ(test::DifferentPixels(whole, start), 0) << width;
  }
}

TEST(WrappedStart, NeverSplitsASurrogatePairOrALineBreak) {
  const std::wstring text = L"ab\r\ncd\U0001F600ef";
  const struct { size_t want, got; } cases[] = {{0, 0}, {2, 2}, {3, 2}, {4, 4}, {6, 6}, {7, 6}, {8, 8}, {99, text.size()}};
  for (const auto& c : cases) EXPECT_EQ(WrappedStart(text, c.want), c.got) << c.want;
}

}  // namespace
}  // namespace tessel
