// Every control on a shown form as the user's colours change under it: the system's colours changed
// with SetSysColors, the high-contrast scheme switched on and off. Pixels of every control before
// and after, and the paints each window gets for one change.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>

#include "button/ButtonStyle.h"
#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "server/contract/Palette.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"

namespace tessel::test {
namespace {

constexpr int kColourCount = COLOR_MENUBAR + 1;

// The system's colours as the test found them, put back when it ends whatever it changed.
class SystemColours {
 public:
  SystemColours() {
    for (int i = 0; i < kColourCount; ++i) saved_[i] = GetSysColor(i);
  }
  ~SystemColours() { Set(saved_); }
  void Set(const std::map<int, COLORREF>& colours) {
    std::vector<int> index;
    std::vector<COLORREF> value;
    for (const auto& [i, c] : colours) {
      index.push_back(i);
      value.push_back(c);
    }
    SetSysColors(static_cast<int>(index.size()), index.data(), value.data());
  }
  void Restore() { Set(saved_); }

 private:
  void Set(const COLORREF (&all)[kColourCount]) {
    std::map<int, COLORREF> colours;
    for (int i = 0; i < kColourCount; ++i) colours[i] = all[i];
    Set(colours);
  }
  COLORREF saved_[kColourCount];
};

// A high-contrast scheme: white on black, cyan highlight, green for what is unavailable.
const std::map<int, COLORREF> kScheme = {
    {COLOR_BTNFACE, RGB(0, 0, 0)},         {COLOR_BTNTEXT, RGB(255, 255, 255)},
    {COLOR_WINDOW, RGB(0, 0, 0)},          {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
    {COLOR_HIGHLIGHT, RGB(0, 255, 255)},   {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
    {COLOR_GRAYTEXT, RGB(0, 255, 0)},      {COLOR_WINDOWFRAME, RGB(255, 255, 255)},
    {COLOR_3DLIGHT, RGB(255, 255, 255)},   {COLOR_3DHILIGHT, RGB(255, 255, 255)},
    {COLOR_3DSHADOW, RGB(255, 255, 255)},  {COLOR_3DDKSHADOW, RGB(255, 255, 255)},
    {COLOR_INACTIVEBORDER, RGB(255, 255, 255)},
};

// Switches the high-contrast scheme through SPI_SETHIGHCONTRAST, telling every window as the
// system does. Wine keeps no such setting (the call fails and the question reads "off"): there the
// palette is told directly and the form gets the WM_SETTINGCHANGE the system would have sent.
class HighContrastSwitch {
 public:
  explicit HighContrastSwitch(HWND form) : form_(form) {}
  ~HighContrastSwitch() {
    if (on_) Switch(false);
  }
  void Switch(bool on) {
    on_ = on;
    HIGHCONTRASTW hc{sizeof(hc), on ? static_cast<DWORD>(HCF_HIGHCONTRASTON) : 0u, nullptr};
    const bool set = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(hc), &hc, SPIF_SENDCHANGE) != FALSE;
    HIGHCONTRASTW now{sizeof(now), 0, nullptr};
    SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(now), &now, 0);
    if (set && ((now.dwFlags & HCF_HIGHCONTRASTON) != 0) == on) {
      SetHighContrastForTesting(-1);
      return;
    }
    systemSwitches_ = false;
    SetHighContrastForTesting(on ? 1 : -1);
    SendMessageW(form_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  }
  bool SystemSwitches() const { return systemSwitches_; }

 private:
  HWND form_;
  bool on_ = false;
  bool systemSwitches_ = true;
};

// Counts the WM_PAINT each control window gets, however it comes (sent or dispatched).
class PaintCounter {
 public:
  explicit PaintCounter(const std::vector<HWND>& windows) : windows_(windows) {
    for (HWND w : windows_) SetWindowSubclass(w, Count, 0x7E55, reinterpret_cast<DWORD_PTR>(&counts_[w]));
  }
  ~PaintCounter() {
    for (HWND w : windows_) RemoveWindowSubclass(w, Count, 0x7E55);
  }
  int Of(HWND w) const { return counts_.at(w); }
  void Clear() {
    for (auto& [w, n] : counts_) n = 0;
  }

 private:
  static LRESULT CALLBACK Count(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR n) {
    if (m == WM_PAINT) ++*reinterpret_cast<int*>(n);
    return DefSubclassProc(w, m, wp, lp);
  }
  std::vector<HWND> windows_;
  std::map<HWND, int> counts_;
};

class SystemLook : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterLibraryControls(ControlTypes::Default()); }
  void SetUp() override {
    form = Form::Create(L"Look", 9000, 5200);
    Form::PumpMessages();
  }
  void TearDown() override {
    form.reset();
    SetHighContrastForTesting(-1);
  }

