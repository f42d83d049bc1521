#include "tests/support/Prelude.h"

#include "server/contract/SystemHandles.h"
#include "tests/host/HostFixture.h"

namespace tessel::hosttest {
namespace {

using test::PressKey;
using FormLifecycle = FormTest;

// A property change marks the form until it is saved; saved bags leave out defaults; the last placed goes first.
TEST_F(FormLifecycle, NewLoadedAndFailingControlsGetTheirHandlersInOrderAndTerminateLastPlacedFirst) {
  auto form = NewForm();
  std::vector<std::wstring> changes;
  form->onPropertyChanged = [&](const std::wstring& control, std::wstring_view key) {
    changes.push_back(control + L":" + std::wstring(key));
  };
  auto& a = static_cast<Recorder&>(form->Add(L"Recorder", L"A", 150, 300, 1500, 450));
  EXPECT_THAT(Take(), ElementsAre(L"A.Initialize", L"A.InitProperties", L"A.Resize(1500x450)", L"A.Paint"));
  PropertyBag bag;
  bag.Write(L"Caption", std::wstring(L"stored"));
  ASSERT_NE(form->AddLoaded(L"recorder", L"B", ExtenderProperties{L"", 0, 900, 3000, 600}, bag), nullptr);  // any case
  EXPECT_THAT(Take(), ElementsAre(L"B.Initialize", L"B.ReadProperties", L"B.Resize(3000x600)", L"B.Paint"));
  EXPECT_EQ(static_cast<Recorder*>(form->Control(L"B"))->Caption(), L"stored");
  EXPECT_FALSE(form->Dirty());
  a.SetCaption(L"edited");
  EXPECT_TRUE(form->Dirty());
  EXPECT_THAT(changes, ElementsAre(L"A:Caption"));

  const std::vector<SavedControl> saved = form->Save();
  EXPECT_FALSE(form->Dirty());
  EXPECT_THAT(Take(), ElementsAre(L"A.WriteProperties", L"B.WriteProperties"));
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].type + L"|" + saved[1].extender.name + L"|" + std::to_wstring(saved[1].extender.top), L"Recorder|B|900");
  EXPECT_THAT(test::Keys(saved[0].bag), ElementsAre(L"Caption"));  // the size is at its default
  EXPECT_EQ(saved[0].bag.ReadString(L"Caption", L""), L"edited");

