// The link panel: the link's looks, hover timer, clicks and cursor; the layout, bands and logo in
// pixels; what a new panel stores; and the objects a hovered panel gives back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "decor/KvLinha.h"
#include "host/EmbeddedControl.h"
#include "inputs/KvFundo.h"
#include "inputs/LinkCursor.h"
#include "server/contract/Twips.h"
#include "tests/inputs/TextInputHarness.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Leaks.h"
#include "tests/support/Pixels.h"

namespace tessel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr COLORREF kWhite = RGB(255, 255, 255), kBand = RGB(0xF1, 0xF1, 0xF1), kOutline = RGB(0xC0, 0xC0, 0xC0);

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
  HWND Background() const { return panel->Background().hWnd(); }
  LPARAM OnLink() const {
    const RECT r = panel->Link().BoundsPixels();
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void Hover() { SendMessageW(Background(), WM_MOUSEMOVE, 0, OnLink()); }
  void Press() { SendMessageW(Background(), WM_LBUTTONDOWN, MK_LBUTTON, OnLink()); }
  void Release(LPARAM at = 0) { SendMessageW(Background(), WM_LBUTTONUP, 0, at ? at : OnLink()); }
  void ClickLink() { Hover(), Press(), Release(); }
  bool Underlined() const { return panel->Link().Font()->Describe().underline; }
  DibProbe Shot() const { return DibProbe(form_->Snapshot().get()); }
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

TEST_F(KvFundoTest, HoverPressAndReleaseWalkTheLinkThroughItsThreeLooks) {
  const int width = panel->Link().BoundsPixels().right - panel->Link().BoundsPixels().left;
  struct Look { const char* step; std::function<void()> act; int state; COLORREF color; bool underlined; };
  for (bool underline : {true, false}) {
    SCOPED_TRACE(underline ? "HoverUnderline" : "no HoverUnderline");
    panel->SetHoverUnderline(underline);
    for (const Look& l : {Look{"at rest", [] {}, KvFundo::kNormal, RGB(0x80, 0x80, 0x80), false},
                          Look{"hovered", [&] { Hover(); }, KvFundo::kHot, RGB(255, 0, 0), underline},
                          Look{"pressed", [&] { Press(); }, KvFundo::kDown, RGB(0, 0, 255), underline},
                          Look{"released", [&] { Release(); }, KvFundo::kNormal, RGB(0x80, 0x80, 0x80), false}}) {
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
}

TEST_F(KvFundoTest, TheLinkStaysHotOverThePanelAndTurnsNormalWithinOneTickOfLeavingItUnlessPressed) {
  Hover();
  // Anywhere over the panel keeps it hot, the bottom right corner too: only beyond Width or Height is out.
  for (POINT in : {POINT{20, 20}, POINT{400, 300}}) {
    host_.cursor = ScreenOf(in.x, in.y);
    Pump(120);
    EXPECT_EQ(panel->State(), KvFundo::kHot);
    EXPECT_TRUE(panel->HoverTimer().Running());
  }
  for (POINT out : {POINT{401, 150}, POINT{200, -1}, POINT{-1, 150}, POINT{200, 301}}) {
    Hover();
    host_.cursor = ScreenOf(out.x, out.y);
    EXPECT_TRUE(PumpUntil([&] { return panel->State() == KvFundo::kNormal; }, 150)) << out.x << "," << out.y;
    EXPECT_FALSE(Underlined());
    EXPECT_FALSE(panel->HoverTimer().Running());
    host_.cursor = ScreenOf(200, 150);
  }
  // A pressed link stays pressed once the cursor leaves; the release comes through the capture
  // wherever the pointer is, and away from the link it is no click, nor is a press of the background.
  Hover();
  Press();
  host_.cursor = ScreenOf(-50, -50);
  EXPECT_TRUE(PumpUntil([&] { return !panel->HoverTimer().Running(); }, 200));
  EXPECT_EQ(panel->State(), KvFundo::kDown);
  Release(MAKELPARAM(-30, -30));
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
  SendMessageW(Background(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  Release(MAKELPARAM(20, 20));
  EXPECT_THAT(host_.calls, IsEmpty());
}

TEST_F(KvFundoTest, AClickOpensTheAddressOrRaisesClickAsClickResponseSays) {
  struct Case {
    const char* name;
    std::function<void()> setUp;
    std::vector<std::wstring> events, shell;
    std::wstring urlAfter;
  };
  std::vector<std::wstring> events;
  const std::wstring openDefault = L"ShellExecute(desktop|open|https://tesselocx.example/|||1)";
  const Case cases[] = {
      {"an empty URL opens the link text and keeps the copy", [] {}, {L"OpeningURL(https://tesselocx.example/)"},
       {openDefault}, KvFundo::kDefaultAddress},
      {"OpeningURL rewrites what is opened and kept",
       [&] {
         panel->SetURL(L"http://first.example/");
         panel->events.OpeningURL = [&](std::wstring& url) {
           events.push_back(L"OpeningURL(" + url + L") before the shell: " + std::to_wstring(host_.calls.empty()));
           url = L"http://rewritten.example/x?y=1";
         };
       },
       {L"OpeningURL(http://first.example/) before the shell: 1"}, {L"ShellExecute(desktop|open|http://rewritten.example/x?y=1|||1)"}, L"http://rewritten.example/x?y=1"},
      {"a failing shell changes nothing", [&] { host_.shellResult = 2; }, {L"OpeningURL(https://tesselocx.example/)"},
       {openDefault}, KvFundo::kDefaultAddress},
      {"ClickResponse 1 raises Click and opens nothing", [&] { panel->SetClickResponse(1); }, {L"Click"}, {}, L""},
      {"any other ClickResponse opens", [&] { panel->SetClickResponse(2); },
       {L"OpeningURL(https://tesselocx.example/)"}, {openDefault}, KvFundo::kDefaultAddress},
      {"at design time the link neither lights up nor opens", [&] { form_->SetUserMode(false); }, {}, {}, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel->SetURL(L"");
    panel->SetClickResponse(0);
    events.clear();
    panel->events.Click = [&] { events.push_back(L"Click"); };
    panel->events.OpeningURL = [&](std::wstring& url) { events.push_back(L"OpeningURL(" + url + L")"); };
    host_.calls.clear();
    c.setUp();
    ClickLink();
    EXPECT_EQ(events, c.events);
    EXPECT_EQ(host_.calls, c.shell);
    EXPECT_EQ(panel->URL(), c.urlAfter);
    EXPECT_EQ(panel->State(), KvFundo::kNormal);
    EXPECT_EQ(panel->HoverTimer().Running(), form_->UserMode());
    form_->SetUserMode(true);
    host_.cursor = ScreenOf(-50, -50);  // the hover timer puts the link back to normal
    PumpUntil([&] { return !panel->HoverTimer().Running(); }, 200);
    host_.cursor = ScreenOf(200, 150);
    host_.shellResult = 42;
  }
}

TEST_F(KvFundoTest, ThePointerOverTheLinkIsA32PixelHand) {
  PictureRef cursor = LinkCursorPicture();
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->Kind(), PictureKind::Cursor);
  EXPECT_EQ(cursor->SizePixels().cx, 32);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(cursor->Handle()), &info));
  unique_hbitmap mask(info.hbmMask), color(info.hbmColor);
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 6u);
  EXPECT_EQ(info.yHotspot, 0u);
  // Drawn over grey: the fingertip outline is black, its inside white, the corner untouched.
  Canvas canvas(32, 32, RGB(128, 128, 128));
  DrawIconEx(canvas.dc(), 0, 0, static_cast<HICON>(cursor->Handle()), 32, 32, 0, nullptr, DI_NORMAL);
  ExpectPixels(canvas, {{6, 0, RGB(0, 0, 0)}, {6, 2, kWhite}, {30, 30, RGB(128, 128, 128)}});

  // The link shows it; the surface's pointer tests show how a pointer 99 with an icon is answered.
  EXPECT_EQ(panel->Link().MousePointer(), 99);
  ASSERT_TRUE(panel->Link().MouseIcon());
  EXPECT_EQ(panel->Link().MouseIcon()->Bytes(), cursor->Bytes());
}

TEST_F(KvFundoTest, LayoutFollowsEveryResizeAndANarrowPanelSkipsOnlyTheRule) {
  // {width, height, rule width}: below 1920 twips the rule keeps its last width, and the rest is laid out.
  struct Size { int w, h, rule; };
  for (auto [w, h, rule] : {Size{6000, 4500, 4080}, Size{2400, 1800, 480}, Size{1500, 2000, 480}, Size{1920, 2000, 0}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    form_->Site(L"Panel")->Move(0, 0, w, h);
    EXPECT_EQ(Bounds(panel->Background()), (std::vector<int>{0, 0, w, h}));
    EXPECT_EQ(Bounds(panel->Header()), (std::vector<int>{-15, -15, w + 30, 1005}));
    EXPECT_EQ(Bounds(panel->Footer()), (std::vector<int>{-15, h - 345, w + 30, 360}));
    EXPECT_EQ(std::vector<int>({panel->Link().Left(), panel->Link().Top(), panel->Title().Left(), panel->Title().Top()}),
              std::vector<int>({120, h - 345 + 60, 1935, 405}));
    EXPECT_EQ(Bounds(panel->Logo()), (std::vector<int>{360, 0, 975, 975}));
    ASSERT_NE(panel->Rule(), nullptr);
    EXPECT_EQ(Bounds(*panel->Rule()), (std::vector<int>{1920, 700, rule, 30}));
    // The rule lays its lines out over its width, on the background's white.
    auto& linha = dynamic_cast<const KvLinha&>(*panel->Rule()->Control());
    EXPECT_EQ(linha.Line1().X2(), rule);
    EXPECT_EQ(linha.BackColor(), 0xFFFFFFu);
  }
}

TEST_F(KvFundoTest, BandsShowTheirInnerOutlineTheRuleIsEtchedAndTheLogoIsClippedOrStretched) {
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
  panel->SetStretch(true);
  EXPECT_EQ(Bounds(panel->Logo()), (std::vector<int>{360, 0, 975, 975}));
  ExpectPixels(Shot(), {{54, 10, green}, {59, 10, red}, {89, 10, kBand}});
  // A longer caption widens the link where it stands.
  const int before = panel->Link().Width();
  panel->SetCaption(L"https://tesselocx.example/a/much/longer/address");
  EXPECT_GT(panel->Link().Width(), before);
  EXPECT_EQ(panel->Link().Top(), 4500 - 345 + 60);
}

TEST_F(KvFundoTest, ANewPanelStoresOnlyItsEmptyUrlAndEachWriteNamesItsKey) {
  PropertyBag bag = Written(*panel);
  ASSERT_THAT(Keys(bag), ElementsAre(L"URL"));
  EXPECT_EQ(bag.ReadString(L"URL", L"?"), L"");
  EXPECT_EQ(Load<KvFundo>(L"KvFundo", L"Copy", bag, 6000, 4500)->URL(), L"") << "not replaced by the default";
  // A stored panel takes the defaults of the keys it lacks, the address as URL too, and shows a
  // stored colour in the link's look at once.
  PropertyBag stored;
  stored.Write(L"ColorNormal", static_cast<int32_t>(kSysWindowText));
  KvFundo& loaded = *Load<KvFundo>(L"KvFundo", L"Loaded", stored, 6000, 4500);
  EXPECT_EQ(loaded.URL() + L"|" + loaded.Caption() + L"|" + loaded.CaptionTitulo(),
            L"https://tesselocx.example/|https://tesselocx.example/|T\u00EDtulo");
  EXPECT_EQ(std::vector<OleColor>({loaded.BackColor(), loaded.ColorHot(), loaded.ColorDown(), loaded.Link().ForeColor()}),
            std::vector<OleColor>({0xF1F1F1, 0x0000FF, 0xFF0000, kSysWindowText}));
  EXPECT_TRUE(loaded.HoverUnderline());

  ExpectEachWriteNamesItsKey<KvFundo>(
      *panel, {[](KvFundo& p) { p.SetCaption(L"a"); }, [](KvFundo& p) { p.SetCaptionTitulo(L"b"); },
               [](KvFundo& p) { p.SetURL(L"c"); }, [](KvFundo& p) { p.SetClickResponse(1); },
               [](KvFundo& p) { p.SetBackColor(0); }, [](KvFundo& p) { p.SetToolTipText2(L"d"); },
               [](KvFundo& p) { p.SetColorNormal(1); }, [](KvFundo& p) { p.SetColorHot(2); },
               [](KvFundo& p) { p.SetColorDown(3); }, [](KvFundo& p) { p.SetFont(Font::Create(FontDesc{})); },
               [](KvFundo& p) { p.SetHoverUnderline(false); }, [](KvFundo& p) { p.SetStretch(true); },
               [](KvFundo& p) { p.SetPicture(nullptr); }});
}

TEST_F(KvFundoTest, DestroyingAHoveredPanelReleasesEveryObjectAndStopsItsTimer) {
  auto cycle = [&] {
    KvFundo& p = Add<KvFundo>(L"KvFundo", L"Temp", 0, 0, 5000, 3000);
    p.SetToolTipText2(L"tip");
    p.SetPicture(Picture::FromBytes(IconFile(16, RGB(1, 2, 3))));
    p.SetFont(Font::Create(FontDesc{}));
    const RECT link = p.Link().BoundsPixels();
    SendMessageW(p.Background().hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(link.left + 2, link.top + 2));
    ASSERT_TRUE(p.HoverTimer().Running());
    Pump(60);  // painted, hovered and ticking when it goes
    form_->Remove(L"Temp");
  };
  // Three rounds warm up what the process keeps once made: window classes, and the realised fonts
  // that the OLE font objects hand back to a cache which lets them go only later.
  ExpectNoLeaks(cycle, 3, 3);
}

}  // namespace
}  // namespace tessel::test
