// What a screen reader finds through the system's own entry points: the tree with each element's
// details and place, default actions, win events, and clients on other threads.
#include "tests/support/Prelude.h"
#include <oleacc.h>

#include <semaphore>

#include "button/ButtonStyle.h"
#include "frames/TzFrames.h"
#include "host/AccessibleObject.h"
#include "tests/inputs/TextInputHarness.h"
#include "tests/support/GdiCount.h"
#include "tests/support/Leaks.h"

namespace tessel::test {
namespace {

using Microsoft::WRL::ComPtr;
using Lines = std::vector<std::string>;

VARIANT Child(long id) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

ComPtr<IAccessible> ObjectOf(HWND window) {
  ComPtr<IAccessible> a;
  EXPECT_EQ(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_PPV_ARGS(a.GetAddressOf())), S_OK);
  return a;
}

// A text property of an element, "" for S_FALSE and "(hr)" for an error.
std::string Text(IAccessible* a, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long id) {
  BSTR b = nullptr;
  const HRESULT hr = (a->*get)(Child(id), &b);
  std::string s = hr == S_OK && b ? Utf8FromWide(b) : hr == S_FALSE ? "" : std::string("(").append(std::to_string(hr)) + ")";
  SysFreeString(b);
  return s;
}

std::string RoleText(long role) {
  static const std::map<long, const char*> kRoles = {
      {ROLE_SYSTEM_CLIENT, "client"},     {ROLE_SYSTEM_PUSHBUTTON, "push button"},
      {ROLE_SYSTEM_CHECKBUTTON, "check"}, {ROLE_SYSTEM_RADIOBUTTON, "radio"},
      {ROLE_SYSTEM_GROUPING, "grouping"}, {ROLE_SYSTEM_TEXT, "text"},
      {ROLE_SYSTEM_SEPARATOR, "separator"}, {ROLE_SYSTEM_GRAPHIC, "graphic"},
      {ROLE_SYSTEM_LINK, "link"},         {ROLE_SYSTEM_PANE, "pane"}};
  auto it = kRoles.find(role);
  return it != kRoles.end() ? it->second : "role " + std::to_string(role);
}

std::string StateText(long state) {
  static const std::pair<long, const char*> kStates[] = {
      {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_FOCUSABLE, "focusable"},
      {STATE_SYSTEM_FOCUSED, "focused"},         {STATE_SYSTEM_PRESSED, "pressed"},
      {STATE_SYSTEM_CHECKED, "checked"},         {STATE_SYSTEM_HOTTRACKED, "hot"},
      {STATE_SYSTEM_DEFAULT, "default"},         {STATE_SYSTEM_READONLY, "read-only"},
      {STATE_SYSTEM_PROTECTED, "protected"},     {STATE_SYSTEM_INVISIBLE, "invisible"},
      {STATE_SYSTEM_LINKED, "linked"}};
  std::string s;
  for (const auto& [bit, name] : kStates)
    if (state & bit) s.append(s.empty() ? "" : " ").append(name);
  return s;
}

// "role 'name' states" of an element; "role 'name'" without its states.
std::string Line(IAccessible* a, long id, bool withStates = true) {
  VARIANT role, state;
  const VARIANT child = Child(id);
  a->get_accRole(child, &role);
  a->get_accState(child, &state);
  std::string line = RoleText(role.lVal);
  line.append(" '").append(Text(a, &IAccessible::get_accName, id)).append("'");
  return state.lVal && withStates ? line.append(" ").append(StateText(state.lVal)) : line;
}

// " [value|description|shortcut|default action]" of an element.
std::string Details(IAccessible* a, long id) {
  std::string s;
  for (auto get : {&IAccessible::get_accValue, &IAccessible::get_accDescription, &IAccessible::get_accKeyboardShortcut,
                   &IAccessible::get_accDefaultAction})
    s.append(s.empty() ? " [" : "|").append(Text(a, get, id));
  return s + "]";
}

// The tree under a with each element's details, depth first, as AccessibleChildren lists it; each
// full object's window is checked against its window text and, shown, its place on the way.
void Walk(IAccessible* a, const std::string& indent, Lines& out) {
  long count = 0, got = 0;
  ASSERT_EQ(a->get_accChildCount(&count), S_OK);
  if (count == 0) return;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  ASSERT_EQ(AccessibleChildren(a, 0, count, children.data(), &got), S_OK);
  ASSERT_EQ(got, count);
  for (VARIANT& v : children) {
    if (v.vt == VT_I4) {
      out.push_back(indent + Line(a, v.lVal) + Details(a, v.lVal));
      continue;
    }
    ASSERT_EQ(v.vt, VT_DISPATCH);
    ComPtr<IAccessible> child;
    ASSERT_EQ(v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(child.GetAddressOf())), S_OK);
    VariantClear(&v);
    out.push_back(indent + Line(child.Get(), CHILDID_SELF) + Details(child.Get(), CHILDID_SELF));
    HWND window = nullptr;
    EXPECT_EQ(WindowFromAccessibleObject(child.Get(), &window), S_OK);
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    EXPECT_EQ(Text(child.Get(), &IAccessible::get_accName, CHILDID_SELF), Utf8FromWide(text)) << "its window's text";
    RECT r{};
    long x = 0, y = 0, w = 0, h = 0;
    if (IsWindowVisible(window) && GetWindowRect(window, &r)) {
      EXPECT_EQ(child->accLocation(&x, &y, &w, &h, Child(CHILDID_SELF)), S_OK);
      EXPECT_EQ((std::vector<long>{x, y, x + w, y + h}), (std::vector<long>{r.left, r.top, r.right, r.bottom})) << text;
      EXPECT_GT(w * h, 0) << text;
    }
    Walk(child.Get(), indent + "  ", out);
  }
}

