#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "decor/KvLinha.h"
#include "host/ControlTypesLibrary.h"
#include "host/EmbeddedControl.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Twips.h"
#include "inputs/KvFundo.h"
#include "inputs/LinkCursor.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Leaks.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBand = RGB(0xF1, 0xF1, 0xF1);
constexpr COLORREF kOutline = RGB(0xC0, 0xC0, 0xC0);

// Also keeps the owner the panel hands to the shell, which the recorded line leaves out.
class ShellHost : public RecordingHost {
 public:
  INT_PTR ShellExecute(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                       const std::string& directory, int show) override {
    owners.push_back(owner);
    return RecordingHost::ShellExecute(owner, verb, file, parameters, directory, show);
  }
  std::vector<HWND> owners;
};

// Pumps for ms milliseconds and counts the ticks that reached a timer constituent's window.
int PumpCountingTimerTicks(int ms) {
  int ticks = 0;
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
  while (GetTickCount64() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER && msg.hwnd) {
        wchar_t cls[64] = {};
        GetClassNameW(msg.hwnd, cls, 64);
        if (std::wstring(cls) == L"TesselTimer") ++ticks;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return ticks;
}

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

// Pixels in one row of a rectangle that have exactly this colour.
int CountRow(const DibProbe& probe, const RECT& r, int y, COLORREF color) {
  return probe.Count(RECT{r.left, y, r.right, y + 1}, color);
}

// The longest run of one colour along any row of a rectangle: an underline spans the text.
int WidestRow(const DibProbe& probe, const RECT& r, COLORREF color) {
  int best = 0;
  for (int y = r.top; y < r.bottom; ++y) best = std::max(best, CountRow(probe, r, y, color));
  return best;
}

class KvFundoTest : public ::testing::Test {
 protected:
  // One form serves every test: taking a top-level window down costs Wine seconds.
  static void SetUpTestSuite() {
    types = new ControlTypes;
    RegisterDecorControls(*types);
    types->Register(L"KvFundo", [](ControlSite& site) -> std::unique_ptr<UserControl> {
      return std::make_unique<KvFundo>(site);
    });
    sharedForm = Form::Create(L"Link panel", 9000, 6000, true, types).release();
  }
  static void TearDownTestSuite() {
    delete sharedForm;
    sharedForm = nullptr;
    delete types;
    types = nullptr;
  }

  void SetUp() override {
    // Keep the real pointer away from the form so only the messages of the test reach it.
    SetCursorPos(1279, 1023);
    form = sharedForm;
    ASSERT_NE(form, nullptr);
    form->SetHostServices(&host);
    form->onPropertyChanged = [this](const std::wstring& control, std::wstring_view key) {
      changed.push_back(control + L"." + std::wstring(key));
    };
    form->ClearLoadFailures();
    panel = &Place(L"Panel", 6000, 4500);
    host.cursor = ScreenOf(200, 150);  // the middle of the panel
  }
  void TearDown() override {
    for (const std::wstring& name : form->ControlNames()) form->Remove(name);
    form->onPropertyChanged = nullptr;
    form->SetHostServices(nullptr);
    form->SetUserMode(true);
  }

  KvFundo& Place(const std::wstring& name, int width, int height) {
    return static_cast<KvFundo&>(form->Add(L"KvFundo", name, 0, 0, width, height));
  }

  // A point of the panel's client area (pixels) in screen coordinates.
  POINT ScreenOf(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(panel->hWnd(), &p);
    return p;
  }
  HWND Background() const { return panel->Background().hWnd(); }
  // The middle of the link, in pixels of the background window.
  POINT LinkPoint() const {
    const RECT r = panel->Link().BoundsPixels();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void Hover() { SendMessageW(Background(), WM_MOUSEMOVE, 0, At(LinkPoint())); }
  void Press() { SendMessageW(Background(), WM_LBUTTONDOWN, MK_LBUTTON, At(LinkPoint())); }
  void Release() { SendMessageW(Background(), WM_LBUTTONUP, 0, At(LinkPoint())); }
  void ClickLink() {
    Hover();
    Press();
    Release();
  }
  // The link's rectangle in pixels of the form (the panel stands at the form's origin).
  RECT LinkOnForm() const {
    RECT r = panel->Link().BoundsPixels();
    MapWindowPoints(Background(), form->hWnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  bool Underlined() const { return panel->Link().Font()->Describe().underline; }
  DibProbe Shot() const { return DibProbe(form->Snapshot().get()); }

  static inline ControlTypes* types = nullptr;
  static inline Form* sharedForm = nullptr;
  ShellHost host;
  Form* form = nullptr;
  KvFundo* panel = nullptr;
  std::vector<std::wstring> changed;
};

// --- The link's looks and the hover timer -------------------------------------------------------

TEST_F(KvFundoTest, HoverPressAndReleaseWalkTheLinkThroughItsThreeLooks) {
  struct Look { int state; OleColor color; bool underlined; };
  auto expect = [&](Look look, const char* step) {
    EXPECT_EQ(panel->State(), look.state) << step;
    EXPECT_EQ(panel->Link().ForeColor(), look.color) << step;
    EXPECT_EQ(Underlined(), look.underlined) << step;
  };
  EXPECT_FALSE(panel->HoverTimer().Running());
  for (bool underline : {true, false}) {
    SCOPED_TRACE(underline ? "HoverUnderline" : "no HoverUnderline");
    panel->SetHoverUnderline(underline);
    expect({KvFundo::kNormal, 0x808080u, false}, "at rest");
    Hover();
    expect({KvFundo::kHot, 0x0000FFu, underline}, "hovered");
    EXPECT_TRUE(panel->HoverTimer().Running());
    EXPECT_EQ(panel->HoverTimer().Interval(), 50);
    Press();
    expect({KvFundo::kDown, 0xFF0000u, underline}, "pressed");
    Release();
    expect({KvFundo::kNormal, 0x808080u, false}, "released");
  }
  // Turning the underline on shows at once on the pressed link; colour writes reapply the current look only.
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

TEST_F(KvFundoTest, TheLooksShowInThePixelsOfTheLink) {
  auto looks = [&] {
    DibProbe probe = Shot();
    const RECT r = LinkOnForm();
    return std::vector<int>{WidestRow(probe, r, RGB(0x80, 0x80, 0x80)), WidestRow(probe, r, RGB(255, 0, 0)),
                            WidestRow(probe, r, RGB(0, 0, 255))};
  };
  const int width = LinkOnForm().right - LinkOnForm().left;
  ASSERT_GT(width, 20);

  std::vector<int> normal = looks();
  EXPECT_GT(normal[0], 0) << "grey text";
  EXPECT_LT(normal[0], width * 3 / 4) << "no underline at rest";
  EXPECT_EQ(normal[1], 0);
  EXPECT_EQ(normal[2], 0);

  Hover();
  std::vector<int> hot = looks();
  EXPECT_EQ(hot[0], 0);
  EXPECT_GE(hot[1], width - 2) << "a red underline under the whole text";
  EXPECT_EQ(hot[2], 0);

  Press();
  std::vector<int> down = looks();
  EXPECT_EQ(down[1], 0);
  EXPECT_GE(down[2], width - 2) << "a blue underline while pressed";
  Release();
}

TEST_F(KvFundoTest, TheLinkStaysHotOverThePanelAndTurnsNormalWithinOneTickOfLeavingIt) {
  Hover();
  // Anywhere over the panel keeps it hot, the bottom right corner too: only beyond Width or Height is out.
  for (POINT in : {POINT{20, 20}, POINT{400, 300}}) {
    host.cursor = ScreenOf(in.x, in.y);
    EXPECT_GT(PumpCountingTimerTicks(120), 0) << "the timer keeps ticking while inside";
    EXPECT_EQ(panel->State(), KvFundo::kHot);
  }
  for (POINT out : {POINT{401, 150}, POINT{200, -1}, POINT{-1, 150}, POINT{200, 301}}) {
    Hover();
    host.cursor = ScreenOf(out.x, out.y);
    EXPECT_TRUE(PumpUntil([&] { return panel->State() == KvFundo::kNormal; }, 150)) << out.x << "," << out.y;
    EXPECT_FALSE(Underlined());
    EXPECT_FALSE(panel->HoverTimer().Running());
    host.cursor = ScreenOf(200, 150);
  }
  EXPECT_EQ(PumpCountingTimerTicks(120), 0) << "stopped for good";
}

TEST_F(KvFundoTest, APressedLinkStaysPressedWhenTheCursorLeavesUntilTheButtonComesUp) {
  Hover();
  Press();
  host.cursor = ScreenOf(-50, -50);
  EXPECT_TRUE(PumpUntil([&] { return !panel->HoverTimer().Running(); }, 200));
  EXPECT_EQ(panel->State(), KvFundo::kDown);
  EXPECT_EQ(panel->Link().ForeColor(), 0xFF0000u);
  // The release comes to the link through the capture wherever the pointer is.
  SendMessageW(Background(), WM_LBUTTONUP, 0, MAKELPARAM(-30, -30));
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
  EXPECT_THAT(host.calls, IsEmpty()) << "released away from the link: no click";
}

// --- Clicks -------------------------------------------------------------------------------------

TEST_F(KvFundoTest, AnEmptyUrlOpensTheLinkTextAndKeepsTheCopy) {
  EXPECT_EQ(panel->Caption(), KvFundo::kDefaultAddress);
  ClickLink();
  EXPECT_EQ(panel->URL(), KvFundo::kDefaultAddress);
  ASSERT_EQ(host.owners.size(), 1u);
  EXPECT_EQ(host.owners[0], GetDesktopWindow());
  panel->SetURL(L"");
  panel->SetCaption(L"http://caption.example/page");
  ClickLink();
  panel->SetCaption(L"http://other.example/");
  host.shellResult = 2;  // file not found: the state stays as it is
  ClickLink();
  EXPECT_THAT(host.calls, ElementsAre(L"ShellExecute(open|https://tesselocx.example/|||1)",
                                      L"ShellExecute(open|http://caption.example/page|||1)",
                                      L"ShellExecute(open|http://caption.example/page|||1)"));
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
  Hover();
  EXPECT_EQ(panel->State(), KvFundo::kHot);
}

TEST_F(KvFundoTest, OpeningUrlHandlerRewritesWhatIsOpenedAndWhatIsStored) {
  panel->SetURL(L"http://first.example/");
  std::vector<std::wstring> seen;
  panel->events.OpeningURL = [&](std::wstring& url) {
    seen.push_back(L"OpeningURL(" + url + L") calls=" + std::to_wstring(host.calls.size()));
    url = L"http://rewritten.example/x?y=1";
  };
  panel->events.Click = [&] { seen.push_back(L"Click"); };
  ClickLink();
  EXPECT_THAT(seen, ElementsAre(L"OpeningURL(http://first.example/) calls=0"));
  EXPECT_THAT(host.calls, ElementsAre(L"ShellExecute(open|http://rewritten.example/x?y=1|||1)"));
  EXPECT_EQ(panel->URL(), L"http://rewritten.example/x?y=1");

  PropertyBag bag;
  panel->WriteProperties(bag);
  EXPECT_EQ(bag.ReadString(L"URL", L"?"), L"http://rewritten.example/x?y=1");
}

TEST_F(KvFundoTest, ClickResponseOneRaisesClickAndOpensNothing) {
  std::vector<std::wstring> seen;
  panel->events.Click = [&] { seen.push_back(L"Click"); };
  panel->events.OpeningURL = [&](std::wstring& url) { seen.push_back(L"OpeningURL"); };
  panel->SetClickResponse(1);
  ClickLink();
  ClickLink();
  EXPECT_THAT(seen, ElementsAre(L"Click", L"Click"));
  EXPECT_THAT(host.calls, IsEmpty());
  EXPECT_EQ(panel->URL(), L"") << "the link text is not copied";

  // Any other value opens the address.
  for (int32_t response : {0, 2, -1}) {
    panel->SetClickResponse(response);
    ClickLink();
  }
  EXPECT_THAT(seen, ElementsAre(L"Click", L"Click", L"OpeningURL", L"OpeningURL", L"OpeningURL"));
  EXPECT_EQ(host.calls.size(), 3u);
}

TEST_F(KvFundoTest, ReleasingElsewhereOrPressingTheBackgroundIsNoClick) {
  Hover();
  Press();
  SendMessageW(Background(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  SendMessageW(Background(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageW(Background(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_THAT(host.calls, IsEmpty());
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
}

TEST_F(KvFundoTest, WhileTheFormIsDesignedTheLinkNeitherLightsUpNorOpens) {
  form->SetUserMode(false);
  std::vector<std::wstring> seen;
  panel->events.OpeningURL = [&](std::wstring&) { seen.push_back(L"OpeningURL"); };
  ClickLink();
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
  EXPECT_FALSE(panel->HoverTimer().Running());
  EXPECT_THAT(seen, IsEmpty());
  EXPECT_THAT(host.calls, IsEmpty());
  form->SetUserMode(true);
  ClickLink();
  EXPECT_THAT(seen, ElementsAre(L"OpeningURL"));
}

TEST_F(KvFundoTest, ThePointerOverTheLinkIsTheHandAndElsewhereItIsNot) {
  const RECT link = panel->Link().BoundsPixels();
  POINT over{(link.left + link.right) / 2, (link.top + link.bottom) / 2};
  ClientToScreen(Background(), &over);
  ASSERT_TRUE(SetCursorPos(over.x, over.y));
  SendMessageW(Background(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Background()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  ASSERT_NE(panel->Link().Cursor(), nullptr);
  EXPECT_EQ(GetCursor(), panel->Link().Cursor());

  POINT away{20, 150};
  ClientToScreen(Background(), &away);
  ASSERT_TRUE(SetCursorPos(away.x, away.y));
  SendMessageW(Background(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Background()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), panel->Link().Cursor());
  SetCursorPos(1279, 1023);
}

// --- Layout -------------------------------------------------------------------------------------

struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};
Box BoxOf(const Constituent& c) { return Box{c.Left(), c.Top(), c.Width(), c.Height()}; }
void PrintTo(const Box& b, std::ostream* os) { *os << "{" << b.left << "," << b.top << "," << b.width << "," << b.height << "}"; }

TEST_F(KvFundoTest, LayoutFollowsEveryResize) {
  for (auto [w, h] : {std::pair{6000, 4500}, std::pair{8100, 3000}, std::pair{2400, 1800}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    form->Site(L"Panel")->Move(0, 0, w, h);
    EXPECT_EQ(BoxOf(panel->Background()), (Box{0, 0, w, h}));
    EXPECT_EQ(BoxOf(panel->Header()), (Box{-15, -15, w + 30, 1005}));
    EXPECT_EQ(BoxOf(panel->Footer()), (Box{-15, h - 360 + 15, w + 30, 360}));
    EXPECT_EQ(panel->Link().Top(), h - 360 + 15 + 60);
    EXPECT_EQ(panel->Link().Left(), 120);
    EXPECT_EQ(panel->Title().Left(), 1935);
    EXPECT_EQ(panel->Title().Top(), 405);
    EXPECT_EQ(BoxOf(panel->Logo()), (Box{360, 0, 975, 975}));
    ASSERT_NE(panel->Rule(), nullptr);
    EXPECT_EQ(BoxOf(*panel->Rule()), (Box{1920, 700, w - 1920, 30}));
    // The rule itself lays its lines out over its new width.
    auto* rule = dynamic_cast<const KvLinha*>(panel->Rule()->Control());
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->Line1().X2(), w - 1920);
    EXPECT_EQ(rule->Line2().Y1(), 20);
    RECT px{};
    GetClientRect(panel->Rule()->hWnd(), &px);
    EXPECT_EQ(px.right, PixelsFromTwipsX(w - 1920));
  }
}

TEST_F(KvFundoTest, ANarrowPanelSkipsTheRuleAndLaysOutTheRest) {
  form->Site(L"Panel")->Move(0, 0, 3000, 2400);
  ASSERT_EQ(panel->Rule()->Width(), 1080);
  form->Site(L"Panel")->Move(0, 0, 1500, 2000);
  EXPECT_EQ(panel->Rule()->Width(), 1080) << "a negative width is refused and the rule keeps its old one";
  EXPECT_EQ(panel->Rule()->Left(), 1920);
  // Everything after the failing step still ran.
  EXPECT_EQ(BoxOf(panel->Background()), (Box{0, 0, 1500, 2000}));
  EXPECT_EQ(BoxOf(panel->Footer()), (Box{-15, 2000 - 345, 1530, 360}));
  EXPECT_EQ(panel->Title().Left(), 1935);
  EXPECT_EQ(BoxOf(panel->Logo()), (Box{360, 0, 975, 975}));
  // Exactly 1920 twips wide gives a rule of no width, which is allowed.
  form->Site(L"Panel")->Move(0, 0, 1920, 2000);
  EXPECT_EQ(panel->Rule()->Width(), 0);
}

TEST_F(KvFundoTest, BandsShowOnlyTheirInnerOutlineAndTheRuleIsEtched) {
  // Header: 1005 twips from -15 is 67 pixels from -1: no top, left or right outline, the lower one
  // on row 65. Footer: top at 4500 - 345 twips, row 277, bottom and right beyond the panel. The
  // rule: 700 twips down is row 47, from 1920 twips (column 128) to the right edge.
  const COLORREF highlight = GetSysColor(COLOR_3DHIGHLIGHT);
  ExpectPixels(Shot(),
               {{200, 0, kBand}, {0, 30, kBand}, {399, 30, kBand}, {100, 64, kBand}, {100, 65, kOutline},
                {100, 66, kWhite}, {200, 276, kWhite}, {200, 277, kOutline}, {395, 278, kBand}, {399, 299, kBand},
                {130, 47, kOutline}, {398, 47, kOutline}, {130, 48, highlight}, {126, 47, kBand}});
}

// --- Persistence ----------------------------------------------------------------------------------

std::vector<std::wstring> Keys(const PropertyBag& bag) {
  std::vector<std::wstring> keys;
  for (const auto& [key, value] : bag.Entries()) keys.push_back(key);
  return keys;
}

TEST_F(KvFundoTest, ANewPanelStoresOnlyItsEmptyUrlAndAStoredOneTakesTheDefaultsItLacks) {
  PropertyBag bag;
  panel->WriteProperties(bag);
  ASSERT_THAT(Keys(bag), ElementsAre(L"URL"));
  EXPECT_EQ(bag.ReadString(L"URL", L"?"), L"");
  ExtenderProperties ext;
  ext.width = 6000;
  ext.height = 4500;
  auto* copy = static_cast<KvFundo*>(form->AddLoaded(L"KvFundo", L"Copy", ext, bag));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->URL(), L"") << "an empty address is stored, not replaced by the default";

  // A stored panel without the other keys gets the default address as URL too, and shows its
  // stored colour in the link's look.
  PropertyBag stored;
  stored.Write(L"ColorNormal", static_cast<int32_t>(kSysWindowText));
  auto* loaded = static_cast<KvFundo*>(form->AddLoaded(L"KvFundo", L"Loaded", ext, stored));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->URL(), KvFundo::kDefaultAddress);
  EXPECT_EQ(loaded->Caption(), KvFundo::kDefaultAddress);
  EXPECT_EQ(loaded->CaptionTitulo(), L"T\u00EDtulo");
  EXPECT_EQ(loaded->BackColor(), 0xF1F1F1u);
  EXPECT_EQ(loaded->ColorHot(), 255u);
  EXPECT_EQ(loaded->ColorDown(), 0xFF0000u);
  EXPECT_TRUE(loaded->HoverUnderline());
  EXPECT_EQ(loaded->Font(), loaded->OwnFont());
  EXPECT_EQ(loaded->Link().ForeColor(), kSysWindowText);
}

TEST_F(KvFundoTest, EachWriteNamesItsOwnKey) {
  changed.clear();
  panel->SetCaption(L"a");
  panel->SetCaptionTitulo(L"b");
  panel->SetURL(L"c");
  panel->SetClickResponse(1);
  panel->SetBackColor(0);
  panel->SetToolTipText2(L"d");
  panel->SetColorNormal(1);
  panel->SetColorHot(2);
  panel->SetColorDown(3);
  panel->SetFont(Font::Create(FontDesc{}));
  panel->SetHoverUnderline(false);
  panel->SetStretch(true);
  panel->SetPicture(nullptr);
  EXPECT_THAT(changed, ElementsAre(L"Panel.Caption", L"Panel.CaptionTitulo", L"Panel.URL", L"Panel.ClickResponse",
                                   L"Panel.BackColor", L"Panel.ToolTipText2", L"Panel.ColorNormal", L"Panel.ColorHot",
                                   L"Panel.ColorDown", L"Panel.Font", L"Panel.HoverUnderline", L"Panel.Stretch",
                                   L"Panel.Picture"));
}

// --- Caption changes, the logo and the cursor ------------------------------------------------------

TEST_F(KvFundoTest, CaptionsSizeTheirLabelsAndTheLogoIsClippedOrStretched) {
  const int before = panel->Link().Width();
  panel->SetCaption(L"https://tesselocx.example/a/much/longer/address");
  EXPECT_GT(panel->Link().Width(), before);
  EXPECT_EQ(panel->Link().Top(), 4500 - 345 + 60);

  // A 100 x 100 picture, green on its left half and red on its right: 1500 twips, clipped to the
  // 975-twip (65-pixel) square at its own size, or scaled into it when stretched.
  std::vector<uint32_t> pixels(100 * 100);
  for (int i = 0; i < 100 * 100; ++i) pixels[static_cast<size_t>(i)] = (i % 100) < 50 ? 0xFF00A000 : 0xFFE00000;
  PictureRef big = Picture::FromBytes(EncodeImage(ImageFormat::Bmp, 100, 100, pixels));
  const COLORREF green = RGB(0, 0xA0, 0), red = RGB(0xE0, 0, 0);
  panel->SetPicture(big);
  EXPECT_EQ(BoxOf(panel->Logo()), (Box{360, 0, 975, 975}));
  // Clipped at 975 twips and at the band's outline row.
  ExpectPixels(Shot(), {{24, 10, green}, {24 + 49, 10, green}, {24 + 50, 10, red}, {24 + 64, 64, red},
                        {24 + 65, 10, kBand}, {30, 65, kOutline}});
  panel->SetStretch(true);
  EXPECT_EQ(BoxOf(panel->Logo()), (Box{360, 0, 975, 975}));
  ExpectPixels(Shot(), {{24 + 30, 10, green}, {24 + 35, 10, red}, {24 + 65, 10, kBand}});  // red from 32 pixels
}

TEST_F(KvFundoTest, TheLinkShowsA32PixelHandCursor) {
  PictureRef cursor = LinkCursorPicture();
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->Kind(), PictureKind::Cursor);
  EXPECT_EQ(cursor->SizePixels().cx, 32);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(cursor->Handle()), &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 6u);
  EXPECT_EQ(info.yHotspot, 0u);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);

  // Drawn over grey: the fingertip outline is black, its inside white, the corner untouched.
  Canvas canvas(32, 32, RGB(128, 128, 128));
  DrawIconEx(canvas.dc(), 0, 0, static_cast<HICON>(cursor->Handle()), 32, 32, 0, nullptr, DI_NORMAL);
  ExpectPixels(canvas, {{6, 0, RGB(0, 0, 0)}, {6, 2, RGB(255, 255, 255)}, {30, 30, RGB(128, 128, 128)}});

  EXPECT_EQ(panel->Link().MousePointer(), 99);
  EXPECT_NE(panel->Link().Cursor(), nullptr);
}

// --- Objects ----------------------------------------------------------------------------------------

TEST_F(KvFundoTest, DestroyingAHoveredPanelReleasesEveryObjectAndStopsItsTimer) {
  auto cycle = [&] {
    KvFundo& p = Place(L"Temp", 5000, 3000);
    p.SetToolTipText2(L"tip");
    p.SetPicture(Picture::FromBytes(IconFile(16, RGB(1, 2, 3))));
    p.SetFont(Font::Create(FontDesc{}));
    SendMessageW(p.Background().hWnd(), WM_MOUSEMOVE, 0,
                 MAKELPARAM((p.Link().BoundsPixels().left + 2), (p.Link().BoundsPixels().top + 2)));
    ASSERT_TRUE(p.HoverTimer().Running());
    ASSERT_EQ(p.State(), KvFundo::kHot);
    PumpCountingTimerTicks(60);  // painted, hovered and ticking when it goes
    form->Remove(L"Temp");
  };
  // Three rounds warm up what the process keeps once made: window classes, and the realised fonts
  // that the OLE font objects hand back to a cache which lets them go only later.
  ExpectNoLeaks(cycle, 3, 5);
  EXPECT_EQ(PumpCountingTimerTicks(150), 0);
}

}  // namespace
}  // namespace tessel::test
