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
#include "tests/support/GdiCount.h"
#include "tests/support/ImageBytes.h"
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

  static inline ControlTypes* types = nullptr;
  static inline Form* sharedForm = nullptr;
  ShellHost host;
  Form* form = nullptr;
  KvFundo* panel = nullptr;
  std::vector<std::wstring> changed;
};

// --- The link's looks and the hover timer -------------------------------------------------------

TEST_F(KvFundoTest, HoverPressAndReleaseWalkTheLinkThroughItsThreeLooks) {
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
  EXPECT_EQ(panel->Link().ForeColor(), 0x808080u);
  EXPECT_FALSE(Underlined());
  EXPECT_FALSE(panel->HoverTimer().Running());

  Hover();
  EXPECT_EQ(panel->State(), KvFundo::kHot);
  EXPECT_EQ(panel->Link().ForeColor(), 0x0000FFu);
  EXPECT_TRUE(Underlined());
  EXPECT_TRUE(panel->HoverTimer().Running());
  EXPECT_EQ(panel->HoverTimer().Interval(), 50);

  Press();
  EXPECT_EQ(panel->State(), KvFundo::kDown);
  EXPECT_EQ(panel->Link().ForeColor(), 0xFF0000u);
  EXPECT_TRUE(Underlined());

  Release();
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
  EXPECT_EQ(panel->Link().ForeColor(), 0x808080u);
  EXPECT_FALSE(Underlined());

  // The next move over the link makes it hot again.
  Hover();
  EXPECT_EQ(panel->State(), KvFundo::kHot);
}