// "role 'name'" of a window's object as a client gets it by AccessibleObjectFromWindow, "(hr)" when
// it gets none; the object is left in held.
std::string Read(HWND window, ComPtr<IAccessible>& held) {
  held.Reset();
  const HRESULT hr = AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_PPV_ARGS(held.GetAddressOf()));
  return FAILED(hr) ? std::string("(").append(std::to_string(hr)).append(")") : Line(held.Get(), CHILDID_SELF, false);
}

bool IsProxy(IUnknown* object) {
  ComPtr<IClientSecurity> security;
  return SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(security.GetAddressOf())));
}

// A client apartment on another thread: each job runs there while the test's thread pumps, which is
// how the client's calls into this apartment are answered. A job still running after 30 s of pumping
// stops the program with a message rather than leave it waiting for ever.
class OtherApartment {
 public:
  ~OtherApartment() {
    Run({});  // an empty job ends the apartment
    thread_.join();
  }
  void Run(std::function<void()> job) {
    job_ = std::move(job);
    done_ = false;
    start_.release();
    if (PumpUntil([this] { return done_.load(); }, 30000)) return;
    std::fputs("a job of the client apartment did not end within 30 s of pumping: stopped\n", stderr);
    std::fflush(stderr);
    std::_Exit(3);
  }

 private:
  std::function<void()> job_;
  std::atomic<bool> done_{true};
  std::binary_semaphore start_{0};
  std::thread thread_{[this] {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (start_.acquire(); job_; done_ = true, start_.acquire()) job_();
    if (SUCCEEDED(init)) CoUninitialize();
    done_ = true;
  }};
};

class Accessibility : public InputTest {
 protected:
  ButtonStyle& Button(const wchar_t* name, int left, int top, const wchar_t* caption, int32_t mode = modeCommand,
                      const wchar_t* in = L"") {
    auto& b = dynamic_cast<ButtonStyle&>(form_->Add(L"ButtonStyle", name, left, top, 1500, 450, in));
    b.SetMode(mode);
    b.SetCaption(caption);
    return b;
  }
  KvText& Field(const wchar_t* name, int top, const wchar_t* caption, const wchar_t* text) {
    auto& f = Add<KvText>(L"KvText", name, 3400, top, 3000, 400);
    f.SetCaption(caption);
    f.SetText(text);
    return f;
  }
  // A form of every control, in every state the walk below reads.
  void PlaceEveryControl() {
    Button(L"save", 120, 120, L"&Save");
    Button(L"bold", 1800, 120, L"&Bold", modeCheck).SetValue(true);
    Add<TzFrames>(L"tzFrames", L"frame", 120, 700, 3000, 1500).SetCaption(L"&Size && align");
    Button(L"left", 120, 400, L"&Left", modeOption, L"frame");
    Add<KvTextBox>(L"KvTextBox", L"code", 3400, 120, 1800, 400).SetValidarCampo(true);
    form_->Site(L"code")->SetAccessibleName(L"Customer code");
    Field(L"name", 700, L"&Name:", L"Ana").SetLocked(true);
    Field(L"pin", 1200, L"PIN", L"1234").SetPasswordChar(L"*");
    Add<UserControl>(L"KvLinha", L"rule", 120, 2400, 3000, 30);
    Add<UserControl>(L"Bevel", L"box", 120, 2600, 3000, 600);
    Button(L"off", 3400, 2400, L"Off");
    form_->Site(L"off")->SetEnabled(false);
    Button(L"gone", 3400, 3000, L"Gone");
    form_->Site(L"gone")->SetVisible(false);
    auto& panel = Add<KvFundo>(L"KvFundo", L"panel", 0, 3600, 9000, 2400);
    panel.SetCaptionTitulo(L"Welcome");
    panel.SetCaption(L"Help");
    form_->SetDefaultButton(L"save");
  }
  HWND Window(const wchar_t* name) { return form_->Control(name)->hWnd(); }
  HWND EditOf(const wchar_t* name) { return GetWindow(Window(name), GW_CHILD); }
};

