// What the kept images cannot show: caption fitting, gradients, the panel's region, GDI objects.
#include "tests/support/Prelude.h"

#include "frames/FrameCaption.h"
#include "frames/FramePrimitives.h"
#include "tests/frames/FrameFixture.h"
#include "tests/support/GdiCount.h"
#include "tests/support/Leaks.h"

namespace tessel::test::frames {
namespace {

// A caption's cut is the character-by-character one at every width; a million characters are
// measured a few dozen times, on their start.
TEST(FramePrimitives, TheCutIsTheCharacterByCharacterOneMeasuredLogarithmicallyOften) {
  int calls = 0;
  size_t longest = 0;
  const TextMeasure uneven = [&](std::wstring_view t) {
    ++calls;
    longest = std::max(longest, t.size());
    int w = 0;
    for (wchar_t c : t) w += c == L'.' ? 3 : c == L'i' ? 2 : c == L'W' ? 11 : 7;
    return w;
  };
  const auto characterByCharacter = [&](std::wstring_view text, int width) {
    std::wstring s(text);
    if (uneven(s) <= width) return s;
    while (!s.empty() && uneven(s + L"...") > width) s.pop_back();
    return s.empty() ? s : s + L"...";
  };
  for (const wchar_t* text : {L"", L"i", L"Wi", L"Dados do cliente", L"WWWiiiWWWiii.W", L"iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiW"})
    for (int width = -2; width <= 7 * 40; ++width)
      EXPECT_EQ(FitCaption(text, width, uneven), characterByCharacter(text, width)) << width;

  const std::wstring million(1000000, L'W');
  calls = 0;
  longest = 0;
  EXPECT_EQ(FitCaption(million, 200, uneven), std::wstring(17, L'W') + L"...");  // 17 x 11 + 9 = 196
  EXPECT_LE(calls, 14) << "the whole text once, then starts up to twice the cut";
  EXPECT_EQ(longest, million.size());
  calls = 0;
  longest = 0;
  FitCaption(million, 200, [&](std::wstring_view t) { return t.size() == million.size() ? 1 << 30 : uneven(t); });
  EXPECT_LE(longest, 32u + 3) << "no start longer than twice the cut is measured";
}

// A gradient of up to 2^31 rows draws only the rows the image has: row k of n is k / n of the way.
TEST(FramePrimitives, AGradientDrawsOnlyTheRowsTheImageHas) {
  // {rows, first drawn row, last}: rows 10 and 49 of 50; a longer gradient's first 50 rows stay black.
  for (const auto& [rows, first, last] : {std::tuple{50, RGB(50, 0, 0), RGB(245, 0, 0)},
                                          {1 << 24, RGB(0, 0, 0), RGB(0, 0, 0)}, {INT32_MAX, RGB(0, 0, 0), RGB(0, 0, 0)}}) {
    SCOPED_TRACE(rows);
    Canvas canvas(8, 40, RGB(1, 1, 1));
    LinearGradient(canvas.dc(), RGB(0, 0, 0), RGB(250, 0, 0), 0, -10, 8, rows, true);
    EXPECT_EQ(std::make_tuple(Hex(canvas.At(0, 0)), Hex(canvas.At(0, 39)), Hex(canvas.At(0, 40))),
              std::make_tuple(Hex(first), Hex(last), Hex(0xFFFFFFFF)));
  }
}

LRESULT CALLBACK CountPositionChanges(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR count) {
  if (m == WM_WINDOWPOSCHANGED) ++*reinterpret_cast<int*>(count);
  return DefSubclassProc(h, m, w, l);
}

TEST_F(FrameTest, ThePanelClipsTheWindowToARoundedRectangleSetOnlyWhenItsSizeOrCornersChange) {
  TzFrames& f = AddFrame(L"fra");  // the panel's corner pixels stand in the kept images
  // Each SetWindowRgn tells the window its position changed; the region is read back.
  int sets = 0;
  SetWindowSubclass(f.hWnd(), &CountPositionChanges, 1, reinterpret_cast<DWORD_PTR>(&sets));
  const auto region = [&]() -> std::array<int, 4> {  // (0,0) and (4,4) inside; right and bottom
    unique_hrgn r(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (GetWindowRgn(f.hWnd(), r.get()) == ERROR || !GetRgnBox(r.get(), &box)) return {};
    return {!!PtInRegion(r.get(), 0, 0), !!PtInRegion(r.get(), 4, 4), int(box.right), int(box.bottom)};
  };
  // A rounded region leaves the right column and bottom row out, corners or not. A change sets the
  // panel's new region once; leaving the panel sets the whole rectangle.
  using Step = std::tuple<const char*, std::function<void()>, int, std::array<int, 4>>;
  const std::vector<Step> steps{
      {"a redraw of a new frame, which shows all of its window", [&] { f.SetFillColor(RGB(3, 2, 1)); }, 0, {}},
      {"the panel", [&] { f.SetStyle(8); }, 1, {0, 1, 199, 119}},
      {"a redraw of the same panel", [&] { f.SetFillColor(RGB(1, 2, 3)); }, 0, {0, 1, 199, 119}},
      {"square corners", [&] { f.SetRoundedCorner(false); }, 1, {1, 1, 199, 119}},
      {"round again", [&] { f.SetRoundedCorner(true); }, 1, {0, 1, 199, 119}},
      {"a new size", [&] { form_->Site(L"fra")->Move(0, 0, TwipsFromPixelsX(150), TwipsFromPixelsY(100)); }, -1,
       {0, 1, 149, 99}},
      {"another style", [&] { f.SetStyle(1); }, 1, {1, 1, 150, 100}},
      {"a redraw of that style", [&] { f.SetStyle(2); }, 0, {1, 1, 150, 100}},
  };
  for (const auto& [name, step, times, after] : steps) {
    sets = 0;
    step();
    EXPECT_TRUE(times < 0 || sets == times) << name << ": the region was set " << sets << " times";
    EXPECT_EQ(region(), after) << name;
  }
  RemoveWindowSubclass(f.hWnd(), &CountPositionChanges, 1);
}

// Every style's edge writes and flat rounds: the frame gives back every object, the first time too.
TEST_F(FrameTest, AFrameThroughEveryStyleAndEdgeWriteStaysFlatAndLeavesNoObjectTheFirstTime) {
  // Wine's cache of window DCs keeps for the process a second DC made the first time the form and a
  // control paint in one pass (here the panel's SetWindowRgn would be it): one such pass comes first.
  AddFrame(L"first");
  RedrawWindow(form_->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  form_->Remove(L"first");
  Form::PumpMessages();
  const unsigned before = GdiObjectCount();
  TzFrames& f = AddFrame(L"fra");
  f.SetPicture(Picture::FromIcon(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)))));
  for (int32_t style = 1; style <= 8; ++style) {
    f.SetStyle(style);
    f.SetRoundedCorner(true);
    f.SetRoundedCornerTxtBox(true);
    f.SetCaption(L"Endere\u00E7o de entrega");
    for (const int32_t edge : {INT_MIN, INT_MAX, 0, -1, 22}) f.SetTextBoxHeight(edge);
    for (const int edge : {INT16_MIN, INT16_MAX, 0, -1, 16}) f.SetIconSize(static_cast<int16_t>(edge));
    f.SetCaption(L"");
  }
  // An icon too large to place is left out, and the host told so.
  for (const std::wstring& call : std::exchange(host_.calls, {}))
    EXPECT_EQ(call, L"SkippedStep(fra|DrawIcon|icon position overflows 16 bits)");
  f.SetCaption(L"Endere\u00E7o de entrega");
  ExpectNoLeaks([&] {  // 36 rounds meet every style with every gradient kind; the benchmark counts 10,000
    for (int i = 0; i < 36; ++i) {
      f.SetStyle(i % 9);
      f.SetGradientHeaderStyle(i % 4);
      f.SetEnabled(i % 3 != 0);
      form_->Site(L"fra")->Move(0, 0, TwipsFromPixelsX(150 + i % 50), TwipsFromPixelsY(100 + i % 30));
    }
  });
  form_->Remove(L"fra");
  Form::PumpMessages();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
}  // namespace tessel::test::frames
