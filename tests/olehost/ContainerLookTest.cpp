// The seven controls in the ATL container as the system's look changes under them: new colours and the
// high-contrast scheme reach each as they reach its twin on a form, once per change, whether the
// container passes the system's messages on to the windows inside it or not; and what assistive
// technology reads.
#include "tests/support/Prelude.h"
#include <oleacc.h>

#include "host/ControlIdentities.h"
#include "olehost/OleControls.h"
#include "server/contract/Palette.h"
#include "tests/olehost/OleFixture.h"
#include "tests/support/SystemColours.h"

namespace tessel::oletest {
namespace {

using test::Colours;
using test::kFresh;
using test::kScheme;
using test::SetColours;

bool IsLookChange(UINT msg) { return msg == WM_SYSCOLORCHANGE || msg == WM_SETTINGCHANGE || msg == WM_THEMECHANGED; }

// An enumeration's window added to its list, and the thread's top-level windows.
BOOL CALLBACK AddWindow(HWND w, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), AddWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The system's message of a change as the thread's top-level windows get it, and then, when asked, the
// repaint of every window that a change of the scheme brings under Windows (it applies the scheme's
// colours). Under Wine SystemParametersInfo(SPI_SETHIGHCONTRAST) fails (ERROR_INVALID_SPI_VALUE).
void TellTopLevelWindows(UINT msg, WPARAM wp, bool repaint = false) {
  const std::vector<HWND> windows = ThreadWindows();
  for (HWND w : windows)
    if (IsWindow(w)) SendMessageW(w, msg, wp, 0);
  for (HWND w : windows)
    if (repaint && IsWindow(w)) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The thread's hidden top-level windows but the system's IME window (which comes and goes with the thread's
// top-level windows).
std::set<HWND> HiddenTopLevelWindows() {
  std::set<HWND> hidden;
  for (HWND w : ThreadWindows()) {
    wchar_t name[8] = {};
    GetClassNameW(w, name, 8);
    if (!IsWindowVisible(w) && std::wstring_view(name) != L"IME") hidden.insert(w);
  }
  return hidden;
}

// How a container's windows pass the system's messages on: not at all (Wine's ATL container), each to its
// own children (as a form does), or the top-level window to every window inside it at once.
enum class PassOn { None, ToChildren, ToAllInside };

LRESULT CALLBACK PassingOn(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR all) {
  if (IsLookChange(msg)) {
    std::vector<HWND> inside;
    if (all)
      EnumChildWindows(w, AddWindow, reinterpret_cast<LPARAM>(&inside));
    else
      for (HWND child = GetWindow(w, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) inside.push_back(child);
    for (HWND child : inside) SendMessageW(child, msg, wp, lp);
  }
  return DefSubclassProc(w, msg, wp, lp);
}

// On a control's window: its paints, and how many of the system's messages made it ask for a repaint
// (what it asked stays asked).
struct RedrawProbe {
  int paints = 0, asked = 0;
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    auto& probe = *reinterpret_cast<RedrawProbe*>(self);
    if (msg == WM_PAINT) ++probe.paints;
    if (!IsLookChange(msg)) return DefSubclassProc(w, msg, wp, lp);
    const unique_hrgn pending(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(w, pending.get(), FALSE);
    ValidateRect(w, nullptr);
    const LRESULT result = DefSubclassProc(w, msg, wp, lp);
    if (GetUpdateRect(w, nullptr, FALSE)) ++probe.asked;
    InvalidateRgn(w, pending.get(), FALSE);
    return result;
  }
};

// The control's own window: the child of the window it gives its container.
HWND ControlWindow(IUnknown* control) {
  HWND holder = nullptr;
  if (const auto window = As<IOleWindow>(control)) window->GetWindow(&holder);
  return holder ? GetWindow(holder, GW_CHILD) : nullptr;
}

// The adapter built into this program served to the container in place of the server's, for what only
// this program can tell its palette (SetHighContrastForTesting): the class objects of the seven
// controls, registered in the apartment while it lives.
class OwnClasses final : public IClassFactory {
 public:
  OwnClasses() {
    for (const ControlIdentity& id : kControlIdentities) {
      DWORD cookie = 0;
      EXPECT_EQ(CoRegisterClassObject(id.clsid, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
      cookies_.push_back(cookie);
    }
  }
  ~OwnClasses() {
    for (DWORD cookie : cookies_) CoRevokeClassObject(cookie);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return Offer(riid, ppv, {{&IID_IUnknown, this}, {&IID_IClassFactory, this}});
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    for (const ControlIdentity& id : kControlIdentities) {
      if (id.typeName != made) continue;
      return ole::CreateOleControl({id.typeName, id.clsid, id.events, OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT},
                                   riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  std::wstring_view made;  // the type the next object is made of (one class object serves the seven)

 private:
  std::vector<DWORD> cookies_;
};

// The seven controls each in an ATL host window, with a twin of the same size on a form of its own,
// the system's colours and scheme put back afterwards.
class ContainerLook : public ::testing::Test {
 protected:
  void TearDown() override {
    hosted_.clear();
    forms_.clear();
    SetHighContrastForTesting(-1);
    SetColours(saved_);
    test::Pump(0);
  }
  // Hosts the seven (made by this program's adapter when own is given), each probed.
  void HostAll(PassOn passOn, OwnClasses* own = nullptr) {
    for (const Sample& s : kSamples) {
      if (own) own->made = s.type;
      hosted_.push_back(std::make_unique<AtlHosted>(ProgId(s.type), s.width, s.height));
      forms_.push_back(std::make_unique<FormWith>(s.type, s.width, s.height));
      const HWND window = ControlWindow(hosted_.back()->control());
      ASSERT_NE(window, nullptr) << Utf8FromWide(s.type);
      if (passOn == PassOn::ToAllInside) SetWindowSubclass(GetAncestor(window, GA_ROOT), PassingOn, 1, 1);
      if (passOn == PassOn::ToChildren)  // each window above the one holding the control
        for (HWND w = GetParent(GetParent(window)); w; w = GetParent(w)) SetWindowSubclass(w, PassingOn, 1, 0);
      SetWindowSubclass(window, RedrawProbe::Proc, 2, reinterpret_cast<DWORD_PTR>(&probes_[s.type]));
    }
    Form::PumpMessages();
  }
  // Every hosted control shows its twin's pixels, was painted once for the change and had asked for a
  // repaint after `asked` of the system's messages; gives how many now look other than before.
  int ExpectAsOnForms(const char* step, int asked, const std::vector<std::unique_ptr<test::Canvas>>& before) {
    Form::PumpMessages();
    test::Pump(20);
    int changed = 0;
    for (size_t i = 0; i < std::size(kSamples); ++i) {
      const Sample& s = kSamples[i];
      SCOPED_TRACE(std::string(step) + " " + Utf8FromWide(s.type));
      RedrawProbe& probe = probes_[s.type];
      EXPECT_EQ(std::make_pair(probe.asked, probe.paints), std::make_pair(asked, 1)) << "asked, painted";
      const auto shown = ScreenOf(ControlWindow(hosted_[i]->control()));
      EXPECT_EQ(test::DifferentPixels(*shown, *ScreenOf(forms_[i]->control->hWnd())), 0);
      changed += test::DifferentPixels(*shown, *before[i]) != 0;
    }
    for (auto& [type, probe] : probes_) probe = {};
    return changed;
  }
  // How many of the seven show the system's colours: all but the panel and the rule, whose two lines
  // stand on a row of their container's colour where its height is more than two pixels (above 96 dpi).
  int UsingSystemColours() const {
    RECT rule{};
    for (size_t i = 0; i < forms_.size(); ++i)
      if (SameKey(kSamples[i].type, L"KvLinha")) GetClientRect(forms_[i]->control->hWnd(), &rule);
    return rule.bottom > 2 ? 6 : 5;
  }
  std::vector<std::unique_ptr<test::Canvas>> Pictures() {
    std::vector<std::unique_ptr<test::Canvas>> pictures;
    for (const auto& h : hosted_) pictures.push_back(ScreenOf(ControlWindow(h->control())));
    for (auto& [type, probe] : probes_) probe = {};
    return pictures;
  }

  const Colours saved_ = test::CurrentColours();
  std::vector<std::unique_ptr<AtlHosted>> hosted_;
  std::vector<std::unique_ptr<FormWith>> forms_;
  std::map<std::wstring_view, RedrawProbe> probes_;
};

// The server's controls in the ATL container, which passes nothing on: each finds the change at the repaint
// the system makes after it, and one never activated when its container draws it. Nothing is made for them
// to hear the system with.
TEST_F(ContainerLook, NewSystemColoursReachEachControlOnceAsOnAFormAndTheWayBackIsExact) {
  const std::set<HWND> hidden = HiddenTopLevelWindows();
  HostAll(PassOn::None);
  EXPECT_EQ(HiddenTopLevelWindows(), hidden);
  std::vector<ComPtr<IOleObject>> inactive;
  for (const Sample& s : kSamples) {
    inactive.push_back(New<IOleObject>(ProgId(s.type)));
    ASSERT_EQ(As<IPersistStreamInit>(inactive.back().Get())->InitNew(), S_OK);
    SIZEL extent{MulDiv(s.width, 2540, ScreenDpiX()), MulDiv(s.height, 2540, ScreenDpiY())};
    ASSERT_EQ(inactive.back()->SetExtent(DVASPECT_CONTENT, &extent), S_OK);
    const SIZE taken = ExtentOf(inactive.back().Get());
    ASSERT_NE(DrawnBy(inactive.back().Get(), taken.cx, taken.cy), nullptr);
  }
  const auto own = Pictures();
  SetColours(kFresh);
  EXPECT_EQ(ExpectAsOnForms("new colours", 0, own), UsingSystemColours());
  for (size_t i = 0; i < inactive.size(); ++i) {
    const SIZE taken = ExtentOf(inactive[i].Get());
    const auto drawn = DrawnBy(inactive[i].Get(), taken.cx, taken.cy);
    EXPECT_EQ(test::DifferentPixels(*drawn, *ScreenOf(forms_[i]->control->hWnd())), 0) << Utf8FromWide(kSamples[i].type);
  }
  SetColours(saved_);
  EXPECT_EQ(ExpectAsOnForms("colours back", 0, own), 0);
}

// High contrast on and off, in the ATL container as it is and in containers that pass the system's messages
// on: each control remakes its look and asks for a repaint once per change, however often it is told, and
// not at all for a setting that changes nothing it shows.
TEST_F(ContainerLook, HighContrastReachesEachControlOnceWhetherTheContainerPassesItOnOrNot) {
  OwnClasses own;
  for (PassOn passOn : {PassOn::None, PassOn::ToChildren, PassOn::ToAllInside}) {
    SCOPED_TRACE("passed on " + std::to_string(static_cast<int>(passOn)));
    const int told = passOn == PassOn::None ? 0 : 1;
    HostAll(passOn, &own);
    const auto before = Pictures();
    SetColours(kScheme);
    EXPECT_EQ(ExpectAsOnForms("scheme colours", told, before), UsingSystemColours());
    const auto schemeColours = Pictures();
    SetHighContrastForTesting(1);
    TellTopLevelWindows(WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true);
    EXPECT_EQ(ExpectAsOnForms("high contrast", told, schemeColours), 7) << "custom colours give way to the scheme";
    TellTopLevelWindows(WM_SETTINGCHANGE, SPI_SETWORKAREA);
    TellTopLevelWindows(WM_THEMECHANGED, 0);
    Form::PumpMessages();
    for (const auto& [type, probe] : probes_) EXPECT_EQ(probe.asked, 0) << Utf8FromWide(type) << ": nothing changed";
    SetHighContrastForTesting(0);
    TellTopLevelWindows(WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true);
    EXPECT_EQ(ExpectAsOnForms("high contrast off", told, schemeColours), 0);
    SetColours(saved_);
    EXPECT_EQ(ExpectAsOnForms("own colours", told, before), 0);
    hosted_.clear();
    forms_.clear();
  }
}

// A hosted control's window answers WM_GETOBJECT with the control's object: the role and name it has on a form;
// so does the window of the control's object around it, named as the control's.
TEST_F(ContainerLook, EachControlReadsToAssistiveTechnologyAsOnAForm) {
  HostAll(PassOn::None);
  const auto read = [](HWND window) {
    ComPtr<IAccessible> object;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    unique_variant role;
    BSTR name = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(object.GetAddressOf()))) ||
        FAILED(object->get_accRole(self, role.get())))
      return std::string("<none>");
    object->get_accName(self, &name);
    const std::string text = Text(*role.get()) + " " + (name ? Utf8FromWide(name) : "<no name>");
    SysFreeString(name);
    return text;
  };
  for (size_t i = 0; i < hosted_.size(); ++i) {
    const std::string onForm = read(forms_[i]->control->hWnd());
    const HWND control = ControlWindow(hosted_[i]->control()), around = GetParent(control);
    EXPECT_EQ(read(control), onForm);
    EXPECT_EQ(read(around), onForm) << "the object's window";
    EXPECT_NE(onForm.substr(0, 3), std::to_string(ROLE_SYSTEM_CLIENT) + " ") << "the control's own object";
    wchar_t own[64] = {}, outer[64] = {};
    GetWindowTextW(control, own, 64);
    GetWindowTextW(around, outer, 64);
    EXPECT_STREQ(outer, own);
  }
}

}  // namespace
}  // namespace tessel::oletest