// Name, role, state, value, description, shortcut, default action and place of every element, and
// what the default action does.
TEST_F(Accessibility, AWalkOfAFormReadsEveryElementInTabOrder) {
  PlaceEveryControl();
  SetFocus(Window(L"save"));
  Lines tree;
  auto walk = [&] {
    tree.clear();
    ComPtr<IAccessible> root = ObjectOf(form_->hWnd());
    tree.push_back(Line(root.Get(), CHILDID_SELF));
    Walk(root.Get(), "  ", tree);
  };
  walk();
  const long objects = LiveAccessibleObjects();
  walk();
  // "(-2147352573)": no value (DISP_E_MEMBERNOTFOUND); "(-2147024891)": a password's is refused.
  EXPECT_EQ(tree, (Lines{"client 'Inputs' focusable",
                         "  push button 'Save' focusable focused default [(-2147352573)||Alt+S|Press]",
                         "  check 'Bold' focusable checked [(-2147352573)||Alt+B|Uncheck]",
                         "  grouping 'Size & align' [(-2147352573)|||]",
                         "    radio 'Left' focusable [(-2147352573)||Alt+L|Check]",
                         "  text 'Customer code' focusable [Text1|required||]",
                         "  text 'Name:' focusable read-only [Ana|||]",
                         "  text 'PIN' focusable protected [(-2147024891)|||]",
                         "  separator '' [(-2147352573)|||]",
                         "  graphic '' [(-2147352573)|||]",
                         "  push button 'Off' unavailable [(-2147352573)|||Press]",
                         "  push button 'Gone' focusable invisible [(-2147352573)|||Press]",
                         "  pane 'Welcome' focusable [(-2147352573)|||]",
                         "    link 'Help' linked [(-2147352573)|||Jump]",
                         "    separator '' [(-2147352573)|||]"}));
  EXPECT_EQ(LiveAccessibleObjects(), objects) << "a second walk finds the objects of the first";
  // The link stands and is found where it is drawn.
  auto& panel = dynamic_cast<KvFundo&>(*form_->Control(L"panel"));
  RECT link = panel.Link().BoundsPixels();
  MapWindowPoints(panel.Background().hWnd(), nullptr, reinterpret_cast<POINT*>(&link), 2);
  long x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(ObjectOf(panel.hWnd())->accLocation(&x, &y, &w, &h, Child(1)), S_OK);
  EXPECT_EQ((std::vector<long>{x, y, x + w, y + h}), (std::vector<long>{link.left, link.top, link.right, link.bottom}));
  EXPECT_GT(w * h, 0);
  VARIANT hit;
  ASSERT_EQ(ObjectOf(panel.hWnd())->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
  EXPECT_EQ(hit.vt == VT_I4 ? hit.lVal : -1, 1);
  // The default action clicks as the mouse does, posted: the check button toggles, the link opens.
  EventLog log;
  for (const wchar_t* name : {L"save", L"bold"}) {
    SCOPED_TRACE(Utf8FromWide(name));
    auto& b = dynamic_cast<ButtonStyle&>(*form_->Control(name));
    log.Watch(b.events, Utf8FromWide(name) + ".");
    SendMessageW(b.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 15));
    SendMessageW(b.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, 15));
    const Lines clicked = log.Take();
    ASSERT_THAT(clicked, testing::Contains(Utf8FromWide(name) + ".Click"));
    const bool after = b.Value();
    ASSERT_EQ(ObjectOf(b.hWnd())->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
    EXPECT_TRUE(log.lines.empty()) << "posted: the caller does not wait for the click's handlers";
    ASSERT_TRUE(PumpUntil([&] { return log.lines.size() >= clicked.size(); }, 1000));
    EXPECT_EQ(log.Take(), clicked);
    EXPECT_EQ(b.Value(), name[0] == L'b' ? !after : false);
  }
  panel.SetURL(L"https://example.invalid/help");
  host_.calls.clear();
  ASSERT_EQ(ObjectOf(panel.hWnd())->accDoDefaultAction(Child(1)), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return !host_.calls.empty(); }, 1000));
  EXPECT_EQ(host_.calls, std::vector<std::wstring>{L"ShellExecute(desktop|open|https://example.invalid/help|||1)"});
  EXPECT_EQ(ObjectOf(panel.hWnd())->accDoDefaultAction(Child(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
  // An edit reads as its field; an object kept past its control answers "not connected".
  ComPtr<IAccessible> edit = ObjectOf(EditOf(L"name"));
  EXPECT_EQ(Line(edit.Get(), CHILDID_SELF), "text 'Name:' focusable read-only");
  HWND back = nullptr;
  EXPECT_EQ(WindowFromAccessibleObject(edit.Get(), &back), S_OK);
  EXPECT_EQ(back, Window(L"name"));
  form_->Remove(L"name");
  VARIANT role;
  EXPECT_EQ(edit->get_accRole(Child(CHILDID_SELF), &role), CO_E_OBJNOTCONNECTED);
  edit.Reset();
  RemoveAll();
  EXPECT_EQ(LiveAccessibleObjects(), 1) << "only the form's own is left: each went with its window";
}

// The win events of tabbing into a field, typing, a new frame caption and a checked button, each
// read through AccessibleObjectFromEvent.
struct WinEvents {
  static inline Lines* out = nullptr;
  static inline HWND form = nullptr;  // the events of the windows on it
  static void CALLBACK Hook(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG child, DWORD, DWORD) {
    if (!out || w == form || GetAncestor(w, GA_ROOT) != form || object != OBJID_CLIENT) return;
    static const std::map<DWORD, const char*> kEvents = {
        {EVENT_OBJECT_FOCUS, "focus"}, {EVENT_OBJECT_STATECHANGE, "state"},
        {EVENT_OBJECT_NAMECHANGE, "name"}, {EVENT_OBJECT_VALUECHANGE, "value"}};
    ComPtr<IAccessible> a;
    VARIANT id;
    std::string line = kEvents.at(event);
    if (AccessibleObjectFromEvent(w, object, child, a.GetAddressOf(), &id) == S_OK) {
      line.append(" ").append(Line(a.Get(), id.lVal));
      if (event == EVENT_OBJECT_VALUECHANGE) line.append(" = ").append(Text(a.Get(), &IAccessible::get_accValue, id.lVal));
    }
    out->push_back(line);
  }
};

TEST_F(Accessibility, WinEventsFollowTabbingTypingAndTheProgram) {
  auto& ok = Button(L"ok", 120, 120, L"&OK");
  Field(L"field", 700, L"City", L"");
  auto& frame = Add<TzFrames>(L"tzFrames", L"frame", 120, 1300, 3000, 1500);
  auto& check = Button(L"check", 120, 3000, L"Check", modeCheck);
  Lines events;
  WinEvents::out = &events;
  WinEvents::form = form_->hWnd();
  // In context: each event is read as it is raised, not after the steps that follow it.
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, GetModuleHandleW(nullptr),
                                       &WinEvents::Hook, GetCurrentProcessId(), GetCurrentThreadId(),
                                       WINEVENT_INCONTEXT);
  ASSERT_NE(hook, nullptr);
  SetFocus(ok.hWnd());
  form_->MoveFocus(true);
  SendText(EditOf(L"field"), L"Oslo");
  frame.SetCaption(L"Trip");
  check.SetValue(true);
  // The check button takes the focus; the pointer comes over it, moves on it and leaves: the moves
  // read the focus as the focus messages told it.
  SetFocus(check.hWnd());
  host_.windowAtPoint = check.hWnd();
  for (int x : {5, 6, 7}) SendMessageW(check.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 5));
  host_.windowAtPoint = nullptr;  // the hover timer's next tick finds it gone
  PumpUntil([&] { return events.size() == 17; });
  Pump(50);
  UnhookWinEvent(hook);
  WinEvents::out = nullptr;
  // The button is the default one while it has the focus.
  EXPECT_EQ(events, (Lines{"focus push button 'OK' focusable focused",
                           "state push button 'OK' focusable focused default",
                           "state push button 'OK' focusable default",
                           "focus text 'City' focusable focused",
                           "state push button 'OK' focusable",
                           "state text 'City' focusable focused",
                           "value text 'City' focusable focused = O",
                           "value text 'City' focusable focused = Os",
                           "value text 'City' focusable focused = Osl",
                           "value text 'City' focusable focused = Oslo",
                           "name grouping 'Trip'",
                           "state check 'Check' focusable checked",
                           "state text 'City' focusable",
                           "focus check 'Check' focusable focused checked",
                           "state check 'Check' focusable focused checked",
                           "state check 'Check' focusable focused checked hot",
                           "state check 'Check' focusable focused checked"}));
}