  // A failing read or a bad placement is reported, and the other controls stay.
  PropertyBag bad;
  bad.Write(L"Caption", std::wstring(L"x"));
  bad.Write(L"Size", int32_t{-5});
  const ExtenderProperties ext{L"", 0, 0, 1500, 300};
  EXPECT_NE(form->AddLoaded(L"Recorder", L"First", ext, bag), nullptr);
  EXPECT_EQ(form->AddLoaded(L"Recorder", L"Broken", ext, bad), nullptr);
  EXPECT_EQ(form->AddLoaded(L"NoSuchType", L"Ghost", ext, bag), nullptr);
  EXPECT_NE(form->AddLoaded(L"Recorder", L"Last", ext, bag), nullptr);
  ASSERT_EQ(form->LoadFailures().size(), 2u);
  const LoadFailure &f = form->LoadFailures()[0], &g = form->LoadFailures()[1];
  EXPECT_EQ(f.control + L"|" + f.type + L"|" + f.key + L"|" + g.control, L"Broken|Recorder|Size|Ghost");
  EXPECT_THAT(g.message, ::testing::HasSubstr("NoSuchType"));
  // The broken control was taken down again: terminated, and its window gone.
  auto logged = Take();
  EXPECT_THAT(std::vector<std::wstring>(logged.begin() + 4, logged.begin() + 7),
              ElementsAre(L"Broken.Initialize", L"Broken.ReadProperties", L"Broken.Terminate"));
  // A name taken in any case, an unknown type and no name are refused.
  for (auto [type, name] : {std::pair{L"Recorder", L"first"}, {L"Unknown", L"C"}, {L"Recorder", L""}})
    EXPECT_THROW(form->Add(type, name, 0, 0, 1500, 450), std::invalid_argument) << type << name;
  EXPECT_THAT(form->ControlNames(), ElementsAre(L"A", L"B", L"First", L"Last"));
  EXPECT_EQ(form->Control(L"Broken"), nullptr);
  int children = 0;
  for (HWND w = GetWindow(form->hWnd(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, 4);
  form.reset();
  EXPECT_THAT(Take(), ElementsAre(L"Last.Terminate", L"First.Terminate", L"B.Terminate", L"A.Terminate"));
}

TEST_F(FormLifecycle, PlacementIsConvertedFromTwipsWithTheScreenResolution) {
  auto form = NewForm();
  const int tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  UserControl& c = form->Add(L"Recorder", L"A", 10 * tx, 20 * ty, 100 * tx, 30 * ty);
  EXPECT_EQ(Edges(PlacedIn(c.hWnd(), form->hWnd())), Edges({10, 20, 110, 50}));
  EXPECT_EQ(std::vector<int>({c.ScaleWidth(), c.ScaleHeight(), form->ScaleWidth(), form->ScaleHeight()}),
            std::vector<int>({100 * tx, 30 * ty, TwipsFromPixelsX(PixelsFromTwipsX(6000)),
                              TwipsFromPixelsY(PixelsFromTwipsY(4500))}));
  Take();
  form->Site(L"A")->Move(0, 0, 100 * tx, 30 * ty);  // a move alone does not resize; a new size does, once
  EXPECT_THAT(Take(), IsEmpty());
  c.SetWidth(50 * tx);
  EXPECT_THAT(Take(), ElementsAre(L"A.Resize(" + std::to_wstring(50 * tx) + L"x" + std::to_wstring(30 * ty) + L")"));
  EXPECT_EQ(Edges(PlacedIn(c.hWnd(), form->hWnd())), Edges({0, 0, 50, 30}));
  EXPECT_THROW(c.SetHeight(-1), InvalidPropertyValue);
}

TEST_F(FormLifecycle, AmbientChangesReachEveryControl) {
  auto form = NewForm(false);
  Place(*form, {{L"Recorder", L"A"}, {L"Recorder", L"B"}});
  UserControl &a = *form->Control(L"A"), &b = *form->Control(L"B");
  EXPECT_TRUE(!a.Ambient().userMode && a.Ambient().displayName == L"A" && a.Ambient().backColor == kSysButtonFace);
  ASSERT_TRUE(a.Ambient().font);
  Take();
  form->SetBackColor(0x00336699);
  EXPECT_THAT(Take(), ElementsAre(L"A.AmbientChanged(BackColor)", L"B.AmbientChanged(BackColor)"));
  EXPECT_EQ(std::vector<OleColor>({b.Ambient().backColor, b.Site().ParentBackColor()}), std::vector<OleColor>(2, 0x00336699u));
  form->SetUserMode(true);
  form->SetUserMode(true);  // no change, no notification
  form->SetForeColor(0x000000FF);
  form->SetFont(Font::Create(FontDesc{L"Arial", 12.0f}));
  EXPECT_THAT(Take(), ElementsAre(L"A.AmbientChanged(UserMode)", L"B.AmbientChanged(UserMode)", L"A.AmbientChanged(ForeColor)",
                                  L"B.AmbientChanged(ForeColor)", L"A.AmbientChanged(Font)", L"B.AmbientChanged(Font)"));
  EXPECT_TRUE(a.Ambient().userMode);
  EXPECT_EQ(b.Ambient().font->Describe().name, L"Arial");
  form->SetDefaultButton(L"B");
  EXPECT_THAT(Take(), ElementsAre(L"B.AmbientChanged(DisplayAsDefault)"));
  EXPECT_TRUE(b.Ambient().displayAsDefault && !a.Ambient().displayAsDefault);
  EXPECT_THROW(form->SetDefaultButton(L"Nobody"), std::invalid_argument);
}

// Closed by its close box (the loop runs until the form is gone) or destroyed: the controls go first, once.
TEST_F(FormLifecycle, ClosingTheWindowTerminatesTheControlsOnceAndEndsTheLoop) {
  int closed = 0;
  auto form = NewForm(), other = NewForm();
  Place(*form, {{L"Recorder", L"A"}, {L"Recorder", L"B"}});
  Place(*other, {{L"Recorder", L"C"}});
  form->onClosed = other->onClosed = [&] { ++closed; };
  Take();
  PostMessageW(form->hWnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->RunMessageLoop(), 0);
  EXPECT_FALSE(form->IsOpen());
  EXPECT_THAT(Take(), ElementsAre(L"B.Terminate", L"A.Terminate"));
  form.reset();
  EXPECT_EQ(closed, 1);
  EXPECT_THAT(Take(), IsEmpty());
  DestroyWindow(other->hWnd());
  EXPECT_FALSE(other->IsOpen());
  EXPECT_EQ(closed, 2);
  EXPECT_THAT(Take(), ElementsAre(L"C.Terminate"));
  EXPECT_THROW(other->Add(L"Recorder", L"D", 0, 0, 1500, 450), std::logic_error);
}

// An active form of recorders whose host services are recorded.
class FormInput : public FormTest {
 protected:
  void SetUp() override {
    form = Form::Create(L"Input", 6000, 4500, true, &types);
    form->SetHostServices(&host);
    SetForegroundWindow(form->hWnd());
    SetActiveWindow(form->hWnd());
    // Let the display's own activation of the new window arrive before the test moves the focus.
    PumpUntil([&] { return GetForegroundWindow() == form->hWnd(); }, 500);
    Form::PumpMessages();
  }
  HWND Window(const wchar_t* name) { return form->Control(name)->hWnd(); }
  Recorder& Control(const wchar_t* name) { return *static_cast<Recorder*>(form->Control(name)); }
  HWND Edit(const wchar_t* name, int i = 0) { return Control(name).edits[i]; }
  // Presses Tab (or Shift+Tab) n times and notes where the focus went each time.
  static std::vector<HWND> Walk(int n, bool shift = false) {
    std::vector<HWND> seen;
    for (int i = 0; i < n; ++i) {
      PressKey(VK_TAB, shift);
      seen.push_back(GetFocus());
    }
    return seen;
  }
  // Hands a key to a window through the queue, as the keyboard does.
  static void Post(HWND to, UINT msg, WPARAM key, LPARAM flags = 1) {
    PostMessageW(to, msg, key, flags);
    Form::PumpMessages();
  }

  test::RecordingHost host;
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
  form->SetUserMode(false);  // in design mode the controls get no input
  for (const auto& m : sent) SendMessageW(Window(L"A"), m.msg, m.keys, MAKELPARAM(m.x, m.y));
  SendMessageW(Window(L"A"), WM_CHAR, 'x', 1);
  EXPECT_THAT(Take(), ElementsAre(L"A.AmbientChanged(UserMode)"));
}

TEST_F(FormInput, TabAndShiftTabWalkTheControlsAndTheirWindowedConstituentsInTabOrder) {
  Place(*form, {{L"FocusRecorder", L"A"}, {L"TwoEdits", L"B"}, {L"Recorder", L"Plain"}, {L"FocusRecorder", L"C"}});
  const HWND b0 = Edit(L"B"), b1 = Edit(L"B", 1);
  SetFocus(Window(L"A"));
  ASSERT_EQ(GetFocus(), Window(L"A"));
  Take();
  EXPECT_THAT(Walk(4), ElementsAre(b0, b1, Window(L"C"), Window(L"A")));
  // A window loses the focus before its control hears it left; B's edits are one stop; the target sees Tab's release.
  EXPECT_THAT(Take(), ElementsAre(L"A.LostFocus", L"A.ExitFocus", L"B.EnterFocus", L"B.ExitFocus", L"C.EnterFocus",
                                  L"C.GotFocus", L"C.KeyUp(9)", L"C.LostFocus", L"C.ExitFocus", L"A.EnterFocus",
                                  L"A.GotFocus", L"A.KeyUp(9)"));
  EXPECT_THAT(Walk(3, true), ElementsAre(Window(L"C"), b1, b0));
  EXPECT_EQ(GetWindowTextLengthW(b0), 0);  // the Tab never reached the edit as a character

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
  EXPECT_THAT(Walk(1), ElementsAre(b0));
  form->Site(L"C")->SetVisible(false);
  SetFocus(b1);
  EXPECT_THAT(Walk(1), ElementsAre(b0));
}

// The default look moves to a focused control that takes Enter and back, the one losing it hearing first.
TEST_F(FormInput, EnterEscapeAndAccessKeysReachTheirControlsAndTheDefaultLookMovesToAControlTakingEnter) {
  Place(*form, {{L"TwoEdits", L"Field"}, {L"FocusRecorder", L"Ok"}, {L"FocusRecorder", L"Cancel"}, {L"FocusRecorder", L"Push"}});
  Control(L"Ok").accessKeys = L"O";
  Control(L"Push").takesEnter = true;
  SetFocus(Edit(L"Field"));
  Take();
  PressKey(VK_RETURN);
  EXPECT_THAT(Take(), IsEmpty());  // without a default button Enter stays with the edit

  form->SetDefaultButton(L"Ok");
  form->SetCancelButton(L"Cancel");
  Take();
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  EXPECT_THAT(Take(), ElementsAre(L"Ok.AccessKeyPress(13)", L"Cancel.AccessKeyPress(27)"));
  EXPECT_EQ(GetFocus(), Edit(L"Field"));  // Enter and Esc do not move the focus
  // Alt+O: the system character goes to the control that answers to it, which gets the focus.
  Post(Edit(L"Field"), WM_SYSCHAR, 'o', 1 | (1 << 29));
  EXPECT_THAT(Take(), ElementsAre(L"Field.ExitFocus", L"Ok.EnterFocus", L"Ok.GotFocus", L"Ok.AccessKeyPress(111)"));
  EXPECT_EQ(GetFocus(), Window(L"Ok"));
  form->SetCancelButton(L"");
  PressKey(VK_ESCAPE);
  EXPECT_THAT(Take(), ElementsAre(L"Ok.KeyDown(27)", L"Ok.KeyPress(27)", L"Ok.KeyUp(27)"));

  SetFocus(Edit(L"Field"));
  Take();
  SetFocus(Window(L"Push"));
  PressKey(VK_RETURN);
  EXPECT_TRUE(Control(L"Push").Ambient().displayAsDefault);
  SetFocus(Edit(L"Field"));
  EXPECT_THAT(Take(), ElementsAre(L"Field.ExitFocus", L"Push.EnterFocus", L"Ok.AmbientChanged(DisplayAsDefault)",
                                  L"Push.AmbientChanged(DisplayAsDefault)", L"Push.GotFocus",
                                  L"Push.AccessKeyPress(13)", L"Push.KeyUp(13)", L"Push.LostFocus",
                                  L"Push.ExitFocus", L"Field.EnterFocus", L"Push.AmbientChanged(DisplayAsDefault)",
                                  L"Ok.AmbientChanged(DisplayAsDefault)"));
  EXPECT_TRUE(Control(L"Ok").Ambient().displayAsDefault);
}

// A frame hidden or disabled, at either depth: Tab passes its controls over, access key, Enter and Esc miss them.
TEST_F(FormInput, OnlyControlsWhoseFramesAreAllVisibleAndEnabledTakeTabAccessKeysEnterAndEscape) {
  form->Add(L"FocusRecorder", L"A", 0, 0, 1500, 450);
  form->Add(L"Holder", L"Outer", 0, 600, 3000, 1500);
  form->Add(L"Holder", L"Inner", 0, 0, 2000, 1000, L"Outer");
  form->Add(L"FocusRecorder", L"In", 0, 0, 1500, 450, L"Inner");
  form->Add(L"FocusRecorder", L"Z", 0, 2400, 1500, 450);
  Control(L"In").accessKeys = L"I";
  form->SetDefaultButton(L"In");
  form->SetCancelButton(L"In");
  for (const wchar_t* frame : {L"Outer", L"Inner"}) {
    for (bool hide : {true, false}) {
      SCOPED_TRACE(testing::Message() << frame << (hide ? " hidden" : " disabled"));
      auto keep = [&](bool on) { hide ? form->Site(frame)->SetVisible(on) : form->Site(frame)->SetEnabled(on); };
      keep(false);
      SetFocus(Window(L"A"));
      EXPECT_THAT(Walk(2), ElementsAre(Window(L"Z"), Window(L"A")));
      EXPECT_THAT(Walk(1, true), ElementsAre(Window(L"Z")));
      Take();
      PostMessageW(GetFocus(), WM_SYSCHAR, 'i', 1 | (1 << 29));
      PressKey(VK_RETURN);
      PressKey(VK_ESCAPE);
      for (const std::wstring& line : Take()) EXPECT_NE(line.rfind(L"In.", 0), 0u) << line;
      keep(true);
      SetFocus(Window(L"A"));
      EXPECT_THAT(Walk(1), ElementsAre(Window(L"In")));
    }
  }
}

// As among native radio buttons: Tab enters a group at its selected member (else its first), arrows
// walk the members that can take the focus, round the end, and keyboard cues show from then on.
TEST_F(FormInput, TabEntersAnOptionGroupAtItsSelectedMemberAndArrowsWalkTheGroup) {
  Place(*form, {{L"FocusRecorder", L"A"}, {L"Option", L"O0"}, {L"Option", L"O1"}, {L"Option", L"O2"}, {L"FocusRecorder", L"Z"}});
  const HWND o[] = {Window(L"O0"), Window(L"O1"), Window(L"O2")};
  Control(L"O1").selected = true;
  form->Site(L"O2")->SetEnabled(false);
  SendMessageW(form->hWnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  SetFocus(Window(L"A"));
  EXPECT_THAT(Walk(2), ElementsAre(o[1], Window(L"Z")));
  EXPECT_THAT(Walk(1, true), ElementsAre(o[1]));
  EXPECT_EQ(SendMessageW(o[1], WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
  // {arrow, where the focus goes}: O2 is disabled. An arrow while the focus is elsewhere moves nothing.
  const std::pair<UINT, HWND> arrows[] = {{VK_DOWN, o[0]}, {VK_DOWN, o[1]}, {VK_UP, o[0]}, {VK_RIGHT, o[1]},
                                          {VK_LEFT, o[0]}, {0, Window(L"Z")}, {VK_DOWN, Window(L"Z")}};
  for (const auto& [key, to] : arrows) {
    if (key == 0) SetFocus(to);
    else Post(form->hWnd(), WM_KEYDOWN, key);
    EXPECT_EQ(GetFocus(), to) << key;
  }
  Control(L"O1").selected = false;
  EXPECT_THAT(Walk(2), ElementsAre(Window(L"A"), o[0]));
}
// After a move another hook refuses, and with the activation taken by another thread mid-walk, the default
// look and Enter go by the system's focus, which comes back where it was when the form is active again.
HWND refusedFocus = nullptr;
LRESULT CALLBACK RefuseFocus(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_SETFOCUS && reinterpret_cast<HWND>(wp) == refusedFocus) return 1;
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(FormInput, TheFormGoesByTheSystemsFocusWhenAMoveIsRefusedOrTheActivationLeaves) {
  form.reset();  // the refusing hook sees each move after the form's own hooks have
  HHOOK refuse = SetWindowsHookExW(WH_CBT, RefuseFocus, nullptr, GetCurrentThreadId());
  form = Form::Create(L"Input", 6000, 4500, true, &types);
  form->SetHostServices(&host);
  Place(*form, {{L"TwoEdits", L"Field"}, {L"FocusRecorder", L"Ok"}, {L"FocusRecorder", L"Push"}, {L"FocusRecorder", L"Check"}});
  const HWND push = Window(L"Push");
  Control(L"Push").takesEnter = true;
  form->SetDefaultButton(L"Ok");
  HWND focus = nullptr;  // where the focus is, or was when the form lost the activation
  auto expectEnterGoesBy = [&](const char* step) {
    SCOPED_TRACE(step);
    if (GetFocus()) focus = GetFocus();
    const bool onPush = focus == push;
    EXPECT_EQ(Control(L"Push").Ambient().displayAsDefault, onPush);
    EXPECT_EQ(Control(L"Ok").Ambient().displayAsDefault, !onPush);
    Take();
    Post(focus, WM_KEYDOWN, VK_RETURN);
    EXPECT_THAT(Take(), ElementsAre(onPush ? L"Push.AccessKeyPress(13)" : L"Ok.AccessKeyPress(13)"));
  };
  SetFocus(push);
  refusedFocus = Window(L"Check");
  SetFocus(refusedFocus);
  EXPECT_EQ(GetFocus(), push);
  expectEnterGoesBy("a refused move");
  refusedFocus = nullptr;
  UnhookWindowsHookEx(refuse);

  // Another thread's window takes the activation between two Tabs, and gives it back at the end.
  const unique_hfile taken(CreateEventW(nullptr, TRUE, FALSE, nullptr)), release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread other([&] {
    const unique_hwnd w(CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                        nullptr, nullptr, nullptr, nullptr));
    SetForegroundWindow(w.get());
    SetActiveWindow(w.get());
    SetEvent(taken.get());
    const HANDLE wait = release.get();
    while (MsgWaitForMultipleObjects(1, &wait, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) Form::PumpMessages();
  });
  const HWND walk[] = {Edit(L"Field"), Edit(L"Field", 1), Window(L"Ok"), push, Window(L"Check")};
  SetFocus(Window(L"Check"));
  for (size_t i = 0; i < std::size(walk); ++i) {
    if (i == 2) {
      WaitForSingleObject(taken.get(), 5000);
      Form::PumpMessages();
    }
    Post(GetFocus() ? GetFocus() : focus, WM_KEYDOWN, VK_TAB);
    focus = GetFocus() ? GetFocus() : focus;
    EXPECT_EQ(focus, walk[i]) << i;
    expectEnterGoesBy("in the walk");
  }
  SetEvent(release.get());
  other.join();
  // The form made active again by its own thread, once the other window's going is handled, puts
  // the focus back where the walk left it; read before another program can take the activation.
  Form::PumpMessages();
  SetActiveWindow(form->hWnd());
  EXPECT_EQ(GetFocus(), walk[std::size(walk) - 1]);
  expectEnterGoesBy("active again");
}

// A shown form's first tab stop (never one in a hidden frame) takes the focus once pumped; a hidden form's when shown.
TEST_F(FormInput, AShownFormPutsTheFocusOnItsFirstTabStop) {
  SetFocus(form->hWnd());
  form->Add(L"Recorder", L"Plain", 0, 0, 1500, 450);
  EXPECT_EQ(GetFocus(), form->hWnd());
  form->Add(L"Holder", L"Frame", 0, 600, 3000, 1500);
  form->Site(L"Frame")->SetVisible(false);
  form->Add(L"FocusRecorder", L"Hidden", 0, 0, 1500, 450, L"Frame");
  EXPECT_EQ(GetFocus(), form->hWnd());
  form->Add(L"FocusRecorder", L"First", 0, 2400, 1500, 450);
  Form::PumpMessages();  // once the program is back in its message loop, as a dialog's
  EXPECT_EQ(GetFocus(), Window(L"First"));
  form->Add(L"FocusRecorder", L"Second", 0, 3000, 1500, 450);
  EXPECT_EQ(GetFocus(), Window(L"First"));

  auto hidden = Form::Create(L"Hidden", 3000, 1500, true, &types, FormDisplay::Hidden);
  Place(*hidden, {{L"Recorder", L"Plain2"}, {L"FocusRecorder", L"Target"}});
  EXPECT_NE(GetFocus(), hidden->Control(L"Target")->hWnd());
  ShowWindow(hidden->hWnd(), SW_SHOW);
  Form::PumpMessages();
  EXPECT_EQ(GetFocus(), hidden->Control(L"Target")->hWnd());
}

// The form watches the focus of windows it did not make, and leaves nothing on them: a window that
// had the focus and was moved out gets its own procedure back with the last form, and one that was
// subclassed again since keeps working through the chain.
TEST_F(FormInput, WindowsThatHadTheFocusGetTheirOwnProcedureBackWithTheLastForm) {
  const auto edit = [&](int y) {
    return CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, y, 100, 20, form->hWnd(), nullptr,
                           nullptr, nullptr);
  };
  const HWND restored = edit(40), chained = edit(70);
  const LONG_PTR own = GetWindowLongPtrW(restored, GWLP_WNDPROC);
  for (HWND w : {restored, chained}) {
    SetFocus(w);
    ASSERT_EQ(GetFocus(), w);
  }
  static WNDPROC before = nullptr;
  before = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      chained, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        return CallWindowProcW(before, w, m, wp, lp);
      })));
  const unique_hwnd top(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                        nullptr, nullptr));
  for (HWND w : {restored, chained}) SetParent(w, top.get());
  form.reset();
  EXPECT_EQ(GetWindowLongPtrW(restored, GWLP_WNDPROC), own);
  SetWindowTextW(chained, L"still");
  EXPECT_EQ(GetWindowTextLengthW(chained), 5);
}

