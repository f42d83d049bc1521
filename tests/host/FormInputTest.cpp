#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/Form.h"
#include "server/contract/Twips.h"
#include "tests/host/Recorder.h"
#include "tests/support/Keys.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A control whose focus lives in two edit boxes of its own (windowed constituents).
class TwoEdits : public Recorder {
 public:
  using Recorder::Recorder;
  void Initialize() override {
    Recorder::Initialize();
    for (int i = 0; i < 2; ++i)
      edits[i] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, i * 12, 60, 10, hWnd(),
                                 nullptr, nullptr, nullptr);
  }
  HWND edits[2] = {};
};

class FormInput : public ::testing::Test {
 protected:
  void SetUp() override {
    types.Register(L"TwoEdits", [this](ControlSite& site) -> std::unique_ptr<UserControl> {
      return std::make_unique<TwoEdits>(site, log);
    });
    form = Form::Create(L"Input", 6000, 4500, true, &types);
    form->SetHostServices(&host);
    SetForegroundWindow(form->hWnd());
    SetActiveWindow(form->hWnd());
    // Let the display's own activation of the new window arrive before the test moves the focus.
    for (int i = 0; i < 50 && GetForegroundWindow() != form->hWnd(); ++i) {
      Form::PumpMessages();
      Sleep(10);
    }
    Form::PumpMessages();
  }
  std::vector<std::wstring> Take() { return std::exchange(log, {}); }
  HWND Window(const wchar_t* name) { return form->Control(name)->hWnd(); }
  // Presses Tab (or Shift+Tab) n times and notes where the focus went each time.
  static std::vector<HWND> Walk(int n, bool shift = false) {
    std::vector<HWND> seen;
    for (int i = 0; i < n; ++i) {
      PressKey(VK_TAB, shift);
      seen.push_back(GetFocus());
    }
    return seen;
  }

  std::vector<std::wstring> log;
  ControlTypes types = RecorderTypes(log);
  RecordingHost host;
  std::unique_ptr<Form> form;
};

TEST_F(FormInput, MouseReachesTheControlInTwipsWithButtonShiftClickAndDoubleClick) {
  form->Add(L"Recorder", L"A", 0, 0, 3000, 1500);
  Take();
  const struct { UINT msg; WPARAM keys; int x, y; } sent[] = {
      {WM_MOUSEMOVE, 0, 4, 6}, {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 10, 5}, {WM_LBUTTONUP, MK_SHIFT, 11, 5},
      // A double click: down, up, click; then the double click and its release, with no second Click.
      {WM_LBUTTONDOWN, MK_LBUTTON, 1, 1}, {WM_LBUTTONUP, 0, 1, 1}, {WM_LBUTTONDBLCLK, MK_LBUTTON, 1, 1}, {WM_LBUTTONUP, 0, 1, 1},
      // Released outside the control: no Click. The right button never clicks.
      {WM_LBUTTONDOWN, MK_LBUTTON, 1, 1}, {WM_LBUTTONUP, 0, 500, 1}, {WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, 2, 2},
      {WM_RBUTTONUP, MK_CONTROL, 2, 2}};
  for (const auto& m : sent) SendMessageW(Window(L"A"), m.msg, m.keys, MAKELPARAM(m.x, m.y));
  const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  auto at = [&](int x, int y) { return L"," + std::to_wstring(x * tx) + L"," + std::to_wstring(y * ty) + L")"; };
  EXPECT_THAT(Take(), ElementsAre(L"A.MouseMove(0,0" + at(4, 6), L"A.MouseDown(1,1" + at(10, 5), L"A.MouseUp(1,1" + at(11, 5),
                                  L"A.Click", L"A.MouseDown(1,0" + at(1, 1), L"A.MouseUp(1,0" + at(1, 1), L"A.Click",
                                  L"A.DblClick", L"A.MouseUp(1,0" + at(1, 1), L"A.MouseDown(1,0" + at(1, 1),
                                  L"A.MouseUp(1,0" + at(500, 1), L"A.MouseDown(2,2" + at(2, 2), L"A.MouseUp(2,2" + at(2, 2)));
  // In design mode the controls get no input.
  form->SetUserMode(false);
  for (const auto& m : sent) SendMessageW(Window(L"A"), m.msg, m.keys, MAKELPARAM(m.x, m.y));
  SendMessageW(Window(L"A"), WM_CHAR, 'x', 1);
  EXPECT_THAT(Take(), ElementsAre(L"A.AmbientChanged(UserMode)"));
}

