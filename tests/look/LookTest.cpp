// Every control on a form as the system changes under it: new colours, the high-contrast scheme, and a
// move to another resolution (WM_DPICHANGED, sent: Wine moves no window between screens) and back.
#include "tests/support/Prelude.h"

#include "button/ButtonStyle.h"
#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "server/contract/Palette.h"
#include "server/contract/Picture.h"
#include "server/contract/ScreenDpi.h"
#include "server/contract/Twips.h"
#include "tests/support/GdiCount.h"
#include "tests/support/HostPlacement.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"
#include "tests/support/SystemColours.h"

namespace tessel::test {
namespace {

LRESULT CALLBACK CountPaint(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR n) {
  if (m == WM_PAINT) ++*reinterpret_cast<int*>(n);
  return DefSubclassProc(w, m, wp, lp);
}

struct Placed {
  const wchar_t *type, *name;
  int left, top, width, height;  // twips
  const wchar_t* in = L"";
};

class LookTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterLibraryControls(ControlTypes::Default()); }
  void Place(const wchar_t* title, int width, int height, std::span<const Placed> controls) {
    form = Form::Create(title, width, height);
    for (const Placed& p : controls) form->Add(p.type, p.name, p.left, p.top, p.width, p.height, p.in);
  }
  template <class T>
  T& Get(const std::wstring& name) const {
    return dynamic_cast<T&>(*form->Control(name));
  }
  HWND Window(const std::wstring& name) const { return form->Control(name)->hWnd(); }
  RECT Where(const std::wstring& name) const { return PlacedIn(Window(name), GetParent(Window(name))); }
  RECT OnForm(const std::wstring& name) const { return PlacedIn(Window(name), form->hWnd()); }
  // Expects every control window painted once for a change, however the paint comes (sent or posted).
  void ExpectOnePaintEach(const std::function<void()>& change) {
    std::map<std::wstring, int> paints;
    for (const std::wstring& name : form->ControlNames())
      SetWindowSubclass(Window(name), CountPaint, 0x7E55, reinterpret_cast<DWORD_PTR>(&paints[name]));
    change();
    Form::PumpMessages();
    Pump(50);
    for (const auto& [name, n] : paints) {
      RemoveWindowSubclass(Window(name), CountPaint, 0x7E55);
      EXPECT_EQ(n, 1) << Utf8FromWide(name);
    }
  }
  std::unique_ptr<Form> form;
};

// One control of each kind, captionless where a caption's glyph edges would blend.
const Placed kEveryKind[] = {
    {L"ButtonStyle", L"cmd", 120, 120, 1500, 450},   {L"ButtonStyle", L"chk", 1800, 120, 1500, 450},
    {L"ButtonStyle", L"round", 3480, 120, 1500, 450}, {L"tzFrames", L"fra", 120, 720, 3000, 1800},
    {L"KvTextBox", L"txt", 3300, 720, 2400, 375},     {L"KvText", L"kvt", 3300, 1300, 3000, 375},
    {L"KvLinha", L"lin", 3300, 1900, 3000, 30},       {L"Bevel", L"bev", 3300, 2200, 1500, 900},
};

class SystemLook : public LookTest {
 protected:
  void SetUp() override {
    Place(L"Look", 9000, 5200, kEveryKind);
    for (const wchar_t* name : {L"cmd", L"chk", L"round"}) Get<ButtonStyle>(name).SetCaption(L"");
    Get<TzFrames>(L"fra").SetCaption(L"");
    Get<KvText>(L"kvt").SetCaption(L"");
    Get<ButtonStyle>(L"chk").SetMode(modeCheck);
    Get<ButtonStyle>(L"chk").SetValue(true);
    Get<ButtonStyle>(L"round").SetButtonStyle(bsRounded);
  }
  // The system's colours and scheme as the test found them, whatever it changed.
  void TearDown() override {
    if (highContrast) SwitchHighContrast(false);
    form.reset();
    SetColours(saved);
  }