// A client on another thread reads through the system's proxy, cut off and releasing the object when
// the window goes; the thread's own queries get the object itself.
TEST_F(Accessibility, AClientOnAnotherThreadReadsThroughAProxyCutOffWithTheWindow) {
  Button(L"save", 120, 120, L"&Save");
  Button(L"bold", 1800, 120, L"&Bold", modeCheck);
  const HWND windows[] = {Window(L"save"), Window(L"bold")};
  const long before = LiveAccessibleObjects();
  OtherApartment client;
  ComPtr<IAccessible> kept;  // a proxy of the client's apartment
  Lines read;
  client.Run([&] {
    for (int round = 0; round < 2; ++round)
      for (HWND window : windows) {
        read.push_back(Read(window, kept));
        if (kept && !IsProxy(kept.Get())) read.push_back("not a proxy");
      }
  });
  const std::string save = "push button 'Save'", bold = "check 'Bold'";
  EXPECT_EQ(read, (Lines{save, bold, save, bold}));
  EXPECT_EQ(LiveAccessibleObjects(), before + 2);
  ComPtr<IAccessible> own;
  EXPECT_EQ(Read(windows[1], own), bold);
  EXPECT_FALSE(IsProxy(own.Get())) << "the thread's own query gets the object";
  own.Reset();
  form_->Remove(L"bold");
  EXPECT_EQ(LiveAccessibleObjects(), before + 1) << "the proxy kept by the client no longer holds the object";
  HRESULT cut = S_OK;
  client.Run([&] {
    VARIANT role;
    cut = kept->get_accRole(Child(CHILDID_SELF), &role);
    kept.Reset();
    read.assign(1, Read(windows[0], kept));
    kept.Reset();
  });
  EXPECT_EQ(cut, RPC_E_DISCONNECTED);
  EXPECT_EQ(read, Lines{save}) << "the other window still answers";
}