TEST_F(FormInput, TabAndShiftTabWalkTheControlsAndTheirWindowedConstituentsInTabOrder) {
  form->Add(L"FocusRecorder", L"A", 0, 0, 1500, 450);
  auto& b = static_cast<TwoEdits&>(form->Add(L"TwoEdits", L"B", 0, 600, 1500, 450));
  form->Add(L"Recorder", L"Plain", 0, 1200, 1500, 450);  // nothing in it takes the focus
  form->Add(L"FocusRecorder", L"C", 0, 1800, 1500, 450);
  SetFocus(Window(L"A"));
  ASSERT_EQ(GetFocus(), Window(L"A"));

  EXPECT_THAT(Walk(4), ElementsAre(b.edits[0], b.edits[1], Window(L"C"), Window(L"A")));
  EXPECT_THAT(Walk(3, true), ElementsAre(Window(L"C"), b.edits[1], b.edits[0]));
  // The Tab never reached the edit as a character.
  EXPECT_EQ(GetWindowTextLengthW(b.edits[0]), 0);

  // A new tab order; disabled and hidden controls and those without TabStop are passed over.
  form->SetTabIndex(L"C", 0);
  EXPECT_THAT(form->TabOrder(), ElementsAre(L"C", L"A", L"B", L"Plain"));
  EXPECT_EQ(form->Site(L"A")->Extender().tabIndex, 1);
  SetFocus(Window(L"C"));
  EXPECT_THAT(Walk(1), ElementsAre(Window(L"A")));
  form->Site(L"B")->SetEnabled(false);
  EXPECT_THAT(Walk(1), ElementsAre(Window(L"C")));
  form->Site(L"B")->SetEnabled(true);
  form->SetTabStop(L"A", false);
  EXPECT_THAT(Walk(1), ElementsAre(b.edits[0]));
  form->Site(L"C")->SetVisible(false);
  SetFocus(b.edits[1]);
  EXPECT_THAT(Walk(1), ElementsAre(b.edits[0]));
}

TEST_F(FormInput, FocusNotificationsFollowTheFocusBetweenControls) {
  form->Add(L"FocusRecorder", L"A", 0, 0, 1500, 450);
  form->Add(L"TwoEdits", L"B", 0, 600, 1500, 450);
  SetFocus(Window(L"A"));
  Take();
  PressKey(VK_TAB);  // into B's first edit
  PressKey(VK_TAB);  // B's second edit: still inside B
  PressKey(VK_TAB);  // back to A, which then sees the release of the Tab key
  EXPECT_THAT(Take(), ElementsAre(L"A.ExitFocus", L"B.EnterFocus", L"A.LostFocus", L"B.ExitFocus",
                                  L"A.EnterFocus", L"A.GotFocus", L"A.KeyUp(9)"));
}

TEST_F(FormInput, EnterAndEscapeGoToTheDefaultAndCancelButtonsAndAccessKeysFocusTheirControl) {
  form->Add(L"TwoEdits", L"Field", 0, 0, 1500, 450);
  auto& ok = static_cast<Recorder&>(form->Add(L"FocusRecorder", L"Ok", 0, 600, 1500, 450));
  form->Add(L"FocusRecorder", L"Cancel", 0, 1200, 1500, 450);
  ok.accessKeys = L"O";
  HWND field = static_cast<TwoEdits*>(form->Control(L"Field"))->edits[0];

  // Without a default button Enter stays with the edit.
  SetFocus(field);
  Take();
  PressKey(VK_RETURN);
  EXPECT_THAT(Take(), IsEmpty());

  form->SetDefaultButton(L"Ok");
  form->SetCancelButton(L"Cancel");
  Take();
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  EXPECT_THAT(Take(), ElementsAre(L"Ok.AccessKeyPress(13)", L"Cancel.AccessKeyPress(27)"));
  EXPECT_EQ(GetFocus(), field);  // Enter and Esc do not move the focus

  // Alt+O: the system character goes to the control that answers to it, which gets the focus.
  PostMessageW(field, WM_SYSCHAR, 'o', 1 | (1 << 29));
  Form::PumpMessages();
  EXPECT_THAT(Take(), ElementsAre(L"Field.ExitFocus", L"Ok.EnterFocus", L"Ok.GotFocus", L"Ok.AccessKeyPress(111)"));
  EXPECT_EQ(GetFocus(), ok.hWnd());

  form->SetCancelButton(L"");
  PressKey(VK_ESCAPE);
  EXPECT_THAT(Take(), ElementsAre(L"Ok.KeyDown(27)", L"Ok.KeyPress(27)", L"Ok.KeyUp(27)"));
}

