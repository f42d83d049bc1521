// Every control on a form as the system changes under it: the system's colours changed with
// SetSysColors and the high-contrast scheme switched on and off (pixels of every control before and
// after, and the paints each window gets for one change); a move to a screen of another resolution
// (WM_DPICHANGED, sent here since Wine moves no window between screens), after which every control
// stands again at its size in twips, draws with fonts of the new resolution, its lines still one
// pixel wide and its caption whole, painted once; and back again. The same holds at the screen's
// own resolution from the start (ctest runs it again at 144 and 192 dpi).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <tuple>
#include <vector>

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
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"

namespace tessel::test {
namespace {

using Colours = std::map<int, COLORREF>;

std::tuple<LONG, LONG, LONG, LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

LRESULT CALLBACK CountPaint(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR n) {
  if (m == WM_PAINT) ++*reinterpret_cast<int*>(n);
  return DefSubclassProc(w, m, wp, lp);
}

class LookTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterLibraryControls(ControlTypes::Default()); }
  template <class T = UserControl>
  T& Add(const wchar_t* type, const wchar_t* name, int left, int top, int width, int height, const wchar_t* in = L"") {
    return dynamic_cast<T&>(form->Add(type, name, left, top, width, height, in));
  }
  template <class T>
  T& Get(const wchar_t* name) const {
    return dynamic_cast<T&>(*form->Control(name));
  }
  // Where a window stands in the client area of another, in pixels.
  static RECT In(HWND w, HWND parent) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  RECT Where(const std::wstring& name) const {
    const HWND w = form->Control(name)->hWnd();
    return In(w, GetParent(w));
  }
  // Makes a change and expects every control window painted once for it, however the paint comes
  // (sent or dispatched): pumped until nothing is waiting, then once more.
  void ExpectOnePaintEach(const std::function<void()>& change) {
    std::map<HWND, int> paints;
    for (const std::wstring& name : form->ControlNames()) {
      const HWND w = form->Control(name)->hWnd();
      SetWindowSubclass(w, CountPaint, 0x7E55, reinterpret_cast<DWORD_PTR>(&paints[w]));
    }
    change();
    Form::PumpMessages();
    Pump(50);
    for (const std::wstring& name : form->ControlNames()) {
      RemoveWindowSubclass(form->Control(name)->hWnd(), CountPaint, 0x7E55);
      EXPECT_EQ(paints[form->Control(name)->hWnd()], 1) << Utf8FromWide(name);
    }
  }


  std::unique_ptr<Form> form;
};

void SetColours(const Colours& colours) {
  std::vector<int> index;
  std::vector<COLORREF> value;
  for (const auto& [i, c] : colours) {
    index.push_back(i);
    value.push_back(c);
  }
  SetSysColors(static_cast<int>(index.size()), index.data(), value.data());
}

