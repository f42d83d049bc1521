// The link panel: the link's looks, hover timer, clicks and cursor; layout and pixels; storing; objects.
#include "host/EmbeddedControl.h"
#include "inputs/LinkCursor.h"
#include "tests/inputs/TextInputHarness.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Keys.h"

namespace tessel::test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBand = RGB(0xF1, 0xF1, 0xF1), kOutline = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGrey = RGB(0x80, 0x80, 0x80);

class KvFundoTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    SetCursorPos(1279, 1023);  // the real pointer stays away: only the test's messages reach the panel
    panel = &Add<KvFundo>(L"KvFundo", L"Panel", 0, 0, 6000, 4500);
    host_.cursor = ScreenOf(200, 150);  // the middle of the panel
  }
  POINT ScreenOf(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(panel->hWnd(), &p);
    return p;
  }
  // A mouse message to the panel's background, over the middle of the link unless given a point.
  void Send(UINT message, LPARAM at = 0) {
    const RECT r = panel->Link().BoundsPixels();
    SendMessageW(panel->Background().hWnd(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                 at ? at : MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  }
  void Hover() { Send(WM_MOUSEMOVE); }
  void Press() { Send(WM_LBUTTONDOWN); }
  void Release(LPARAM at = 0) { Send(WM_LBUTTONUP, at); }
  // The cursor goes to a point of the panel's client area; true once the hover timer has stopped.
  bool CursorTo(int x, int y, int ms = 200) {
    host_.cursor = ScreenOf(x, y);
    return PumpUntil([&] { return !panel->HoverTimer().Running(); }, ms);
  }
  bool Underlined() const { return panel->Link().Font()->Describe().underline; }
  // The longest run of one colour along a row of the link: an underline spans the whole text.
  int WidestRun(COLORREF color) const {
    DibProbe probe = Shot();
    const RECT r = panel->Link().BoundsPixels();  // the panel and its background stand at the form's origin
    int best = 0;
    for (int y = r.top; y < r.bottom; ++y) best = std::max(best, probe.Count(RECT{r.left, y, r.right, y + 1}, color));
    return best;
  }

  KvFundo* panel = nullptr;
};

TEST_F(KvFundoTest, HoverPressAndReleaseWalkTheLinkThroughItsLooksAndLeavingThePanelEndsTheHover) {
  const int width = panel->Link().BoundsPixels().right - panel->Link().BoundsPixels().left;
  struct Look { const char* step; std::function<void()> act; int state; COLORREF color; bool underlined; };
  for (bool underline : {true, false}) {
    SCOPED_TRACE(underline ? "HoverUnderline" : "no HoverUnderline");
    panel->SetHoverUnderline(underline);
    for (const Look& l : {Look{"hovered", [&] { Hover(); }, KvFundo::kHot, kRed, underline},
                          Look{"pressed", [&] { Press(); }, KvFundo::kDown, kBlue, underline},
                          Look{"released", [&] { Release(); }, KvFundo::kNormal, kGrey, false}}) {
      l.act();
      EXPECT_EQ(panel->State(), l.state) << l.step;
      EXPECT_EQ(Underlined(), l.underlined) << l.step;
      const int run = WidestRun(l.color);
      EXPECT_GT(run, 0) << l.step;
      EXPECT_EQ(run >= width - 2, l.underlined) << l.step << ": the underline spans the text";
    }
  }
  // Colour writes show at once in the current look only; so does the underline.
  Hover();
  panel->SetColorHot(0x00FF00);
  panel->SetColorNormal(0x123456);
  EXPECT_EQ(panel->Link().ForeColor(), 0x00FF00u);
  Press();
  panel->SetHoverUnderline(true);
  EXPECT_TRUE(Underlined());
  panel->SetColorDown(0x654321);
  EXPECT_EQ(panel->Link().ForeColor(), 0x654321u);
  Release();
  EXPECT_EQ(panel->Link().ForeColor(), 0x123456u);
  // {x, y, over the panel}: the bottom right corner too; only beyond Width or Height is out.
  for (auto [x, y, over] : {std::tuple{20, 20, true}, {400, 300, true}, {401, 150, false}, {200, -1, false},
                            {-1, 150, false}, {200, 301, false}}) {
    Hover();
    EXPECT_EQ(CursorTo(x, y, over ? 120 : 150), !over) << x << "," << y << ": the hover timer stopped";
    EXPECT_EQ(panel->State(), over ? KvFundo::kHot : KvFundo::kNormal) << x << "," << y;
    EXPECT_EQ(Underlined(), over) << x << "," << y;
    host_.cursor = ScreenOf(200, 150);
  }
  // A pressed link stays pressed off the panel; a release away from the link, or a background press, is no click.
  host_.calls.clear();
  Hover();
  Press();
  EXPECT_TRUE(CursorTo(-50, -50));
  EXPECT_EQ(panel->State(), KvFundo::kDown);
  Release(MAKELPARAM(-30, -30));
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
  Send(WM_LBUTTONDOWN, MAKELPARAM(20, 20));
  Release(MAKELPARAM(20, 20));
  EXPECT_THAT(host_.calls, IsEmpty());
}

TEST_F(KvFundoTest, AClickOpensTheAddressOrRaisesClickAsClickResponseSays) {
  std::vector<std::wstring> seen;
  panel->events.Click = [&] { seen.push_back(L"Click"); };
  panel->events.OpeningURL = [&](std::wstring& url) { seen.push_back(L"OpeningURL(" + url + L")"); };
  // One click: what it raised and asked of the shell, and the URL it leaves, in one line.
  const auto click = [&] {
    seen.clear();
    host_.calls.clear();
    Hover(), Press(), Release();
    for (const std::wstring& call : host_.calls) seen.push_back(call);
    EXPECT_EQ(panel->State(), KvFundo::kNormal);
    EXPECT_EQ(panel->HoverTimer().Running(), form_->UserMode());
    CursorTo(-50, -50);
    host_.cursor = ScreenOf(200, 150);
    std::wstring line;
    for (const std::wstring& s : seen) line += s + L" ";
    return line + L"| " + panel->URL();
  };
  const std::wstring address = L"https://tesselocx.example/";
  const std::wstring opened = L"OpeningURL(" + address + L") ShellExecute(desktop|open|" + address + L"|||1) | " + address;
  // {shell's answer, ClickResponse, run time, what one click of a link with an empty URL gives}.
  struct Case { int shell; int32_t response; bool run; std::wstring line; const char* why; };
  for (const Case& c : {Case{42, 0, true, opened, "an empty URL opens the link text and keeps the copy"},
                        Case{2, 0, true, opened, "a failing shell changes nothing"},
                        Case{42, 1, true, L"Click | ", "ClickResponse 1 raises Click"},
                        Case{42, 2, true, opened, "ClickResponse 2 opens"},
                        Case{42, 0, false, L"| ", "at design time the link neither lights up nor opens"}}) {
    host_.shellResult = c.shell;
    panel->SetClickResponse(c.response);
    form_->SetUserMode(c.run);
    panel->SetURL(L"");
    EXPECT_EQ(click(), c.line) << c.why;
  }
  form_->SetUserMode(true);
  // OpeningURL sees the address before the shell does, and what it leaves is opened and kept.
  panel->SetURL(L"http://first.example/");
  std::wstring rewritten = L"http://rewritten.example/x?y=1";
  panel->events.OpeningURL = [&](std::wstring& url) {
    seen.push_back(L"OpeningURL(" + url + L") first:" + std::to_wstring(host_.calls.empty()));
    url = rewritten;
  };
  EXPECT_EQ(click(), L"OpeningURL(http://first.example/) first:1 ShellExecute(desktop|open|http://rewritten.example/x?y=1|||1) "
                     L"| http://rewritten.example/x?y=1");
  // An address the ANSI code page cannot hold reaches the shell whole, through the wide call.
  rewritten = L"https://\u4F8B\u3048.example/\u30DA\u30FC\u30B8?q=\u03A9\U0001F600";
  EXPECT_EQ(click(), L"OpeningURL(http://rewritten.example/x?y=1) first:1 ShellExecuteWide(desktop|open|" +
                         rewritten + L"|||1) | " + rewritten);
}

// Tab reaches the panel as the stop for its link, Enter and Space do what a click does, and the
// keyboard's focus shows as a dotted rectangle one pixel around the link; a click on the link leaves
// the focus where it was.
TEST_F(KvFundoTest, TheKeyboardReachesTheLinkAndEnterOrSpaceDoesWhatAClickDoes) {
  auto& field = Add<KvTextBox>(L"KvTextBox", L"Field", 300, 1500, 1500, 375);
  std::vector<std::wstring> seen;
  panel->events.Click = [&] { seen.push_back(L"Click"); };
  // The dark pixels of the row above the link, where the rectangle's top edge stands.
  const auto edge = [&] {
    const RECT r = panel->Link().BoundsPixels();
    return Shot().Count(RECT{r.left - 1, r.top - 1, r.right + 1, r.top}, RGB(0, 0, 0));
  };
  SetFocus(field.Texto().Window());
  host_.calls.clear();
  Hover(), Press(), Release();
  EXPECT_EQ(GetFocus(), field.Texto().Window()) << "a click on the link";
  CursorTo(-50, -50);
  EXPECT_EQ(edge(), 0);
  PressKey(VK_TAB);
  ASSERT_EQ(GetFocus(), panel->hWnd());
  const int width = panel->Link().BoundsPixels().right - panel->Link().BoundsPixels().left + 2;
  EXPECT_TRUE(panel->FocusCue().Visible());
  EXPECT_GT(edge(), width / 3) << "dots along the edge";
  EXPECT_LT(edge(), width * 2 / 3) << "dots, not a line";
  PressKey(VK_RETURN);
  panel->SetClickResponse(KvFundo::kClickRaisesEvent);
  PressKey(VK_SPACE);
  const std::wstring address = L"https://tesselocx.example/";
  EXPECT_EQ(host_.calls, (std::vector<std::wstring>{L"ShellExecute(desktop|open|" + address + L"|||1)",
                                                     L"ShellExecute(desktop|open|" + address + L"|||1)"}));
  EXPECT_EQ(seen, std::vector<std::wstring>{L"Click"});
  PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), field.Texto().Window());
  EXPECT_FALSE(panel->FocusCue().Visible());
  EXPECT_EQ(edge(), 0);
}