// The control shown as default moves to a focused control that takes Enter and back: the one
// losing the look hears it first.
TEST_F(FormInput, DisplayAsDefaultMovesToTheFocusedControlThatTakesEnter) {
  form->Add(L"TwoEdits", L"Field", 0, 0, 1500, 450);
  form->Add(L"FocusRecorder", L"Ok", 0, 600, 1500, 450);
  auto& push = static_cast<Recorder&>(form->Add(L"FocusRecorder", L"Push", 0, 1200, 1500, 450));
  push.takesEnter = true;
  SetFocus(static_cast<TwoEdits*>(form->Control(L"Field"))->edits[0]);
  form->SetDefaultButton(L"Ok");
  Take();
  SetFocus(push.hWnd());
  PressKey(VK_RETURN);
  EXPECT_TRUE(push.Ambient().displayAsDefault);
  SetFocus(static_cast<TwoEdits*>(form->Control(L"Field"))->edits[0]);
  EXPECT_THAT(Take(), ElementsAre(L"Field.ExitFocus", L"Push.EnterFocus", L"Ok.AmbientChanged(DisplayAsDefault)",
                                  L"Push.AmbientChanged(DisplayAsDefault)", L"Push.GotFocus",
                                  L"Push.AccessKeyPress(13)", L"Push.KeyUp(13)", L"Push.ExitFocus",
                                  L"Field.EnterFocus", L"Push.AmbientChanged(DisplayAsDefault)",
                                  L"Ok.AmbientChanged(DisplayAsDefault)", L"Push.LostFocus"));
  EXPECT_TRUE(form->Control(L"Ok")->Ambient().displayAsDefault);
}

TEST_F(FormInput, PlatformSendKeysTypesTextAndNamedKeysIntoTheFocusedWindow) {
  auto& field = static_cast<TwoEdits&>(form->Add(L"TwoEdits", L"Field", 0, 0, 1500, 450));
  form->Add(L"FocusRecorder", L"Ok", 0, 600, 1500, 450);
  form->SetDefaultButton(L"Ok");
  SetFocus(field.edits[0]);
  Take();
  // Plain characters, a brace-quoted "+", Backspace by name, then "~" (Enter) for the default button.
  PlatformHostServices().SendKeys(L"ab{+}c{BS}x~", true);
  EXPECT_THAT(Take(), ElementsAre(L"Ok.AccessKeyPress(13)"));
  // An unknown name is skipped and an unclosed brace ends the keys.
  PlatformHostServices().SendKeys(L"{NOPE}y{TAB", true);
  wchar_t text[16] = {};
  GetWindowTextW(field.edits[0], text, 16);
  EXPECT_STREQ(text, L"ab+xy");
  EXPECT_EQ(GetFocus(), field.edits[0]);
  // Controls reach the services through their site; the recorder passes the keys on.
  host.forwardKeys = true;
  form->Control(L"Ok")->Host().SendKeys(L"{TAB}", true);
  EXPECT_EQ(GetFocus(), field.edits[1]);
  EXPECT_THAT(host.calls, ElementsAre(L"SendKeys({TAB}|1)"));
  PlatformHostServices().SendKeys(L"{TAB}", false);
  Form::PumpMessages();
  EXPECT_EQ(GetFocus(), Window(L"Ok"));
  form->SetHostServices(nullptr);
  EXPECT_EQ(&form->Control(L"Ok")->Host(), &PlatformHostServices());
}

}  // namespace
}  // namespace tessel::test