  // Switches the scheme through SPI_SETHIGHCONTRAST. Wine keeps no such setting (the call fails, the question
  // reads "off"): there the palette is told and the form gets the WM_SETTINGCHANGE the system would send.
  void SwitchHighContrast(bool on) {
    highContrast = on;
    HIGHCONTRASTW hc{sizeof(hc), on ? static_cast<DWORD>(HCF_HIGHCONTRASTON) : 0u, nullptr};
    HIGHCONTRASTW now{sizeof(now), 0, nullptr};
    const bool set = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(hc), &hc, SPIF_SENDCHANGE) != FALSE;
    SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(now), &now, 0);
    const bool system = set && ((now.dwFlags & HCF_HIGHCONTRASTON) != 0) == on;
    if (!system && on) std::cout << "[ NOTE     ] SPI_SETHIGHCONTRAST switches no scheme here; the palette was told\n";
    SetHighContrastForTesting(system || !on ? -1 : 1);
    if (!system) SendMessageW(form->hWnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  }

  DibProbe Shot() {
    Form::PumpMessages();
    return DibProbe(unique_hbitmap(form->Snapshot()).get());
  }
  std::map<COLORREF, int> ColoursOf(const PixelRows& p, const std::wstring& name) const {
    const RECT r = Where(name);
    std::map<COLORREF, int> colours;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) ++colours[p.At(x, y)];
    return colours;
  }
  const Colours saved = CurrentColours();
  bool highContrast = false;
};

// Every pixel of the old face (and a text box's window) colour shows the new one, and the way back is exact.
TEST_F(SystemLook, NewSystemColoursReachEveryControlWhichPaintsOnce) {
  const DibProbe before = Shot();
  ExpectOnePaintEach([&] { SetColours(kFresh); });
  const DibProbe after = Shot();
  for (const std::wstring& name : form->ControlNames()) {
    SCOPED_TRACE(Utf8FromWide(name));
    std::map<COLORREF, int> was = ColoursOf(before, name), now = ColoursOf(after, name);
    for (int index : name == L"txt" ? std::vector<int>{COLOR_BTNFACE, COLOR_WINDOW} : std::vector<int>{COLOR_BTNFACE}) {
      const COLORREF from = saved.at(index), to = kFresh.at(index);
      EXPECT_EQ(now[from], 0) << "old colour " << index << " " << Hex(from) << " left";
      EXPECT_EQ(now[to], was[from]) << "colour " << index << " " << Hex(to);
    }
  }
  EXPECT_GT(ColoursOf(after, L"cmd")[kFresh.at(COLOR_BTNFACE)], 0);
  EXPECT_GT(ColoursOf(after, L"txt")[kFresh.at(COLOR_WINDOW)], 0);
  EXPECT_NE(ColoursOf(after, L"round"), ColoursOf(before, L"round")) << "a face made from the face colour";
  EXPECT_EQ(after.At(0, 0), kFresh.at(COLOR_BTNFACE)) << "the form's own face";
  ExpectOnePaintEach([&] { SetColours(saved); });
  EXPECT_EQ(DifferentPixels(Shot(), before), 0);
}

// With high contrast every control, custom colours included, shows only the scheme; off again, its own look.
TEST_F(SystemLook, HighContrastShowsOnlyTheSchemeAndGoingBackRestoresEveryPixel) {
  auto &cmd = Get<ButtonStyle>(L"cmd"), &round = Get<ButtonStyle>(L"round");
  auto& fra = Get<TzFrames>(L"fra");
  cmd.SetBackColor(0x00C0FF);
  cmd.SetForeColor(0x800000);
  round.SetBackColor(0xFF80C0);
  round.SetGradientMode(gradTopBottom);
  round.SetGradientColor(0x40FF40);
  fra.SetThemeColor(frames::themeGold);
  fra.SetBackColor(0x80FFFF);
  fra.SetFrameColor(0x0000C0);
  Get<KvTextBox>(L"txt").SetBackColor(0x00FFFF);
  Get<KvTextBox>(L"txt").SetForeColor(0x000000);
  Get<KvText>(L"kvt").SetBackColor(0xC0FFC0);
  const DibProbe own = Shot();
  SetColours(kScheme);
  SwitchHighContrast(true);
  ASSERT_TRUE(HighContrast());
  const DibProbe hc = Shot();
  std::set<COLORREF> scheme;
  for (const auto& [index, colour] : kScheme) scheme.insert(colour);
  for (const std::wstring& name : form->ControlNames()) {
    std::map<COLORREF, int> outside = ColoursOf(hc, name);  // colour -> pixels
    std::erase_if(outside, [&](const auto& c) { return scheme.count(c.first) > 0; });
    EXPECT_THAT(outside, ::testing::IsEmpty()) << Utf8FromWide(name) << ": pixels outside the scheme";
  }
  // Shapes and cues stay: the check button latched in the highlight, lines in the frame colour.
  EXPECT_GT(ColoursOf(hc, L"chk")[kScheme.at(COLOR_HIGHLIGHT)], 0);
  for (const wchar_t* name : {L"fra", L"lin", L"bev"})
    EXPECT_GT(ColoursOf(hc, name)[kScheme.at(COLOR_WINDOWFRAME)], 0) << Utf8FromWide(name);
  SwitchHighContrast(false);
  SetColours(saved);
  Form::PumpMessages();
  Pump(50);
  EXPECT_EQ(DifferentPixels(Shot(), own), 0);
}

