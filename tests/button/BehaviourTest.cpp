#include "tests/support/Prelude.h"

#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Behaviour = ButtonTest;

TEST_F(Behaviour, ClickAndDoubleClickRaiseClickOnceEach) {
  ButtonStyle& b = Add(L"b");
  Press(b);
  Send(b, WM_LBUTTONDBLCLK, MK_LBUTTON);
  EXPECT_TRUE(b.State().Has(isPressed)) << "the second press shows pressed";
  Send(b, WM_LBUTTONUP);
  EXPECT_EQ(TakeLog(), (Log{L"b.MouseDown(1)", L"b.MouseUp(1)", L"b.Click", L"b.DoubleClick(1)", L"b.MouseDown(1)",
                            L"b.MouseUp(1)"}));
  EXPECT_FALSE(b.State().Has(isPressed));
}

// Space presses like the left button (hot, not hovered); check and option buttons raise KeyUp before
// Click, command buttons after it. Arrows raise no key events: they go to the container as posted.
TEST_F(Behaviour, KeysPressClickAndMoveOn) {
  for (int32_t mode : {modeCommand, modeCheck, modeOption}) {
    ButtonStyle& b = Fresh(L"b");
    b.SetMode(mode);
    Key(b, VK_SPACE, true);
    EXPECT_TRUE(b.State().Has(isPressed) && !b.State().Has(isHot));
    Key(b, VK_SPACE, false);
    EXPECT_EQ(TakeLog(), mode == modeCommand ? (Log{L"b.KeyDown(32)", L"b.Click", L"b.KeyUp(32)"})
                                             : (Log{L"b.KeyDown(32)", L"b.KeyUp(32)", L"b.Click"})) << "mode " << mode;
    EXPECT_EQ(b.Value(), mode != modeCommand);
  }
  ButtonStyle& b = Fresh(L"b");
  MSG posted{};
  while (PeekMessageW(&posted, form_->hWnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) continue;
  for (auto [vk, data] : {std::pair<UINT, LPARAM>{VK_RIGHT, 0x004D0001}, {VK_DOWN, 0x00500001}, {VK_LEFT, 0x004B0001},
                          {VK_UP, 0x00480001}}) {
    Key(b, vk, true);
    Key(b, vk, false);
    ASSERT_TRUE(PeekMessageW(&posted, form_->hWnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) << vk;
    EXPECT_EQ(std::make_pair(posted.wParam, posted.lParam), std::make_pair(WPARAM{vk}, data)) << vk;
  }
  EXPECT_EQ(TakeLog(), Log{});
}

// The first move turns the button hot and starts timer 237, which ends it once the cursor is over
// another window; a press dragged off is drawn unpressed, back over pressed, released off: no Click.
TEST_F(Behaviour, HoverTimerAndPressDraggedOff) {
  ButtonStyle& b = Add(L"b");
  Hover(&b);
  EXPECT_TRUE(b.State().Has(isHot));
  EXPECT_EQ(GetPropA(b.hWnd(), "lv_ClassID"), static_cast<HANDLE>(&b));
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropA(b.hWnd(), "lv_TimerID")), 237u);
  Send(b, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  Pump(120);
  EXPECT_TRUE(b.State().isHoverTracking) << "ticks while the cursor stays keep the hover";
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_TRUE(b.State().PressedLook());
  Hover(nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !b.State().isHoverTracking; }, 1000));
  EXPECT_TRUE(b.State().Has(isPressed) && !b.State().PressedLook()) << "off the control drawn unpressed";
  EXPECT_EQ(KillTimer(b.hWnd(), 237), FALSE) << "the timer stopped itself";
  Hover(&b, MK_LBUTTON);
  EXPECT_TRUE(b.State().PressedLook() && b.State().isPressedTracking) << "back over it, pressed again";
  Hover(nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !b.State().isHoverTracking; }, 1000));
  Send(b, WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
  EXPECT_FALSE(b.State().Has(isHot));
  EXPECT_EQ(TakeLog(), (Log{L"b.MouseOnButton(1)", L"b.MouseDown(1)", L"b.MouseOnButton(0)", L"b.MouseOnButton(1)",
                            L"b.MouseOnButton(0)", L"b.MouseUp(1)"}));
}

// One option selected per container, none clicked again; a member made a command button or destroyed
// leaves the group. Focus entering a group without a selection selects and clicks.
TEST_F(Behaviour, OptionGroupKeepsOneSelectedAcrossLeavingMembers) {
  ButtonStyle* o[4] = {};
  for (int i = 1; i <= 3; ++i) (o[i] = &Add(L"o" + std::to_wstring(i), 10, 10 + 40 * i))->SetMode(modeOption);
  auto selected = [&] { return Values({o[1], o[2], o[3]}); };
  HWND c = form_->hWnd();
  auto member = [&](int i) { return GetPropA(c, (std::to_string(i) + "lv_Obj").c_str()); };
  EXPECT_EQ(GetPropA(c, "lv_OptCount"), reinterpret_cast<HANDLE>(3));
  SetFocus(o[2]->hWnd());
  EXPECT_EQ(selected(), L"010");
  Press(*o[1]);
  EXPECT_EQ(selected(), L"100");
  SetFocus(o[3]->hWnd());
  Press(*o[1]);
  EXPECT_EQ(TakeLog(), (Log{L"o2.Click", L"o1.MouseDown(1)", L"o1.MouseUp(1)", L"o1.Click", L"o1.MouseDown(1)",
                            L"o1.MouseUp(1)"}));
  o[2]->SetMode(modeCommand);
  EXPECT_EQ(GetPropA(c, "lv_OptCount"), reinterpret_cast<HANDLE>(2));
  EXPECT_EQ(member(2), static_cast<HANDLE>(o[3]));
  o[3]->SetValue(true);
  EXPECT_EQ(selected(), L"001");
  form_->Remove(L"o1");
  o[1] = nullptr;
  EXPECT_EQ(std::make_pair(member(1), member(2)), std::make_pair(static_cast<HANDLE>(o[3]), HANDLE{}));
  ButtonStyle& o4 = Add(L"o4", 200, 10);
  o4.SetMode(modeOption);
  o4.SetValue(true);
  EXPECT_EQ(selected(), L"000");
  form_->Remove(L"o3");
  form_->Remove(L"o4");
  EXPECT_EQ(GetPropA(c, "lv_OptCount"), nullptr) << "the last member takes the count with it";
}