TEST_F(KvFundoTest, ThePointerOverTheLinkIsA32PixelHandWithItsHotSpotAtTheFingertip) {
  PictureRef cursor = LinkCursorPicture();
  ASSERT_TRUE(cursor && cursor->Kind() == PictureKind::Cursor);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(cursor->Handle()), &info));
  unique_hbitmap mask(info.hbmMask), color(info.hbmColor);
  EXPECT_EQ(std::vector<long>({info.fIcon, static_cast<long>(info.xHotspot), static_cast<long>(info.yHotspot),
                               cursor->SizePixels().cx}),
            std::vector<long>({0, 6, 0, 32}));
  // Drawn over grey: the fingertip outline is black, its inside white, the corner untouched.
  Canvas canvas(32, 32, kGrey);
  DrawIconEx(canvas.dc(), 0, 0, static_cast<HICON>(cursor->Handle()), 32, 32, 0, nullptr, DI_NORMAL);
  ExpectPixels(canvas, {{6, 0, RGB(0, 0, 0)}, {6, 2, kWhite}, {30, 30, kGrey}});
  // The link shows it; the surface's pointer tests show how a pointer 99 with an icon is answered.
  EXPECT_EQ(panel->Link().MousePointer(), 99);
  ASSERT_TRUE(panel->Link().MouseIcon());
  EXPECT_EQ(panel->Link().MouseIcon()->Bytes(), cursor->Bytes());
}