int AskedHeight(HFONT font) {
  LOGFONTW lf{};
  return font && GetObjectW(font, sizeof lf, &lf) ? std::abs(lf.lfHeight) : 0;
}
HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// The size of the box of the pixels of one colour inside a rectangle (empty when there are none).
SIZE InkSize(const PixelRows& p, const RECT& area, COLORREF ink) {
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (p.At(x, y) == ink)
        box = {std::min(box.left, LONG(x)), std::min(box.top, LONG(y)), std::max(box.right, LONG(x + 1)),
               std::max(box.bottom, LONG(y + 1))};
  return box.right > box.left ? SIZE{box.right - box.left, box.bottom - box.top} : SIZE{};
}

// The size of the ink a text leaves when nothing clips it, drawn with the font on a white canvas.
SIZE WholeInk(HFONT font, const std::wstring& text, COLORREF ink) {
  Canvas canvas(400, 200, RGB(255, 255, 255));
  SelectGuard select(canvas.dc(), font);
  SetTextColor(canvas.dc(), ink);
  SetBkMode(canvas.dc(), TRANSPARENT);
  RECT r{20, 20, 380, 180};
  DrawTextW(canvas.dc(), text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
  return InkSize(canvas, RECT{0, 0, 400, 200}, ink);
}

constexpr COLORREF kInk = RGB(200, 0, 200);  // the captions' colours, found nowhere else
constexpr COLORREF kButtonInk = RGB(0, 0, 200);

// The button stands inside the frame, in the frame's twips.
const Placed kPlaced[] = {
    {L"tzFrames", L"fra", 120, 120, 3000, 2000},   {L"ButtonStyle", L"cmd", 150, 600, 1500, 450, L"fra"},
    {L"KvTextBox", L"txt", 3300, 120, 2400, 375},  {L"KvLinha", L"lin", 3300, 700, 2400, 30},
    {L"Bevel", L"bev", 3300, 1000, 1005, 615},     {L"KvText", L"kvt", 3300, 1800, 2400, 375},
};

class Resolution : public LookTest {
 protected:
  void SetUp() override {
    Place(L"Resolution", 6000, 4000, kPlaced);
    auto& fra = Get<TzFrames>(L"fra");
    fra.SetCaption(L"Dados do cliente");
    fra.SetTextColor(kInk);
    auto& cmd = Get<ButtonStyle>(L"cmd");
    cmd.SetCaption(L"Gravar");
    cmd.SetMode(modeCheck);  // a check button never shows the default look, wherever the focus is
    cmd.SetForeColor(kButtonInk);
    Get<KvText>(L"kvt").SetCaption(L"Nome");
    Form::PumpMessages();
  }
  void TearDown() override {
    form.reset();
    UseScreenDpi(0, 0);
  }
  // Tells the form it moved to a screen of dpi, suggesting its rectangle grown about its top left.
  void MoveTo(int dpi) {
    const HWND w = form->hWnd();
    RECT now{}, suggested{0, 0, MulDiv(400, dpi, 96), MulDiv(267, dpi, 96)};
    AdjustWindowRectEx(&suggested, GetWindowLongW(w, GWL_STYLE), FALSE, GetWindowLongW(w, GWL_EXSTYLE));
    GetWindowRect(w, &now);
    OffsetRect(&suggested, now.left - suggested.left, now.top - suggested.top);
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(w, &now);
    EXPECT_EQ(Edges(now), Edges(suggested)) << "the form takes the suggested rectangle at " << dpi;
    EXPECT_NEAR(AskedHeight(FontOf(GetWindow(Window(L"txt"), GW_CHILD))), 8.25 * dpi / 72, 0.5) << "before a paint";
  }

  // At dpi: every control at its twips, fonts of that resolution, one pixel lines, captions whole.
  void ExpectAt(int dpi) {
    SCOPED_TRACE(dpi);
    EXPECT_EQ(ScreenDpiX(), dpi);
    const auto pixels = [dpi](int twips) { return (twips * dpi + 720) / 1440; };
    for (const Placed& p : kPlaced) {
      const int height = std::wstring(p.type) == L"KvLinha" ? 30 : p.height;  // a rule keeps its height
      EXPECT_EQ(Edges(Where(p.name)), Edges(RECT{pixels(p.left), pixels(p.top), pixels(p.left) + pixels(p.width),
                                                 pixels(p.top) + pixels(height)}))
          << Utf8FromWide(p.name);
    }
    // The fonts each control draws with, and the ones its fields' edits were given.
    auto& cmd = Get<ButtonStyle>(L"cmd");
    auto& fra = Get<TzFrames>(L"fra");
    auto& kvt = Get<KvText>(L"kvt");
    const HWND field = Window(L"txt"), edit = GetWindow(field, GW_CHILD);
    const std::pair<const char*, HFONT> fonts[] = {
        {"button caption", cmd.State().captionFont.get()}, {"frame", fra.Font()->Handle()},
        {"field's edit", FontOf(edit)},                     {"captioned field's label", kvt.FontCaption()->Handle()},
        {"captioned field's edit", FontOf(GetWindow(kvt.hWnd(), GW_CHILD))}};
    for (const auto& [what, font] : fonts) EXPECT_NEAR(AskedHeight(font), 8.25 * dpi / 72, 0.5) << what;
    // The field's edit stands inside its outline at the new scale.
    const RECT inner = PlacedIn(edit, field);
    RECT outline{};
    GetClientRect(field, &outline);
    EXPECT_GT(inner.right, outline.right * 3 / 4);
    EXPECT_LE(inner.right, outline.right);

    const DibProbe shot(unique_hbitmap(form->Snapshot()).get());
    // One pixel high: the rule's two lines, the button's two bevel lines and the frame's outline.
    const RECT rule = OnForm(L"lin");
    const int mid = (rule.left + rule.right) / 2;
    const RECT column{mid, rule.top, mid + 1, rule.bottom};
    EXPECT_EQ(shot.Count(column, RGB(192, 192, 192)), 1);
    EXPECT_EQ(shot.Count(column, GetSysColor(COLOR_3DHILIGHT)), 1);
    const auto bottomUp = [&](const wchar_t* name) {
      const RECT r = OnForm(name);
      std::vector<COLORREF> c;
      for (int i = 1; i <= 4; ++i) c.push_back(shot.At((r.left + r.right) / 2, r.bottom - i));
      return c;
    };
    const std::vector<COLORREF> bevel = bottomUp(L"cmd"), frame = bottomUp(L"fra");
    EXPECT_TRUE(bevel[0] != bevel[1] && bevel[1] != bevel[2] && bevel[2] == bevel[3]) << "button bevel";
    EXPECT_TRUE(frame[1] != frame[2] && frame[2] == frame[3]) << "frame outline, over the row its region leaves out";
    // Each caption shows as much ink as the same text drawn with the same font where nothing clips it.
    const std::tuple<const wchar_t*, HFONT, const wchar_t*, COLORREF> captions[] = {
        {L"cmd", cmd.State().captionFont.get(), L"Gravar", kButtonInk},
        {L"fra", fra.Font()->Handle(), L"Dados do cliente", kInk}};
    for (const auto& [name, font, text, ink] : captions) {
      const SIZE shown = InkSize(shot, OnForm(name), ink), whole = WholeInk(font, text, ink);
      EXPECT_EQ(std::make_pair(shown.cx, shown.cy), std::make_pair(whole.cx, whole.cy)) << Utf8FromWide(name);
    }
  }
};

// Moved to 144 and 192 dpi and back, every control repaints once, stands as ExpectAt says (back where it stood,
// as SystemResolution finds it from the start) and leaves no font behind.
TEST_F(Resolution, EveryControlStandsAtItsTwipsAtTheNewResolutionAndBack) {
  const int own = ScreenDpiY();
  unique_hbitmap(form->Snapshot());  // the system's own objects of a first snapshot are made
  const unsigned objects = GdiObjectCount(), windows = UserObjectCount();
  for (int dpi : {144, 192, own}) {
    ExpectOnePaintEach([&] { MoveTo(dpi); });
    ExpectAt(dpi);
  }
  EXPECT_EQ(std::make_pair(GdiObjectCount(), UserObjectCount()), std::make_pair(objects, windows))
      << "the fonts of the other resolutions went with them";
}

// An icon file of square images of one colour each, put together from files of one image.
PictureRef Icons(std::initializer_list<std::pair<int, COLORREF>> images) {
  std::vector<uint8_t> file{0, 0, 1, 0, static_cast<uint8_t>(images.size()), 0}, bodies;
  for (const auto& [side, colour] : images) {
    const std::vector<uint8_t> one = IconFile(side, colour);  // a directory of one entry, its image at 22
    const DWORD at = static_cast<DWORD>(6 + 16 * images.size() + bodies.size());
    file.insert(file.end(), one.begin() + 6, one.begin() + 18);
    file.insert(file.end(), reinterpret_cast<const uint8_t*>(&at), reinterpret_cast<const uint8_t*>(&at + 1));
    bodies.insert(bodies.end(), one.begin() + 22, one.end());
  }
  file.insert(file.end(), bodies.begin(), bodies.end());
  return Picture::FromBytes(file);
}

// Picture boxes keep their size in inches and show the icon image the system picks for their side: boxes of
// 16, 24, 32 pixels at 96 dpi (24, 36, 48 at 144), a stretched logo of 65 (98), a frame's 16 pixel icon (24).
TEST_F(Resolution, PictureBoxesScaleAndShowTheIconImageForTheirSide) {
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  const PictureRef icon = Icons({{16, red}, {24, green}, {32, blue}});
  ASSERT_EQ(icon->Kind(), PictureKind::Icon);
  auto& panel = dynamic_cast<KvFundo&>(form->Add(L"KvFundo", L"panel", 0, 3300, 6000, 1500));
  panel.SetStretch(true);
  panel.SetPicture(Icons({{48, red}, {72, green}, {104, blue}}));
  Get<TzFrames>(L"fra").SetPicture(Icons({{32, blue}, {16, red}}));
  const int32_t codes[] = {picSize16, picSize24, picSize32};
  for (int i = 0; i < 3; ++i) {
    auto& b = dynamic_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"pic" + std::to_wstring(i), 120 + 1300 * i, 2400, 1200, 1000));
    b.SetCaption(L"");
    b.SetPictureSize(codes[i]);
    b.SetPicture(icon);
  }
  const std::pair<int, std::vector<COLORREF>> expected[] = {{96, {red, green, blue, green}}, {144, {green, blue, blue, blue}}};
  for (const auto& [dpi, colours] : expected) {
    SCOPED_TRACE(dpi);
    if (dpi != ScreenDpiY()) MoveTo(dpi);
    Form::PumpMessages();
    const DibProbe shot(unique_hbitmap(form->Snapshot()).get());
    for (int i = 0; i < 3; ++i) {
      auto& b = Get<ButtonStyle>(L"pic" + std::to_wstring(i));
      const RECT box = b.State().pictureRect, at = PlacedIn(b.hWnd(), form->hWnd());
      const int side = MulDiv(16 + 8 * i, dpi, 96);
      EXPECT_EQ(std::make_pair(int(box.right - box.left), int(box.bottom - box.top)), std::make_pair(side, side)) << i;
      const RECT shown{at.left + box.left, at.top + box.top, at.left + box.right, at.top + box.bottom};
      EXPECT_EQ(shot.Count(shown, colours[i]), side * side) << "box " << i << ": " << Hex(shot.At(shown.left + 1, shown.top + 1));
    }
    RECT logo = panel.Logo().BoundsPixels();
    MapWindowPoints(panel.Background().hWnd(), form->hWnd(), reinterpret_cast<POINT*>(&logo), 2);
    EXPECT_EQ(logo.right - logo.left, MulDiv(65, dpi, 96));
    // (the header band stands over the logo's lower part)
    for (COLORREF c : {red, green, blue}) EXPECT_EQ(shot.Count(logo, c) > 0, c == colours[3]) << "logo " << Hex(c);
    const RECT frame = OnForm(L"fra");
    const int icon = MulDiv(16, dpi, 96);  // the 16 pixel image at 96 dpi, the 32 pixel one drawn at 24
    EXPECT_EQ(std::make_pair(shot.Count(frame, red), shot.Count(frame, blue)),
              dpi == 96 ? std::make_pair(icon * icon, 0) : std::make_pair(0, icon * icon)) << "frame icon";
  }
}

// At the screen's own resolution from the start; ctest also runs it at 144 and 192 dpi (TESSEL_EXPECTED_DPI).
using SystemResolution = Resolution;
TEST_F(SystemResolution, EveryControlDrawsAtTheScreensResolution) {
  if (const char* expected = std::getenv("TESSEL_EXPECTED_DPI")) {
    ASSERT_EQ(ScreenDpiY(), std::atoi(expected)) << "the process does not read the resolution it was given";
  }
  ExpectAt(ScreenDpiY());
}

}  // namespace
}  // namespace tessel::test
