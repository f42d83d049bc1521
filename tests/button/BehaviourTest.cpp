#include <string>

#include "tests/button/ButtonHarness.h"

namespace tessel::test::button {
namespace {

using Behaviour = ButtonTest;

TEST_F(Behaviour, ClickAndDoubleClickRaiseClickOnceEach) {
  ButtonStyle& b = Add(L"b");
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_TRUE(b.State().Has(isPressed));
  Send(b, WM_LBUTTONUP);
  Send(b, WM_LBUTTONDBLCLK, MK_LBUTTON);
  EXPECT_TRUE(b.State().Has(isPressed)) << "the second press shows pressed";
  Send(b, WM_LBUTTONUP);
  EXPECT_EQ(TakeLog(), (Log{L"b.MouseDown(1)", L"b.MouseUp(1)", L"b.Click", L"b.DoubleClick(1)", L"b.MouseDown(1)",
                            L"b.MouseUp(1)"}));
  EXPECT_FALSE(b.State().Has(isPressed));
}

// The space bar presses like the left button; check and option buttons raise KeyUp before their
// Click, command buttons after it.
TEST_F(Behaviour, SpaceBarPressesAndClicksPerMode) {
  struct Case {
    int32_t mode;
    Log log;
    bool value;
  };
  const Case cases[] = {
      {modeCommand, {L"b.KeyDown(32)", L"b.Click", L"b.KeyUp(32)"}, false},
      {modeCheck, {L"b.KeyDown(32)", L"b.KeyUp(32)", L"b.Click"}, true},
      {modeOption, {L"b.KeyDown(32)", L"b.KeyUp(32)", L"b.Click"}, true},
  };
  for (const Case& c : cases) {
    ButtonStyle& b = Add(L"b");
    b.SetMode(c.mode);
    Key(b, VK_SPACE, true);
    EXPECT_TRUE(b.State().Has(isPressed));
    EXPECT_FALSE(b.State().Has(isHot)) << "not hovered: hot only for the pressed drawing";
    Key(b, VK_SPACE, false);
    EXPECT_EQ(TakeLog(), c.log) << "mode " << c.mode;
    EXPECT_EQ(b.Value(), c.value);
    form_->Remove(L"b");
  }
}

TEST_F(Behaviour, ArrowKeysGoToTheContainerAsPostedKeyDowns) {
  ButtonStyle& b = Add(L"b");
  MSG stale;
  while (PeekMessageW(&stale, form_->hWnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
  }
  const std::pair<UINT, LPARAM> arrows[] = {
      {VK_RIGHT, 0x004D0001}, {VK_DOWN, 0x00500001}, {VK_LEFT, 0x004B0001}, {VK_UP, 0x00480001}};
  for (auto [vk, data] : arrows) {
    Key(b, vk, true);
    Key(b, vk, false);
    MSG posted{};
    ASSERT_TRUE(PeekMessageW(&posted, form_->hWnd(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) << vk;
    EXPECT_EQ(posted.wParam, vk);
    EXPECT_EQ(posted.lParam, data) << vk;
  }
  EXPECT_EQ(TakeLog(), Log{}) << "arrow keys raise neither KeyDown nor KeyUp";
}

// Enter reaches the default button as its access key: a command button clicks, a check button
// does nothing; the default button is told through DisplayAsDefault.
TEST_F(Behaviour, EnterOnTheDefaultButtonClicksOnlyCommandButtons) {
  for (int32_t mode : {modeCommand, modeCheck}) {
    ButtonStyle& b = Add(L"b");
    b.SetMode(mode);
    form_->SetDefaultButton(L"b");
    EXPECT_TRUE(b.State().Has(isDefault));
    MSG enter{form_->hWnd(), WM_KEYDOWN, VK_RETURN, 0x001C0001};
    EXPECT_TRUE(form_->PreTranslateMessage(enter));
    EXPECT_EQ(TakeLog(), mode == modeCommand ? Log{L"b.Click"} : Log{});
    EXPECT_FALSE(b.Value());
    form_->SetDefaultButton(L"");
    EXPECT_FALSE(b.State().Has(isDefault));
    form_->Remove(L"b");
  }
}

// Hover: the first move over the window turns the button hot and starts the 50 ms timer 237 on
// its own window; the real timer ends it once the cursor is over another window. A press dragged
// off is drawn unpressed, pressed again back over the button, and released off it without Click.
TEST_F(Behaviour, HoverTimerAndPressDraggedOff) {
  ButtonStyle& b = Add(L"b");
  Hover(&b);
  EXPECT_TRUE(b.State().Has(isHot));
  EXPECT_EQ(GetPropA(b.hWnd(), "lv_ClassID"), static_cast<HANDLE>(&b));
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetPropA(b.hWnd(), "lv_TimerID")), 237u);
  Send(b, WM_MOUSEMOVE, 0, At(6, 6));
  Pump(120);
  EXPECT_TRUE(b.State().isHoverTracking) << "ticks while the cursor stays keep the hover";
  Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_TRUE(b.State().PressedLook());
  Hover(nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !b.State().isHoverTracking; }, 1000));
  EXPECT_TRUE(b.State().Has(isPressed));
  EXPECT_FALSE(b.State().PressedLook()) << "off the control the press is drawn unpressed";
  EXPECT_EQ(KillTimer(b.hWnd(), 237), FALSE) << "the timer stopped itself";
  Hover(&b, MK_LBUTTON);
  EXPECT_TRUE(b.State().PressedLook()) << "back over it, pressed again";
  EXPECT_TRUE(b.State().isPressedTracking);
  Hover(nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !b.State().isHoverTracking; }, 1000));
  Send(b, WM_LBUTTONUP, 0, At(-20, -20));
  EXPECT_FALSE(b.State().Has(isHot));
  EXPECT_EQ(TakeLog(), (Log{L"b.MouseOnButton(1)", L"b.MouseDown(1)", L"b.MouseOnButton(0)", L"b.MouseOnButton(1)",
                            L"b.MouseOnButton(0)", L"b.MouseUp(1)"}));
}