// A high-contrast scheme: white on black, cyan highlight, green for what is unavailable.
const Colours kScheme = {
    {COLOR_BTNFACE, RGB(0, 0, 0)},         {COLOR_BTNTEXT, RGB(255, 255, 255)},
    {COLOR_WINDOW, RGB(0, 0, 0)},          {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
    {COLOR_HIGHLIGHT, RGB(0, 255, 255)},   {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
    {COLOR_GRAYTEXT, RGB(0, 255, 0)},      {COLOR_WINDOWFRAME, RGB(255, 255, 255)},
    {COLOR_3DLIGHT, RGB(255, 255, 255)},   {COLOR_3DHILIGHT, RGB(255, 255, 255)},
    {COLOR_3DSHADOW, RGB(255, 255, 255)},  {COLOR_3DDKSHADOW, RGB(255, 255, 255)},
    {COLOR_INACTIVEBORDER, RGB(255, 255, 255)},
};

class SystemLook : public LookTest {
 protected:
  void SetUp() override {
    for (int i = 0; i <= COLOR_MENUBAR; ++i) saved[i] = GetSysColor(i);
    form = Form::Create(L"Look", 9000, 5200);
    Form::PumpMessages();
  }
  // The system's colours and scheme as the test found them, whatever it changed.
  void TearDown() override {
    if (highContrast) SwitchHighContrast(false);
    form.reset();
    SetColours(saved);
  }

  // Switches the high-contrast scheme through SPI_SETHIGHCONTRAST, telling every window as the
  // system does. Wine keeps no such setting (the call fails and the question reads "off"): there the
  // palette is told directly and the form gets the WM_SETTINGCHANGE the system would have sent.
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

  // Places one control of each kind, captionless where a caption's glyph edges would blend.
  void PlaceEveryControl(bool ownColours) {
    auto& cmd = Add<ButtonStyle>(L"ButtonStyle", L"cmd", 120, 120, 1500, 450);
    auto& chk = Add<ButtonStyle>(L"ButtonStyle", L"chk", 1800, 120, 1500, 450);
    auto& round = Add<ButtonStyle>(L"ButtonStyle", L"round", 3480, 120, 1500, 450);
    for (ButtonStyle* b : {&cmd, &chk, &round}) b->SetCaption(L"");
    chk.SetMode(modeCheck);
    chk.SetValue(true);
    round.SetButtonStyle(bsRounded);
    auto& fra = Add<TzFrames>(L"tzFrames", L"fra", 120, 720, 3000, 1800);
    fra.SetCaption(L"");
    auto& txt = Add<KvTextBox>(L"KvTextBox", L"txt", 3300, 720, 2400, 375);
    auto& kvt = Add<KvText>(L"KvText", L"kvt", 3300, 1300, 3000, 375);
    kvt.SetCaption(L"");
    Add(L"KvLinha", L"lin", 3300, 1900, 3000, 30);
    Add(L"Bevel", L"bev", 3300, 2200, 1500, 900);
    if (!ownColours) return;
    cmd.SetBackColor(0x00C0FF);
    cmd.SetForeColor(0x800000);
    round.SetBackColor(0xFF80C0);
    round.SetGradientMode(gradTopBottom);
    round.SetGradientColor(0x40FF40);
    fra.SetThemeColor(frames::themeGold);
    fra.SetBackColor(0x80FFFF);
    fra.SetFrameColor(0x0000C0);
    txt.SetBackColor(0x00FFFF);
    txt.SetForeColor(0x000000);
    kvt.SetBackColor(0xC0FFC0);
  }

  DibProbe Shot() {
    Form::PumpMessages();
    shot = form->Snapshot();
    return DibProbe(shot.get());
  }
  // The colours of a control's pixels with how many of each.
  std::map<COLORREF, int> ColoursOf(const PixelRows& p, const std::wstring& name) const {
    const RECT r = Where(name);
    std::map<COLORREF, int> colours;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) ++colours[p.At(x, y)];
    return colours;
  }
  Colours saved;
  bool highContrast = false;
  unique_hbitmap shot;
};

// After SetSysColors no control keeps a pixel of the old face, text or window colour where it
// showed one: each such pixel shows the new colour (the same count, so nothing moved), and every
// control window is painted once for the change and once for the old colours back, which bring
// back the very same pixels.
TEST_F(SystemLook, NewSystemColoursReachEveryControlWhichPaintsOnce) {
  PlaceEveryControl(false);
  const Colours fresh = {{COLOR_BTNFACE, RGB(10, 120, 200)},
                         {COLOR_BTNTEXT, RGB(250, 250, 0)},
                         {COLOR_WINDOW, RGB(30, 30, 90)},
                         {COLOR_WINDOWTEXT, RGB(0, 255, 128)}};
  const DibProbe before = Shot();
  ExpectOnePaintEach([&] { SetColours(fresh); });
  const DibProbe after = Shot();
  // What each control shows of the system's colours: the face, and the text box its window colour
  // too (a bevel's and a button's white edges are their own, and so is a KvText's white box).
  for (const std::wstring& name : form->ControlNames()) {
    SCOPED_TRACE(Utf8FromWide(name));
    std::map<COLORREF, int> was = ColoursOf(before, name), now = ColoursOf(after, name);
    for (int index : name == L"txt" ? std::vector<int>{COLOR_BTNFACE, COLOR_WINDOW} : std::vector<int>{COLOR_BTNFACE}) {
      const COLORREF from = saved.at(index), to = fresh.at(index);
      EXPECT_EQ(now[from], 0) << "old colour " << index << " " << Hex(from) << " left";
      EXPECT_EQ(now[to], was[from]) << "colour " << index << " " << Hex(to);
    }
  }
  EXPECT_GT(ColoursOf(after, L"cmd")[fresh.at(COLOR_BTNFACE)], 0);
  EXPECT_GT(ColoursOf(after, L"txt")[fresh.at(COLOR_WINDOW)], 0);
  // The rounded button's face is made from the face colour: none of the old one's pixels are left.
  EXPECT_NE(ColoursOf(after, L"round"), ColoursOf(before, L"round"));
  EXPECT_EQ(after.At(0, 0), fresh.at(COLOR_BTNFACE)) << "the form's own face";
  ExpectOnePaintEach([&] { SetColours(saved); });
  EXPECT_EQ(DifferentPixels(Shot(), before), 0);
}

// With high contrast on, every control, custom colours and gradients included, shows only the
// scheme's colours; with it off again each has its own look back, pixel for pixel.
TEST_F(SystemLook, HighContrastShowsOnlyTheSchemeAndGoingBackRestoresEveryPixel) {
  PlaceEveryControl(true);
  const DibProbe own = Shot();
  SetColours(kScheme);
  SwitchHighContrast(true);
  ASSERT_TRUE(HighContrast());
  const DibProbe hc = Shot();
  std::set<COLORREF> scheme;
  for (const auto& [index, colour] : kScheme) scheme.insert(colour);
  for (const std::wstring& name : form->ControlNames()) {
    int outside = 0;
    COLORREF example = 0;
    for (const auto& [colour, n] : ColoursOf(hc, name))
      if (!scheme.count(colour)) {
        outside += n;
        example = colour;
      }
    EXPECT_EQ(outside, 0) << Utf8FromWide(name) << ": pixels outside the scheme, e.g. " << Hex(example);
  }
  // Shapes and cues stay: the check button is latched in the highlight, the frame's edge and the
  // rule's line are drawn in the frame colour on the black face.
  EXPECT_GT(ColoursOf(hc, L"chk")[kScheme.at(COLOR_HIGHLIGHT)], 0);
  for (const wchar_t* name : {L"fra", L"lin", L"bev"})
    EXPECT_GT(ColoursOf(hc, name)[kScheme.at(COLOR_WINDOWFRAME)], 0) << Utf8FromWide(name);
  SwitchHighContrast(false);
  SetColours(saved);
  Form::PumpMessages();
  Pump(50);
  EXPECT_EQ(DifferentPixels(Shot(), own), 0);
}

// The height a font handle was asked for, in pixels.
int AskedHeight(HFONT font) {
  LOGFONTW lf{};
  return font && GetObjectW(font, sizeof lf, &lf) ? std::abs(lf.lfHeight) : 0;
}

// The box of the pixels of one colour inside a rectangle (empty when there are none).
RECT InkBox(const PixelRows& p, const RECT& area, COLORREF ink) {
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (p.At(x, y) == ink) {
        box = {std::min(box.left, LONG(x)), std::min(box.top, LONG(y)), std::max(box.right, LONG(x + 1)),
               std::max(box.bottom, LONG(y + 1))};
      }
  return box.right > box.left ? box : RECT{};
}

// The size of the ink a text leaves when nothing clips it, drawn with the font on a white canvas.
SIZE WholeInk(HFONT font, const std::wstring& text, COLORREF ink) {
  Canvas canvas(400, 200, RGB(255, 255, 255));
  SelectGuard select(canvas.dc(), font);
  SetTextColor(canvas.dc(), ink);
  SetBkMode(canvas.dc(), TRANSPARENT);
  RECT r{20, 20, 380, 180};
  DrawTextW(canvas.dc(), text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
  const RECT box = InkBox(canvas, RECT{0, 0, 400, 200}, ink);
  return SIZE{box.right - box.left, box.bottom - box.top};
}

constexpr COLORREF kInk = RGB(200, 0, 200);  // the captions' colours, found nowhere else
constexpr COLORREF kButtonInk = RGB(0, 0, 200);

struct Placed { const wchar_t* type; const wchar_t* name; int left, top, width, height; const wchar_t* in; };
const Placed kPlaced[] = {
    {L"tzFrames", L"fra", 120, 120, 3000, 2000, L""},
    {L"ButtonStyle", L"cmd", 150, 600, 1500, 450, L"fra"},  // inside the frame, in its twips
    {L"KvTextBox", L"txt", 3300, 120, 2400, 375, L""},
    {L"KvLinha", L"lin", 3300, 700, 2400, 30, L""},
    {L"Bevel", L"bev", 3300, 1000, 1005, 615, L""},
    {L"KvText", L"kvt", 3300, 1800, 2400, 375, L""},
};

class Resolution : public LookTest {
 protected:
  void SetUp() override {
    form = Form::Create(L"Resolution", 6000, 4000);
    for (const Placed& p : kPlaced) form->Add(p.type, p.name, p.left, p.top, p.width, p.height, p.in);
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
  // Tells the form it moved to a screen of dpi, suggesting its window rectangle grown about its top
  // left corner: the form takes it.
  void MoveTo(int dpi) {
    const HWND w = form->hWnd();
    RECT now{}, suggested{0, 0, MulDiv(400, dpi, 96), MulDiv(267, dpi, 96)};
    AdjustWindowRectEx(&suggested, GetWindowLongW(w, GWL_STYLE), FALSE, GetWindowLongW(w, GWL_EXSTYLE));
    GetWindowRect(w, &now);
    OffsetRect(&suggested, now.left - suggested.left, now.top - suggested.top);
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(w, &now);
    EXPECT_EQ(Edges(now), Edges(suggested)) << "the form takes the suggested rectangle at " << dpi;
    const HWND edit = GetWindow(form->Control(L"txt")->hWnd(), GW_CHILD);
    EXPECT_NEAR(AskedHeight(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0))), 8.25 * dpi / 72, 0.5)
        << "the field's edit has the new font before any paint";
  }

  // What every control shows at dpi: its twips in pixels of dpi, fonts of their points at dpi, one
  // pixel lines one pixel wide, and the captions whole.
  void ExpectAt(int dpi) {
    SCOPED_TRACE(dpi);
    EXPECT_EQ(ScreenDpiX(), dpi);
    for (const Placed& p : kPlaced) {
      const int x = (p.left * dpi + 720) / 1440, y = (p.top * dpi + 720) / 1440;
      const int height = std::wstring(p.type) == L"KvLinha" ? 30 : p.height;  // a rule keeps its height
      EXPECT_EQ(Edges(Where(p.name)), Edges(RECT{x, y, x + (p.width * dpi + 720) / 1440, y + (height * dpi + 720) / 1440}))
          << Utf8FromWide(p.name);
    }
    // The fonts each control draws with, and the one its field's edit was given.
    auto& cmd = Get<ButtonStyle>(L"cmd");
    auto& fra = Get<TzFrames>(L"fra");
    auto& kvt = Get<KvText>(L"kvt");
    const HWND field = form->Control(L"txt")->hWnd(), edit = GetWindow(field, GW_CHILD);
    const std::pair<const char*, HFONT> fonts[] = {
        {"button caption", cmd.State().captionFont.get()}, {"frame", fra.Font()->Handle()},
        {"field's edit", reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0))},
        {"captioned field's label", kvt.FontCaption()->Handle()},
        {"captioned field's edit", reinterpret_cast<HFONT>(SendMessageW(GetWindow(kvt.hWnd(), GW_CHILD), WM_GETFONT, 0, 0))}};
    for (const auto& [what, font] : fonts) EXPECT_NEAR(AskedHeight(font), 8.25 * dpi / 72, 0.5) << what;
    // The field's edit stands inside its outline at the new scale.
    const RECT inner = In(edit, field);
    RECT outline{};
    GetClientRect(field, &outline);
    EXPECT_GT(inner.right, outline.right * 3 / 4);
    EXPECT_LE(inner.right, outline.right);

    unique_hbitmap shot = form->Snapshot();
    const DibProbe pixels(shot.get());
    // The rule's two lines are one pixel high each; so are the button's two bevel lines and the
    // frame's outline, at the middle of their bottom edges.
    const RECT rule = In(form->Control(L"lin")->hWnd(), form->hWnd());
    const int mid = (rule.left + rule.right) / 2;
    const RECT column{mid, rule.top, mid + 1, rule.bottom};
    EXPECT_EQ(pixels.Count(column, RGB(192, 192, 192)), 1);
    EXPECT_EQ(pixels.Count(column, GetSysColor(COLOR_3DHILIGHT)), 1);
    const auto bottomUp = [&](const wchar_t* name, int n) {
      const RECT r = In(form->Control(name)->hWnd(), form->hWnd());
      std::vector<COLORREF> c;
      for (int i = 1; i <= n; ++i) c.push_back(pixels.At((r.left + r.right) / 2, r.bottom - i));
      return c;
    };
    const std::vector<COLORREF> bevel = bottomUp(L"cmd", 4), frame = bottomUp(L"fra", 4);
    EXPECT_TRUE(bevel[0] != bevel[1] && bevel[1] != bevel[2] && bevel[2] == bevel[3]) << "button bevel";
    EXPECT_TRUE(frame[1] != frame[2] && frame[2] == frame[3]) << "frame outline, over the row its region leaves out";
    // Each caption shows all of its ink: as much as the same text drawn with the same font where
    // nothing clips it.
    const std::pair<const wchar_t*, SIZE> captions[] = {
        {L"cmd", WholeInk(cmd.State().captionFont.get(), L"Gravar", kButtonInk)},
        {L"fra", WholeInk(fra.Font()->Handle(), L"Dados do cliente", kInk)}};
    for (const auto& [name, whole] : captions) {
      const RECT ink = InkBox(pixels, In(form->Control(name)->hWnd(), form->hWnd()), name == std::wstring(L"cmd") ? kButtonInk : kInk);
      EXPECT_EQ(std::make_pair(ink.right - ink.left, ink.bottom - ink.top), std::make_pair(whole.cx, whole.cy))
          << Utf8FromWide(name) << " caption";
    }
  }
};