// In a frame's option group Tab enters at the selected member and the arrows the member hands to the
// frame move focus and selection round the group, past a disabled member, with no key events.
TEST_F(Behaviour, ArrowKeysMoveTheFocusAndTheSelectionRoundTheGroupOfAFrame) {
  form_->Add(L"tzFrames", L"fra", 150, 150, 3000, 2700);
  ButtonStyle& before = Add(L"before", 250, 10);
  ButtonStyle* o[3] = {};
  for (int i = 0; i < 3; ++i) (o[i] = &Add(L"o" + std::to_wstring(i), 10, 30 + 40 * i, 120, 32, L"fra"))->SetMode(modeOption);
  o[1]->SetValue(true);
  o[2]->SetEnabled(false);
  SetFocus(before.hWnd());
  TakeLog();
  const struct { UINT key; ButtonStyle* to; const wchar_t* selection; } steps[] = {
      {VK_TAB, o[1], L"010"}, {VK_DOWN, o[0], L"100"}, {VK_UP, o[1], L"010"}, {VK_RIGHT, o[0], L"100"}};
  for (const auto& step : steps) {
    PressKey(step.key);
    EXPECT_EQ(std::make_pair(GetFocus(), Values({o[0], o[1], o[2]})), std::make_pair(step.to->hWnd(), std::wstring(step.selection)))
        << step.key;
  }
  EXPECT_EQ(TakeLog(), (Log{L"o1.KeyUp(9)", L"o0.Click", L"o1.Click", L"o0.Click"}));
  // Reached by the keyboard, the member draws its focus indicator until the focus leaves it.
  EXPECT_EQ(std::make_pair(o[0]->State().keyboardFocus, o[1]->State().keyboardFocus), std::make_pair(true, false));
  SetFocus(before.hWnd());
  EXPECT_FALSE(o[0]->State().keyboardFocus);
}

// A check button's focus indicator (row 4, against the unfocused row) follows the form's cues: hidden
// after a click's focus, drawn at once when Alt or Tab shows them, gone when they are hidden again.
TEST_F(Behaviour, TheFocusIndicatorFollowsTheFormsKeyboardCues) {
  ButtonStyle& before = Add(L"before", 10, 100);
  ButtonStyle& b = Add(L"b");
  b.SetMode(modeCheck);
  auto row = [&] {
    Canvas canvas(120, 32, RGB(255, 0, 255));
    SendMessageW(b.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int x = 4; x < 116; ++x) pixels.push_back(canvas.At(x, 4));
    return pixels;
  };
  auto cues = [&](HWND w) { return SendMessageW(w, WM_QUERYUISTATE, 0, 0) & (UISF_HIDEFOCUS | UISF_HIDEACCEL); };
  SetFocus(before.hWnd());
  const std::vector<COLORREF> unfocused = row();
  SendMessageW(form_->hWnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  EXPECT_EQ(cues(b.hWnd()), UISF_HIDEFOCUS | UISF_HIDEACCEL) << "the form's state reaches every control";
  SetFocus(b.hWnd());  // as a click gives it
  EXPECT_EQ(row(), unfocused);
  // Alt pressed (released alone it would open the system menu's modal loop).
  PostMessageW(b.hWnd(), WM_SYSKEYDOWN, VK_MENU, 0x20380001);
  Pump(0);
  EXPECT_EQ(cues(b.hWnd()), 0);
  const std::vector<COLORREF> shown = row();
  int dots = 0;
  for (size_t i = 0; i < shown.size(); ++i) dots += shown[i] != unfocused[i];
  EXPECT_GE(dots, 50) << "every other pixel of the outline";
  SendMessageW(form_->hWnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_EQ(row(), unfocused);
  SetFocus(before.hWnd());
  PressKey(VK_TAB);
  ASSERT_EQ(GetFocus(), b.hWnd());
  EXPECT_EQ(row(), shown);
}

// A form is first shown with its cues hidden, unless the system is set to show them always.
TEST_F(Behaviour, AShownFormHidesItsCuesUnlessTheSystemShowsThemAlways) {
  BOOL always = FALSE;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0));
  for (BOOL setting : {FALSE, TRUE}) {
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(setting)), 0));
    OpenForm(true);
    ButtonStyle& b = Add(L"b");
    ShowWindow(form_->hWnd(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(SendMessageW(b.hWnd(), WM_QUERYUISTATE, 0, 0), setting ? 0 : UISF_HIDEFOCUS | UISF_HIDEACCEL);
  }
  SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(always)), 0);
}

}  // namespace
}  // namespace tessel::test::button
