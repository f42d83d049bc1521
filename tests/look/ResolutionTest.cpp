// A form told by the system that it moved to a screen of another resolution (WM_DPICHANGED, sent
// here since Wine moves no window between screens): it takes the suggested rectangle and every
// control stands again at its size in twips, its lines still one pixel wide; and back again.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "button/ButtonStyle.h"
#include "decor/KvLinha.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/ScreenDpi.h"
#include "server/contract/Twips.h"
#include "tests/support/Pixels.h"

namespace tessel::test {
namespace {

std::tuple<LONG, LONG, LONG, LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

class Resolution : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterLibraryControls(ControlTypes::Default()); }
  void SetUp() override { form = Form::Create(L"Resolution", 6000, 4000); }
  void TearDown() override {
    form.reset();
    UseScreenDpi(0, 0);
  }
  // Where a window stands in the client area of another, in pixels.
  static RECT In(HWND w, HWND parent) {
    RECT r{};
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // The form's window rectangle grown about its top left corner to dpi.
  RECT Suggested(int dpi) const {
    RECT client{0, 0, MulDiv(400, dpi, 96), MulDiv(267, dpi, 96)};
    AdjustWindowRectEx(&client, GetWindowLongW(form->hWnd(), GWL_STYLE), FALSE, GetWindowLongW(form->hWnd(), GWL_EXSTYLE));
    RECT now{};
    GetWindowRect(form->hWnd(), &now);
    OffsetRect(&client, now.left - client.left, now.top - client.top);
    return client;
  }
  void MoveTo(int dpi) {
    RECT suggested = Suggested(dpi);
    SendMessageW(form->hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    GetWindowRect(form->hWnd(), &now);
    EXPECT_EQ(Edges(now), Edges(suggested)) << "the form takes the suggested rectangle at " << dpi;
    Form::PumpMessages();
  }

  std::unique_ptr<Form> form;
};

TEST_F(Resolution, EveryControlStandsAtItsTwipsAtTheNewResolutionAndBack) {
  struct Placed { const wchar_t* type; const wchar_t* name; int left, top, width, height; const wchar_t* in; };
  const Placed placed[] = {
      {L"tzFrames", L"fra", 120, 120, 3000, 2000, L""},
      {L"ButtonStyle", L"cmd", 150, 600, 1500, 450, L"fra"},  // inside the frame, in its twips
      {L"KvTextBox", L"txt", 3300, 120, 2400, 375, L""},
      {L"KvLinha", L"lin", 3300, 700, 2400, 30, L""},
      {L"Bevel", L"bev", 3300, 1000, 1005, 615, L""},
  };
  for (const Placed& p : placed) form->Add(p.type, p.name, p.left, p.top, p.width, p.height, p.in);
  std::map<std::wstring, RECT> at96;
  for (const Placed& p : placed) at96[p.name] = In(form->Control(p.name)->hWnd(), GetParent(form->Control(p.name)->hWnd()));

  for (int dpi : {144, 192}) {
    SCOPED_TRACE(dpi);
    MoveTo(dpi);
    EXPECT_EQ(ScreenDpiX(), dpi);
    for (const Placed& p : placed) {
      SCOPED_TRACE(Utf8FromWide(p.name));
      HWND w = form->Control(p.name)->hWnd();
      const int x = (p.left * dpi + 720) / 1440, y = (p.top * dpi + 720) / 1440;
      const int height = std::wstring(p.type) == L"KvLinha" ? 30 : p.height;  // a rule keeps its height
      EXPECT_EQ(Edges(In(w, GetParent(w))),
                Edges(RECT{x, y, x + (p.width * dpi + 720) / 1440, y + (height * dpi + 720) / 1440}));
    }
    // The field's edit stands inside its outline at the new scale.
    HWND field = form->Control(L"txt")->hWnd();
    const RECT edit = In(GetWindow(field, GW_CHILD), field);
    RECT outline{};
    GetClientRect(field, &outline);
    EXPECT_GT(edit.right, outline.right * 3 / 4);
    EXPECT_LE(edit.right, outline.right);
    // The rule's two lines are one pixel high each at any scale.
    unique_hbitmap shot = form->Snapshot();
    const DibProbe pixels(shot.get());
    const RECT rule = In(form->Control(L"lin")->hWnd(), form->hWnd());
    int grey = 0, light = 0;
    for (int y = rule.top; y < rule.bottom; ++y) {
      grey += pixels.At((rule.left + rule.right) / 2, y) == RGB(192, 192, 192);
      light += pixels.At((rule.left + rule.right) / 2, y) == GetSysColor(COLOR_3DHILIGHT);
    }
    EXPECT_EQ(std::make_pair(grey, light), std::make_pair(1, 1));
  }
  MoveTo(96);
  for (const Placed& p : placed) {
    HWND w = form->Control(p.name)->hWnd();
    EXPECT_EQ(Edges(In(w, GetParent(w))), Edges(at96[p.name])) << Utf8FromWide(p.name);
  }
}

}  // namespace
}  // namespace tessel::test