// A form told it moved to a screen of 144 and 192 dpi: every control stands at its twips there,
// draws with fonts of that resolution and repaints once for the move; and back again at 96, with
// the objects it held before.
TEST_F(Resolution, EveryControlStandsAtItsTwipsAtTheNewResolutionAndBack) {
  std::map<std::wstring, RECT> before;
  for (const Placed& p : kPlaced) before[p.name] = Where(p.name);
  const int own = ScreenDpiY();
  unique_hbitmap(form->Snapshot());  // the system's own objects of a first snapshot are made
  const unsigned objects = GdiObjectCount(), windows = UserObjectCount();
  for (int dpi : {144, 192, own}) {
    ExpectOnePaintEach([&] { MoveTo(dpi); });
    ExpectAt(dpi);
  }
  for (const Placed& p : kPlaced) EXPECT_EQ(Edges(Where(p.name)), Edges(before[p.name])) << Utf8FromWide(p.name);
  EXPECT_EQ(std::make_pair(GdiObjectCount(), UserObjectCount()), std::make_pair(objects, windows))
      << "the fonts of the other resolutions went with them";
}

// An icon file of square images, each of one colour (0xRRGGBB).
std::vector<uint8_t> IconFile(const std::vector<std::pair<BYTE, uint32_t>>& images) {
  std::vector<uint8_t> file, bodies;
  const auto put = [](std::vector<uint8_t>& to, const auto& value) {
    const auto* b = reinterpret_cast<const uint8_t*>(&value);
    to.insert(to.end(), b, b + sizeof value);
  };
  const DWORD start = DWORD(6 + 16 * images.size());
  for (WORD w : {size_t(0), size_t(1), images.size()}) put(file, w);
  for (const auto& [side, colour] : images) {
    const DWORD offset = start + DWORD(bodies.size());
    put(bodies, BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), side, side * 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0});
    for (int i = 0; i < side * side; ++i) put(bodies, 0xFF000000u | colour);
    bodies.resize(bodies.size() + side * ((side + 31) / 32 * 4));  // the mask: every pixel shown
    for (BYTE b : {side, side, BYTE(0), BYTE(0)}) put(file, b);
    for (WORD w : {1, 32}) put(file, w);
    for (DWORD d : {start + DWORD(bodies.size()) - offset, offset}) put(file, d);
  }
  file.insert(file.end(), bodies.begin(), bodies.end());
  return file;
}