// Two hundred queries a round leave one object, the same each time, that goes with its window, and
// no GDI object, window or handle.
TEST_F(Accessibility, RepeatedQueriesLeaveOneObjectThatGoesWithItsWindow) {
  const long before = LiveAccessibleObjects();
  auto round = [&] {
    const HWND window = Button(L"save", 120, 120, L"&Save").hWnd();
    ComPtr<IAccessible> first, next;
    EXPECT_EQ(Read(window, first), "push button 'Save'");
    int others = 0;
    for (int i = 1; i < 200; ++i) others += Read(window, next) != "push button 'Save'" || next != first;
    EXPECT_EQ(others, 0) << "queries answered otherwise or with another object";
    first.Reset();
    next.Reset();
    EXPECT_EQ(LiveAccessibleObjects(), before + 1);
    form_->Remove(L"save");
    EXPECT_EQ(LiveAccessibleObjects(), before);
  };
  round();
  const unsigned handles = KernelHandleCount();
  ExpectNoLeaks(round, 0, 1);
  EXPECT_EQ(KernelHandleCount(), handles) << "handles";
}

TEST(AccessibleNames, AccessMarksGoAndDoubledOnesStayOne) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"&Save", L"Save"}, {L"Fish && &Chips", L"Fish & Chips"}, {L"End&", L"End"}, {L"&&&x", L"&x"}, {L"", L""}};
  for (const auto& [caption, name] : cases) EXPECT_EQ(WithoutAccessMarks(caption), name) << Utf8FromWide(caption);
}

}  // namespace
}  // namespace tessel::test