TEST_F(KvFundoTest, TheLooksShowInThePixelsOfTheLink) {
  auto looks = [&] {
    unique_hbitmap shot = form->Snapshot();
    DibProbe probe(shot.get());
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

TEST_F(KvFundoTest, WithoutHoverUnderlineTheLinkChangesColourButIsNeverUnderlined) {
  panel->SetHoverUnderline(false);
  Hover();
  EXPECT_EQ(panel->Link().ForeColor(), 0x0000FFu);
  EXPECT_FALSE(Underlined());
  Press();
  EXPECT_EQ(panel->Link().ForeColor(), 0xFF0000u);
  EXPECT_FALSE(Underlined());
  {
    unique_hbitmap shot = form->Snapshot();
    DibProbe probe(shot.get());
    const RECT r = LinkOnForm();
    EXPECT_GT(WidestRow(probe, r, RGB(0, 0, 255)), 0);
    EXPECT_LT(WidestRow(probe, r, RGB(0, 0, 255)), (r.right - r.left) * 3 / 4);
  }
  // Turning it back on shows at once on the pressed link.
  panel->SetHoverUnderline(true);
  EXPECT_TRUE(Underlined());
  Release();
  EXPECT_FALSE(Underlined());
}

TEST_F(KvFundoTest, ColourWritesReapplyTheCurrentLook) {
  Hover();
  panel->SetColorHot(0x00FF00);
  EXPECT_EQ(panel->Link().ForeColor(), 0x00FF00u);
  panel->SetColorNormal(0x123456);  // not the current look: nothing shows
  EXPECT_EQ(panel->Link().ForeColor(), 0x00FF00u);
  Press();
  panel->SetColorDown(0x654321);
  EXPECT_EQ(panel->Link().ForeColor(), 0x654321u);
  Release();
  EXPECT_EQ(panel->Link().ForeColor(), 0x123456u);
}

TEST_F(KvFundoTest, TheLinkStaysHotOverThePanelAndTurnsNormalWithinOneTickOfLeavingIt) {
  Hover();
  ASSERT_EQ(panel->State(), KvFundo::kHot);
  // Anywhere over the panel, also far from the link, keeps it hot.
  SendMessageW(Background(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  host.cursor = ScreenOf(20, 20);
  EXPECT_GT(PumpCountingTimerTicks(200), 0) << "the timer keeps ticking while inside";
  EXPECT_EQ(panel->State(), KvFundo::kHot);
  EXPECT_TRUE(panel->HoverTimer().Running());

  // The bottom right corner itself still counts as inside: only beyond Width or Height is out.
  host.cursor = ScreenOf(400, 300);
  EXPECT_GT(PumpCountingTimerTicks(120), 0);
  EXPECT_EQ(panel->State(), KvFundo::kHot);

  host.cursor = ScreenOf(401, 150);
  EXPECT_TRUE(PumpUntil([&] { return panel->State() == KvFundo::kNormal; }, 150));
  EXPECT_EQ(panel->Link().ForeColor(), 0x808080u);
  EXPECT_FALSE(Underlined());
  EXPECT_FALSE(panel->HoverTimer().Running());
  // Stopped for good: no tick reaches the timer any more.
  EXPECT_EQ(PumpCountingTimerTicks(200), 0);
}

TEST_F(KvFundoTest, LeavingAboveOrLeftOfThePanelIsOutsideToo) {
  for (POINT out : {POINT{200, -1}, POINT{-1, 150}, POINT{200, 301}}) {
    Hover();
    ASSERT_EQ(panel->State(), KvFundo::kHot);
    host.cursor = ScreenOf(out.x, out.y);
    EXPECT_TRUE(PumpUntil([&] { return !panel->HoverTimer().Running(); }, 200)) << out.x << "," << out.y;
    EXPECT_EQ(panel->State(), KvFundo::kNormal);
    host.cursor = ScreenOf(200, 150);
  }
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

TEST_F(KvFundoTest, ANewPanelOpensItsLinkTextAndKeepsItAsTheUrl) {
  EXPECT_EQ(panel->URL(), L"");
  EXPECT_EQ(panel->Caption(), KvFundo::kDefaultAddress);
  ClickLink();
  EXPECT_THAT(host.calls, ElementsAre(L"ShellExecute(open|https://tesselocx.example/|||1)"));
  ASSERT_EQ(host.owners.size(), 1u);
  EXPECT_EQ(host.owners[0], GetDesktopWindow());
  EXPECT_EQ(panel->URL(), KvFundo::kDefaultAddress);
}

TEST_F(KvFundoTest, AnEmptyUrlTakesTheCaptionAndTheCopyIsKept) {
  panel->SetCaption(L"http://caption.example/page");
  ClickLink();
  panel->SetCaption(L"http://other.example/");
  ClickLink();
  EXPECT_THAT(host.calls, ElementsAre(L"ShellExecute(open|http://caption.example/page|||1)",
                                      L"ShellExecute(open|http://caption.example/page|||1)"));
  EXPECT_EQ(panel->URL(), L"http://caption.example/page");
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

TEST_F(KvFundoTest, AFailingShellLeavesTheStateAsItIs) {
  host.shellResult = 2;  // file not found
  ClickLink();
  EXPECT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(panel->State(), KvFundo::kNormal);
  Hover();
  EXPECT_EQ(panel->State(), KvFundo::kHot);
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
  unique_hbitmap shot = form->Snapshot();
  DibProbe probe(shot.get());
  // Header: 1005 twips from -15 is 67 pixels from -1; its lower outline is row 65.
  EXPECT_EQ(Hex(probe.At(200, 0)), Hex(kBand)) << "no top outline";
  EXPECT_EQ(Hex(probe.At(0, 30)), Hex(kBand)) << "no left outline";
  EXPECT_EQ(Hex(probe.At(399, 30)), Hex(kBand)) << "no right outline";
  EXPECT_EQ(Hex(probe.At(100, 64)), Hex(kBand));
  EXPECT_EQ(Hex(probe.At(100, 65)), Hex(kOutline));
  EXPECT_EQ(Hex(probe.At(100, 66)), Hex(kWhite));
  // Footer: top at 4500 - 345 twips = row 277, bottom beyond the panel.
  EXPECT_EQ(Hex(probe.At(200, 276)), Hex(kWhite));
  EXPECT_EQ(Hex(probe.At(200, 277)), Hex(kOutline));
  EXPECT_EQ(Hex(probe.At(395, 278)), Hex(kBand));
  EXPECT_EQ(Hex(probe.At(399, 299)), Hex(kBand)) << "no bottom or right outline";
  // The rule: 700 twips down is row 47 (rounded), from column 128 to the right edge.
  const COLORREF highlight = GetSysColor(COLOR_3DHIGHLIGHT);
  EXPECT_EQ(Hex(probe.At(130, 47)), Hex(kOutline));
  EXPECT_EQ(Hex(probe.At(398, 47)), Hex(kOutline));
  EXPECT_EQ(Hex(probe.At(130, 48)), Hex(highlight));
  EXPECT_EQ(Hex(probe.At(126, 47)), Hex(kBand)) << "the rule starts at 1920 twips";
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

  // A stored panel without the other keys gets the default address as URL too, and shows its
  // stored colour in the link's look.
  PropertyBag stored;
  stored.Write(L"ColorNormal", static_cast<int32_t>(kSysWindowText));
  ExtenderProperties ext;
  ext.width = 6000;
  ext.height = 4500;
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

TEST_F(KvFundoTest, APanelSurvivesTheFormFileText) {
  FontDesc fd;
  fd.name = L"Tahoma";
  fd.size = 9.75f;
  fd.italic = true;
  panel->SetFont(Font::Create(fd));
  panel->SetCaptionTitulo(L"Ficha n\u00BA 3 \u2014 \"Clientes\"");
  panel->SetColorNormal(kSys3DHighlight);
  panel->SetURL(L"");
  panel->SetPicture(Picture::FromBytes(IconFile(16, RGB(200, 10, 10))));

  const std::string text = WriteFormText(DescribeForm(*form));
  ParsedForm parsed = ParseFormText(text, L"panel.tform");
  ASSERT_THAT(parsed.errors, IsEmpty()) << parsed.errors[0].ToString();
  ASSERT_EQ(parsed.form.controls.size(), 1u);
  ControlDescription& stored = parsed.form.controls[0];
  EXPECT_EQ(stored.type, L"KvFundo");
  ExtenderProperties ext = stored.extender;
  auto* copy = static_cast<KvFundo*>(form->AddLoaded(L"KvFundo", L"Copy", ext, stored.bag));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Font()->Describe(), fd);
  EXPECT_EQ(copy->CaptionTitulo(), L"Ficha n\u00BA 3 \u2014 \"Clientes\"");
  EXPECT_EQ(copy->ColorNormal(), kSys3DHighlight);
  EXPECT_EQ(copy->URL(), L"") << "an empty address is stored, not replaced by the default";
  ASSERT_TRUE(copy->Picture());
  EXPECT_EQ(copy->Picture()->SizePixels().cx, 16);
  EXPECT_EQ(copy->Width(), 6000);
  EXPECT_EQ(copy->Height(), 4500);
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
  {
    unique_hbitmap shot = form->Snapshot();
    DibProbe probe(shot.get());
    EXPECT_EQ(Hex(probe.At(24, 10)), Hex(green));
    EXPECT_EQ(Hex(probe.At(24 + 49, 10)), Hex(green));
    EXPECT_EQ(Hex(probe.At(24 + 50, 10)), Hex(red));
    EXPECT_EQ(Hex(probe.At(24 + 64, 64)), Hex(red));
    EXPECT_EQ(Hex(probe.At(24 + 65, 10)), Hex(kBand)) << "clipped at 975 twips";
    EXPECT_EQ(Hex(probe.At(30, 65)), Hex(kOutline)) << "clipped at the band's outline row";
  }
  panel->SetStretch(true);
  EXPECT_EQ(BoxOf(panel->Logo()), (Box{360, 0, 975, 975}));
  {
    unique_hbitmap shot = form->Snapshot();
    DibProbe probe(shot.get());
    EXPECT_EQ(Hex(probe.At(24 + 30, 10)), Hex(green));
    EXPECT_EQ(Hex(probe.At(24 + 35, 10)), Hex(red)) << "the right half now starts at 32 pixels";
    EXPECT_EQ(Hex(probe.At(24 + 65, 10)), Hex(kBand));
  }
}

TEST_F(KvFundoTest, TheLinkShowsA32PixelHandCursor) {
  PictureRef cursor = LinkCursorPicture();
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->Kind(), PictureKind::Cursor);
  EXPECT_EQ(cursor->SizePixels().cx, 32);
  EXPECT_EQ(cursor->SizePixels().cy, 32);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(cursor->Handle()), &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 6u);
  EXPECT_EQ(info.yHotspot, 0u);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);

  // Drawn over grey: the fingertip outline is black, its inside white, the corner untouched.
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 32, 32);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all{0, 0, 32, 32};
  HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
  FillRect(dc, &all, grey);
  DrawIconEx(dc, 0, 0, static_cast<HICON>(cursor->Handle()), 32, 32, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(Hex(GetPixel(dc, 6, 0)), Hex(RGB(0, 0, 0)));
  EXPECT_EQ(Hex(GetPixel(dc, 6, 2)), Hex(RGB(255, 255, 255)));
  EXPECT_EQ(Hex(GetPixel(dc, 30, 30)), Hex(RGB(128, 128, 128)));
  SelectObject(dc, old);
  DeleteObject(grey);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);

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
  // The first rounds warm up what the process keeps once made: window classes, and the realised
  // fonts that the OLE font objects hand back to a cache which lets them go only later.
  for (int i = 0; i < 3; ++i) cycle();
  const unsigned gdi = GdiObjectCount();
  const unsigned user = UserObjectCount();
  for (int i = 0; i < 5; ++i) cycle();
  EXPECT_EQ(PumpCountingTimerTicks(150), 0);
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(UserObjectCount(), user);
}

}  // namespace
}  // namespace tessel::test