// A button's picture box is as large in inches at any resolution, and an icon file of several
// images shows in it the image the system chooses for its side: the 16, 24 and 32 pixel boxes of
// 96 dpi show those images; at 144 dpi (24, 36 and 48 pixels) the 24 and the 32 pixel images. A
// stretched logo of a link panel (65 pixels square at 96 dpi, 98 at 144) shows the 72 and the 104
// pixel images of its icon; a frame's 16 pixel icon the 16 pixel image of its file.
TEST_F(Resolution, PictureBoxesScaleAndShowTheIconImageForTheirSide) {
  const uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
  const PictureRef icon = Picture::FromBytes(IconFile({{16, kRed}, {24, kGreen}, {32, kBlue}}));
  ASSERT_EQ(icon->Kind(), PictureKind::Icon);
  auto& panel = dynamic_cast<KvFundo&>(form->Add(L"KvFundo", L"panel", 0, 3300, 6000, 1500));
  panel.SetStretch(true);
  panel.SetPicture(Picture::FromBytes(IconFile({{48, kRed}, {72, kGreen}, {104, kBlue}})));
  Get<TzFrames>(L"fra").SetPicture(Picture::FromBytes(IconFile({{32, kBlue}, {16, kRed}})));
  const int32_t codes[] = {picSize16, picSize24, picSize32};
  for (int i = 0; i < 3; ++i) {
    auto& b = dynamic_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"pic" + std::to_wstring(i), 120 + 1300 * i, 2400, 1200, 1000));
    b.SetCaption(L"");
    b.SetPictureSize(codes[i]);
    b.SetPicture(icon);
  }
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  const std::pair<int, std::vector<COLORREF>> expected[] = {{96, {red, green, blue, green}}, {144, {green, blue, blue, blue}}};
  for (const auto& [dpi, colours] : expected) {
    SCOPED_TRACE(dpi);
    if (dpi != ScreenDpiY()) MoveTo(dpi);
    Form::PumpMessages();
    unique_hbitmap shot = form->Snapshot();
    const DibProbe pixels(shot.get());
    for (int i = 0; i < 3; ++i) {
      auto& b = Get<ButtonStyle>((L"pic" + std::to_wstring(i)).c_str());
      const RECT box = b.State().pictureRect, at = In(b.hWnd(), form->hWnd());
      const int side = MulDiv(16 + 8 * i, dpi, 96);
      EXPECT_EQ(std::make_pair(int(box.right - box.left), int(box.bottom - box.top)), std::make_pair(side, side)) << i;
      const RECT shown{at.left + box.left, at.top + box.top, at.left + box.right, at.top + box.bottom};
      EXPECT_EQ(pixels.Count(shown, colours[i]), side * side) << "box " << i << ": " << Hex(pixels.At(shown.left + 1, shown.top + 1));
    }
    RECT logo = panel.Logo().BoundsPixels();
    MapWindowPoints(panel.Background().hWnd(), form->hWnd(), reinterpret_cast<POINT*>(&logo), 2);
    EXPECT_EQ(logo.right - logo.left, MulDiv(65, dpi, 96));
    // (the header band stands over the logo's lower part)
    for (COLORREF c : {red, green, blue}) EXPECT_EQ(pixels.Count(logo, c) > 0, c == colours[3]) << "logo " << Hex(c);
    const RECT frame = In(form->Control(L"fra")->hWnd(), form->hWnd());
    EXPECT_EQ(std::make_pair(pixels.Count(frame, red), pixels.Count(frame, blue)), std::make_pair(16 * 16, 0)) << "frame icon";
  }
}

// The same at the screen's own resolution from the start: ctest runs it again with the prefix's
// LogPixels at 144 and at 192 (TESSEL_EXPECTED_DPI says which).
using SystemResolution = Resolution;
TEST_F(SystemResolution, EveryControlDrawsAtTheScreensResolution) {
  const char* expected = std::getenv("TESSEL_EXPECTED_DPI");
  if (expected) {
    ASSERT_EQ(ScreenDpiY(), std::atoi(expected)) << "the process does not read the resolution it was given";
  }
  ExpectAt(ScreenDpiY());
}

}  // namespace
}  // namespace tessel::test