// Three option buttons on one container: one selected at a time; a member switched to command
// mode leaves the group and one destroyed can never be reached again.
TEST_F(Behaviour, OptionGroupKeepsOneSelectedAcrossLeavingMembers) {
  ButtonStyle* o[4] = {};
  for (int i = 1; i <= 3; ++i) {
    o[i] = &Add(L"o" + std::to_wstring(i), 10, 10 + 40 * i);
    o[i]->SetMode(modeOption);
  }
  auto selected = [&] {
    std::wstring s;
    for (int i = 1; i <= 3; ++i) s += o[i] && o[i]->Value() ? L'1' : L'0';
    return s;
  };
  HWND c = form_->hWnd();
  auto member = [&](int i) { return GetPropA(c, (std::to_string(i) + "lv_Obj").c_str()); };
  EXPECT_EQ(GetPropA(c, "lv_OptCount"), reinterpret_cast<HANDLE>(3));
  o[2]->SetValue(true);
  EXPECT_EQ(selected(), L"010");
  Send(*o[1], WM_LBUTTONDOWN, MK_LBUTTON);
  Send(*o[1], WM_LBUTTONUP);
  EXPECT_EQ(selected(), L"100");
  Send(*o[1], WM_LBUTTONDOWN, MK_LBUTTON);
  Send(*o[1], WM_LBUTTONUP);
  EXPECT_EQ(TakeLog(), (Log{L"o1.MouseDown(1)", L"o1.MouseUp(1)", L"o1.Click", L"o1.MouseDown(1)", L"o1.MouseUp(1)"}))
      << "a selected option button clicked again raises no Click";

  o[2]->SetMode(modeCommand);
  EXPECT_EQ(GetPropA(c, "lv_OptCount"), reinterpret_cast<HANDLE>(2));
  EXPECT_EQ(member(1), static_cast<HANDLE>(o[1]));
  EXPECT_EQ(member(2), static_cast<HANDLE>(o[3]));
  o[3]->SetValue(true);
  EXPECT_EQ(selected(), L"001");

  form_->Remove(L"o1");
  o[1] = nullptr;
  EXPECT_EQ(GetPropA(c, "lv_OptCount"), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(member(1), static_cast<HANDLE>(o[3]));
  EXPECT_EQ(member(2), nullptr);
  ButtonStyle& o4 = Add(L"o4", 200, 10);
  o4.SetMode(modeOption);
  o4.SetValue(true);
  EXPECT_FALSE(o[3]->Value());
  EXPECT_TRUE(o4.Value());
  form_->Remove(L"o3");
  form_->Remove(L"o4");
  EXPECT_EQ(GetPropA(c, "lv_OptCount"), nullptr) << "the last member takes the count with it";
}

TEST_F(Behaviour, FocusIntoAGroupWithoutSelectionSelectsAndClicks) {
  ButtonStyle& a = Add(L"a", 10, 10);
  ButtonStyle& b = Add(L"b", 10, 60);
  a.SetMode(modeOption);
  b.SetMode(modeOption);
  SetFocus(b.hWnd());
  EXPECT_TRUE(b.Value());
  SetFocus(a.hWnd());
  EXPECT_FALSE(a.Value()) << "a member is selected already";
  EXPECT_EQ(TakeLog(), Log{L"b.Click"});
}

}  // namespace
}  // namespace tessel::test::button