  // Places one control of each kind, captionless where a caption's glyph edges would blend.
  void PlaceEveryControl(bool ownColours) {
    auto& cmd = static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"cmd", 120, 120, 1500, 450));
    cmd.SetCaption(L"");
    auto& chk = static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"chk", 1800, 120, 1500, 450));
    chk.SetCaption(L"");
    chk.SetMode(modeCheck);
    chk.SetValue(true);
    auto& round = static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"round", 3480, 120, 1500, 450));
    round.SetCaption(L"");
    round.SetButtonStyle(bsRounded);
    auto& fra = static_cast<TzFrames&>(form->Add(L"tzFrames", L"fra", 120, 720, 3000, 1800));
    fra.SetCaption(L"");
    auto& txt = static_cast<KvTextBox&>(form->Add(L"KvTextBox", L"txt", 3300, 720, 2400, 375));
    auto& kvt = static_cast<KvText&>(form->Add(L"KvText", L"kvt", 3300, 1300, 3000, 375));
    kvt.SetCaption(L"");
    form->Add(L"KvLinha", L"lin", 3300, 1900, 3000, 30);
    form->Add(L"Bevel", L"bev", 3300, 2200, 1500, 900);
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

  std::vector<std::wstring> Names() const { return form->ControlNames(); }
  HWND WindowOf(const std::wstring& name) const { return form->Control(name)->hWnd(); }
  RECT PixelsOf(const std::wstring& name) const {
    RECT r{};
    GetWindowRect(WindowOf(name), &r);
    MapWindowPoints(nullptr, form->hWnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  DibProbe Shot() {
    Form::PumpMessages();
    shot = form->Snapshot();
    return DibProbe(shot.get());
  }
  // The colours of a control's pixels with how many of each.
  std::map<COLORREF, int> ColoursOf(const PixelRows& p, const std::wstring& name) const {
    const RECT r = PixelsOf(name);
    std::map<COLORREF, int> colours;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) ++colours[p.At(x, y)];
    return colours;
  }
  // How many pixels of two pictures of the form differ.
  static int Differences(const PixelRows& a, const PixelRows& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x) n += a.At(x, y) != b.At(x, y);
    return n;
  }
  // Pumps until nothing is waiting, then once more: every paint marked by a change has come.
  static void Settle() {
    Form::PumpMessages();
    Pump(50);
  }

  std::unique_ptr<Form> form;
  unique_hbitmap shot;
};