TEST_F(FormInput, PlatformSendKeysTypesTextAndNamedKeysIntoTheFocusedWindow) {
  Place(*form, {{L"TwoEdits", L"Field"}, {L"FocusRecorder", L"Ok"}});
  form->SetDefaultButton(L"Ok");
  SetFocus(Edit(L"Field"));
  Take();
  // Plain characters, a brace-quoted "+", Backspace by name, then "~" (Enter) for the default button.
  PlatformHostServices().SendKeys(L"ab{+}c{BS}x~", true);
  EXPECT_THAT(Take(), ElementsAre(L"Ok.AccessKeyPress(13)"));
  PlatformHostServices().SendKeys(L"{NOPE}y{TAB", true);  // an unknown name is skipped, an unclosed brace ends
  wchar_t text[16] = {};
  GetWindowTextW(Edit(L"Field"), text, 16);
  EXPECT_STREQ(text, L"ab+xy");
  EXPECT_EQ(GetFocus(), Edit(L"Field"));
  // Controls reach the services through their site; the recorder passes the keys on.
  host.forwardKeys = true;
  form->Control(L"Ok")->Host().SendKeys(L"{TAB}", true);
  EXPECT_EQ(GetFocus(), Edit(L"Field", 1));
  EXPECT_THAT(host.calls, ElementsAre(L"SendKeys({TAB}|1)"));
  PlatformHostServices().SendKeys(L"{TAB}", false);
  Form::PumpMessages();
  EXPECT_EQ(GetFocus(), Window(L"Ok"));
  form->SetHostServices(nullptr);
  EXPECT_EQ(&form->Control(L"Ok")->Host(), &PlatformHostServices());
}

}  // namespace
}  // namespace tessel::hosttest
