// What placing and loading controls costs: windows made, moves, paints and GDI objects.
#include "tests/support/Prelude.h"

#include "tests/inputs/TextInputHarness.h"
#include "tests/support/GdiCount.h"

namespace tessel::test::textinput {
namespace {

// Windows of this thread as the system reports them: made, moved or sized, and painted.
struct WindowLog {
  std::map<HWND, std::pair<LONG, LONG>> made;  // style, extended style
  std::map<HWND, int> moves, paints;
  static inline WindowLog* current = nullptr;

  static LRESULT CALLBACK Sent(int code, WPARAM wp, LPARAM lp) {
    const CWPSTRUCT& m = *reinterpret_cast<CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m.message == WM_NCCREATE) {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(m.lParam);
      current->made[m.hwnd] = {cs->style, static_cast<LONG>(cs->dwExStyle)};
    }
    if (code == HC_ACTION && m.message == WM_WINDOWPOSCHANGED &&
        (~reinterpret_cast<WINDOWPOS*>(m.lParam)->flags & (SWP_NOMOVE | SWP_NOSIZE)))
      ++current->moves[m.hwnd];
    if (code == HC_ACTION && m.message == WM_PAINT) ++current->paints[m.hwnd];
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static LRESULT CALLBACK Posted(int code, WPARAM wp, LPARAM lp) {
    const MSG* m = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && m->message == WM_PAINT) ++current->paints[m->hwnd];
    return CallNextHookEx(nullptr, code, wp, lp);
  }

  WindowLog() {
    current = this;
    hooks[0] = SetWindowsHookExW(WH_CALLWNDPROC, Sent, nullptr, GetCurrentThreadId());
    hooks[1] = SetWindowsHookExW(WH_GETMESSAGE, Posted, nullptr, GetCurrentThreadId());
  }
  ~WindowLog() {
    for (HHOOK h : hooks) UnhookWindowsHookEx(h);
    current = nullptr;
  }
  HHOOK hooks[2] = {};
};

using PlacementCost = InputTest;

TEST_F(PlacementCost, EachWindowIsMadeOnceWithItsFinalStylesMovedAtMostOnceAndPaintedOnce) {
  // {type, windows}: the control's own window and those of its windowed constituents.
  const std::pair<const wchar_t*, size_t> cases[] = {{L"KvTextBox", 2}, {L"KvText", 2}, {L"Bevel", 1}, {L"KvLinha", 1}};
  int n = 0;
  for (const auto& [type, windows] : cases) {
    SCOPED_TRACE(testing::Message() << type);
    WindowLog log;
    form_->Add(type, type, 150, 150 + 600 * n++, 3000, 450);
    Form::PumpMessages();
    EXPECT_EQ(log.made.size(), windows);
    for (const auto& [w, made] : log.made) {
      ASSERT_TRUE(IsWindow(w)) << "a window made while placing was destroyed again";
      constexpr LONG kEdges = WS_BORDER | WS_DLGFRAME, kExEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;
      EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & kEdges, made.first & kEdges);
      EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE) & kExEdges, made.second & kExEdges);
      EXPECT_LE(log.moves[w], 1);
      EXPECT_EQ(log.paints[w], 1) << "each window of a placed control is painted once";
    }
  }
}

// Fields alike share font, brush and back buffer: once the system's DC cache is full, more add nothing.
TEST_F(PlacementCost, MoreFieldsAddNoGdiObject) {
  int placed = 0;
  const auto place = [&](const wchar_t* type, int count) {
    for (int i = 0; i < count; ++i, ++placed)
      form_->Add(type, L"f" + std::to_wstring(placed), 150 + (placed % 10) * 850, 150 + (placed / 10 % 12) * 450, 800, 375);
    Form::PumpMessages();
  };
  for (const wchar_t* type : {L"KvTextBox", L"KvText"}) {
    SCOPED_TRACE(testing::Message() << type);
    place(type, 25);  // fills the system's DC cache and makes what fields share
    const unsigned settled = GdiObjectCount();
    place(type, 40);
    EXPECT_EQ(GdiObjectCount(), settled);
    RemoveAll();
    place(type, 25);
    EXPECT_EQ(GdiObjectCount(), settled) << "placed again after all went";
  }
}

// A hidden form never paints and makes its edits once shown, then looks as one shown at once.
TEST_F(PlacementCost, ALoadedFormPaintsOnceWhenAllIsPlacedAndAHiddenOneNever) {
  const ParsedForm parsed = ParseFormText(
      "TesselForm 1\nForm\n  Width = 6000\n  Height = 3000\nEndForm\n"
      "Control KvTextBox a\n  .Left = 120\n  .Top = 120\n  .Width = 2400\n  .Height = 375\n  Text = \"Held\"\nEndControl\n"
      "Control Bevel b\n  .Left = 120\n  .Top = 600\n  .Width = 2400\n  .Height = 600\nEndControl\n"
      "Control KvLinha c\n  .Left = 120\n  .Top = 1500\n  .Width = 2400\n  .Height = 30\nEndControl\n"
      "Control KvText d\n  .Left = 120\n  .Top = 1800\n  .Width = 3000\n  .Height = 375\n  Caption = \"Name\"\n"
      "  Text = \"Also held\"\nEndControl\n",
      L"paints.tform");
  std::map<FormDisplay, std::unique_ptr<DibProbe>> drawn;
  for (const FormDisplay display : {FormDisplay::Shown, FormDisplay::Hidden}) {
    const bool shown = display == FormDisplay::Shown;
    WindowLog log;
    std::vector<FormFileError> errors;
    std::unique_ptr<Form> form = OpenForm(parsed, L"paints.tform", true, errors, types_, display);
    ASSERT_TRUE(form);
    EXPECT_TRUE(errors.empty());
    const std::map<HWND, int> whileLoading = log.paints;
    Pump(50);
    for (const std::wstring& name : form->ControlNames()) {  // a hidden form's controls are shown with it
      HWND w = form->Site(name)->hWnd();
      EXPECT_EQ(whileLoading.count(w), 0u) << "painted while the form was loading";
      EXPECT_EQ(log.paints[w], shown ? 1 : 0);
      EXPECT_EQ((GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0, shown) << "its window shown while the form was not";
    }
    for (const wchar_t* field : {L"a", L"d"}) EXPECT_EQ(GetWindow(form->Site(field)->hWnd(), GW_CHILD) != nullptr, shown) << field;
    // Shown by position, which sends no WM_SHOWWINDOW: the edits are made all the same.
    SetWindowPos(form->hWnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Pump(50);
    drawn[display] = std::make_unique<DibProbe>(form->Snapshot().get());
    EXPECT_NE(GetWindow(form->Site(L"d")->hWnd(), GW_CHILD), nullptr);
  }
  EXPECT_EQ(DifferentPixels(*drawn[FormDisplay::Hidden], *drawn[FormDisplay::Shown]), 0);
}

}  // namespace
}  // namespace tessel::test::textinput