// After SetSysColors no control keeps a pixel of the old face, text or window colour where it
// showed one: each such pixel shows the new colour (the same count, so nothing moved), and every
// control window is painted once for the change.
TEST_F(SystemLook, NewSystemColoursReachEveryControlWhichPaintsOnce) {
  PlaceEveryControl(false);
  const std::vector<int> followed = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
  std::map<int, COLORREF> old, fresh;
  const COLORREF picked[] = {RGB(10, 120, 200), RGB(250, 250, 0), RGB(30, 30, 90), RGB(0, 255, 128)};
  for (size_t i = 0; i < followed.size(); ++i) {
    old[followed[i]] = GetSysColor(followed[i]);
    fresh[followed[i]] = picked[i];
  }
  const DibProbe before = Shot();
  std::map<std::wstring, std::map<COLORREF, int>> was;
  for (const std::wstring& name : Names()) was[name] = ColoursOf(before, name);

  std::vector<HWND> windows;
  for (const std::wstring& name : Names()) windows.push_back(WindowOf(name));
  SystemColours colours;
  {
    PaintCounter paints(windows);
    colours.Set(fresh);
    Settle();
    for (const std::wstring& name : Names()) EXPECT_EQ(paints.Of(WindowOf(name)), 1) << Utf8FromWide(name);
  }
  const DibProbe after = Shot();
  // What each control shows of the system's colours (a bevel's and a button's white edges are
  // their own, whatever the window colour, and so is a KvText's white box).
  const std::map<std::wstring, std::vector<int>> shows = {
      {L"cmd", {COLOR_BTNFACE}}, {L"chk", {COLOR_BTNFACE}}, {L"round", {COLOR_BTNFACE}},
      {L"fra", {COLOR_BTNFACE}}, {L"txt", {COLOR_BTNFACE, COLOR_WINDOW}}, {L"kvt", {COLOR_BTNFACE}},
      {L"lin", {COLOR_BTNFACE}}, {L"bev", {COLOR_BTNFACE}}};
  for (const auto& [name, indexes] : shows) {
    SCOPED_TRACE(Utf8FromWide(name));
    std::map<COLORREF, int> now = ColoursOf(after, name);
    for (int index : indexes) {
      const COLORREF from = old[index], to = fresh[index];
      EXPECT_EQ(now[from], 0) << "old colour " << index << " " << Hex(from) << " left";
      EXPECT_EQ(now[to], was[name][from]) << "colour " << index << " " << Hex(to);
    }
  }
  EXPECT_GT(ColoursOf(after, L"cmd")[fresh[COLOR_BTNFACE]], 0);
  EXPECT_GT(ColoursOf(after, L"txt")[fresh[COLOR_WINDOW]], 0);
  // The rounded button's face is made from the face colour: none of the old one's pixels are left.
  EXPECT_NE(ColoursOf(after, L"round"), was[L"round"]);
  // The form's own face followed too.
  EXPECT_EQ(after.At(0, 0), fresh[COLOR_BTNFACE]);

  // The old colours back: the very same pixels as at first, and again one paint each.
  {
    PaintCounter paints(windows);
    colours.Restore();
    Settle();
    for (const std::wstring& name : Names()) EXPECT_EQ(paints.Of(WindowOf(name)), 1) << Utf8FromWide(name);
  }
  EXPECT_EQ(Differences(Shot(), before), 0);
}

// With high contrast on, every control, custom colours and gradients included, shows only the
// scheme's colours; with it off again each has its own look back, pixel for pixel.
TEST_F(SystemLook, HighContrastShowsOnlyTheSchemeAndGoingBackRestoresEveryPixel) {
  PlaceEveryControl(true);
  const DibProbe own = Shot();

  SystemColours colours;
  colours.Set(kScheme);
  HighContrastSwitch highContrast(form->hWnd());
  highContrast.Switch(true);
  if (!highContrast.SystemSwitches())
    std::cout << "[ NOTE     ] SPI_SETHIGHCONTRAST does not switch the scheme here; the palette was told\n";
  ASSERT_TRUE(HighContrast());
  const DibProbe hc = Shot();
  std::set<COLORREF> scheme;
  for (const auto& [index, colour] : kScheme) scheme.insert(colour);
  for (const std::wstring& name : Names()) {
    SCOPED_TRACE(Utf8FromWide(name));
    int outside = 0;
    COLORREF example = 0;
    for (const auto& [colour, n] : ColoursOf(hc, name))
      if (!scheme.count(colour)) {
        outside += n;
        example = colour;
      }
    EXPECT_EQ(outside, 0) << "pixels outside the scheme, e.g. " << Hex(example);
  }
  // Shapes and cues stay: the check button is latched in the highlight, the frame's edge and the
  // rule's line are drawn in the frame colour on the black face.
  EXPECT_GT(ColoursOf(hc, L"chk")[kScheme.at(COLOR_HIGHLIGHT)], 0);
  EXPECT_GT(ColoursOf(hc, L"fra")[kScheme.at(COLOR_WINDOWFRAME)], 0);
  EXPECT_GT(ColoursOf(hc, L"lin")[kScheme.at(COLOR_WINDOWFRAME)], 0);
  EXPECT_GT(ColoursOf(hc, L"bev")[kScheme.at(COLOR_WINDOWFRAME)], 0);

  highContrast.Switch(false);
  colours.Restore();
  Settle();
  EXPECT_EQ(Differences(Shot(), own), 0);
}

}  // namespace
}  // namespace tessel::test