TEST_F(KvFundoTest, BandsShowTheirOutlineTheRuleIsEtchedTheLogoClippedOrStretchedAndLayoutFollowsEveryResize) {
  // Header: 1005 twips from -15 is 67 pixels from -1: the lower outline on row 65. Footer: top at
  // 4500 - 345 twips, row 277. The rule: row 47, from 1920 twips (column 128) to the right edge.
  const COLORREF highlight = GetSysColor(COLOR_3DHIGHLIGHT);
  ExpectPixels(Shot(), {{200, 0, kBand}, {0, 30, kBand}, {399, 30, kBand}, {100, 64, kBand}, {100, 65, kOutline},
                        {100, 66, kWhite}, {200, 276, kWhite}, {200, 277, kOutline}, {395, 278, kBand}, {399, 299, kBand},
                        {130, 47, kOutline}, {398, 47, kOutline}, {130, 48, highlight}, {126, 47, kBand}});
  // A 100 x 100 picture, green on its left half and red on its right, in the 975-twip (65-pixel)
  // square from column 24: clipped at its own size, or scaled into it when stretched.
  std::vector<uint32_t> pixels(100 * 100);
  for (int i = 0; i < 100 * 100; ++i) pixels[static_cast<size_t>(i)] = (i % 100) < 50 ? 0xFF00A000 : 0xFFE00000;
  panel->SetPicture(Picture::FromBytes(EncodeImage(ImageFormat::Bmp, 100, 100, pixels)));
  const COLORREF green = RGB(0, 0xA0, 0), red = RGB(0xE0, 0, 0);
  ExpectPixels(Shot(), {{24, 10, green}, {73, 10, green}, {74, 10, red}, {88, 64, red}, {89, 10, kBand}, {30, 65, kOutline}});
  panel->SetStretch(true);  // the logo's bounds stay, as the resizes below check
  ExpectPixels(Shot(), {{54, 10, green}, {59, 10, red}, {89, 10, kBand}});
  // {width, height, rule width}: below 1920 twips the rule keeps its last width, and the rest is laid out.
  struct Size { int w, h, rule; };
  for (auto [w, h, rule] : {Size{6000, 4500, 4080}, Size{2400, 1800, 480}, Size{1500, 2000, 480}, Size{1920, 2000, 0}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    form_->Site(L"Panel")->Move(0, 0, w, h);
    ASSERT_NE(panel->Rule(), nullptr);
    EXPECT_EQ(Bounds(panel->Background()), (std::vector<int>{0, 0, w, h}));
    EXPECT_EQ(Bounds(panel->Header()), (std::vector<int>{-15, -15, w + 30, 1005}));
    EXPECT_EQ(Bounds(panel->Footer()), (std::vector<int>{-15, h - 345, w + 30, 360}));
    EXPECT_EQ(Bounds(panel->Logo()), (std::vector<int>{360, 0, 975, 975}));
    EXPECT_EQ(Bounds(*panel->Rule()), (std::vector<int>{1920, 700, rule, 30}));
    EXPECT_EQ(std::vector<int>({panel->Link().Left(), panel->Link().Top(), panel->Title().Left(), panel->Title().Top()}),
              std::vector<int>({120, h - 345 + 60, 1935, 405}));
  }
}

TEST_F(KvFundoTest, ANewPanelStoresOnlyItsEmptyUrlAndEachWriteNamesItsKey) {
  PropertyBag bag = Written(*panel);
  ASSERT_THAT(Keys(bag), ElementsAre(L"URL"));
  EXPECT_EQ(Load<KvFundo>(L"KvFundo", L"Copy", bag, 6000, 4500)->URL(), L"") << "not replaced by the default";
  // A stored panel takes the defaults of the keys it lacks and shows a stored colour at once.
  PropertyBag stored;
  stored.Write(L"ColorNormal", static_cast<int32_t>(kSysWindowText));
  KvFundo& loaded = *Load<KvFundo>(L"KvFundo", L"Loaded", stored, 6000, 4500);
  EXPECT_EQ(loaded.URL() + L"|" + loaded.Caption() + L"|" + loaded.CaptionTitulo(),
            L"https://tesselocx.example/|https://tesselocx.example/|T\u00EDtulo");
  EXPECT_EQ(std::vector<OleColor>({loaded.BackColor(), loaded.ColorHot(), loaded.ColorDown(), loaded.Link().ForeColor()}),
            std::vector<OleColor>({0xF1F1F1, 0x0000FF, 0xFF0000, kSysWindowText}));
  EXPECT_TRUE(loaded.HoverUnderline());

  KvFundo& p = *panel;
  ExpectEachWriteNamesItsKey<KvFundo>({[&] { p.SetCaption(L"a"); }, [&] { p.SetCaptionTitulo(L"b"); },
      [&] { p.SetURL(L"c"); }, [&] { p.SetClickResponse(1); }, [&] { p.SetBackColor(0); },
      [&] { p.SetToolTipText2(L"d"); }, [&] { p.SetColorNormal(1); }, [&] { p.SetColorHot(2); },
      [&] { p.SetColorDown(3); }, [&] { p.SetFont(Font::Create(FontDesc{})); }, [&] { p.SetHoverUnderline(false); },
      [&] { p.SetStretch(true); }, [&] { p.SetPicture(nullptr); }});
}

}  // namespace
}  // namespace tessel::test
