// What Wine's ATL host cannot show, in a small container of the tests' own: focus, Tab and access
// keys between two controls, ambient changes, frozen events and quick activation.
#include "tests/support/Prelude.h"

#include "olehost/OleControls.h"
#include "tests/host/Recorder.h"
#include "tests/olehost/OleFixture.h"
#include "tests/support/GdiCount.h"

namespace tessel::oletest {
namespace {

using ::testing::ElementsAre;

class TestSite;

// The container's window, ambients, active object and the calls it saw ("OnFocus(1)").
struct Shared {
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400,
                                200, nullptr, nullptr, nullptr, nullptr);
  bool userMode = true;
  std::optional<OLE_COLOR> backColor;  // the ambient BackColor, when the container gives one
  ComPtr<IOleInPlaceActiveObject> active;
  std::vector<std::string> calls;
  std::vector<std::unique_ptr<TestSite>> sites;
};

// One control's site in the container's window; it is the in-place frame as well.
class TestSite final : public IOleClientSite,
                       public IOleInPlaceSite,
                       public IOleControlSite,
                       public IDispatch,
                       public IOleInPlaceFrame {
 public:
  TestSite(Shared& shared, RECT at) : place(at), shared_(shared) {}
  // Activates the control in place (through IQuickActivate when given the sink it is to advise).
  HRESULT Create(ComPtr<IUnknown> made, IUnknown* quickSink) {
    control = std::move(made);
    const auto object = As<IOleObject>();
    if (!object) return E_NOINTERFACE;
    QACONTAINER qa{sizeof(qa), this, nullptr, nullptr, quickSink, shared_.userMode ? DWORD{QACONTAINER_USERMODE} : 0u};
    QACONTROL qc{sizeof(qc)};
    const auto quick = As<IQuickActivate>();
    HRESULT hr = !quickSink ? object->SetClientSite(this)  // the site first, as the control asks
                 : quick    ? quick->QuickActivate(&qa, &qc)
                            : E_NOINTERFACE;
    const auto persist = As<IPersistStreamInit>();
    if (SUCCEEDED(hr)) hr = persist ? persist->InitNew() : E_NOINTERFACE;
    if (FAILED(hr)) return hr;
    SIZEL size{MulDiv(place.right - place.left, 2540, ScreenDpiX()), MulDiv(place.bottom - place.top, 2540, ScreenDpiY())};
    object->SetExtent(DVASPECT_CONTENT, &size);
    return Verb(OLEIVERB_INPLACEACTIVATE);
  }
  template <class I>
  ComPtr<I> As() const {
    return oletest::As<I>(control.Get());
  }
  HRESULT Verb(LONG verb) {
    const auto object = As<IOleObject>();
    return object ? object->DoVerb(verb, nullptr, this, 0, shared_.window, &place) : E_NOINTERFACE;
  }
  HWND Window() const { return WindowOf(control.Get()); }
  HWND Holder() const {  // the window the control stands in, given to its container
    HWND holder = nullptr;
    if (const auto window = As<IOleWindow>()) window->GetWindow(&holder);
    return holder;
  }
  const RECT place;
  ComPtr<IUnknown> control;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    IOleClientSite* client = this;
    IOleInPlaceSite* site = this;
    IOleInPlaceFrame* frame = this;
    return Offer(riid, ppv, {{&IID_IUnknown, client}, {&IID_IOleClientSite, client}, {&IID_IOleWindow, site},
                             {&IID_IOleInPlaceSite, site}, {&IID_IOleControlSite, static_cast<IOleControlSite*>(this)},
                             {&IID_IDispatch, static_cast<IDispatch*>(this)}, {&IID_IOleInPlaceUIWindow, frame},
                             {&IID_IOleInPlaceFrame, frame}});
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // owned by the container
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override { return *c = nullptr, E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return *window = shared_.window, S_OK; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override {
    // One control is UI-active at a time.
    for (auto& site : shared_.sites)
      if (auto other = site->As<IOleInPlaceObject>(); other && site.get() != this) other->UIDeactivate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = this;
    *doc = nullptr;
    *pos = *clip = place;
    *info = {info->cb, FALSE, shared_.window, nullptr, 0};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  // The container takes the rectangle a control asks for, as it records it.
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT r) override {
    shared_.calls.push_back("OnPosRectChange(" + std::to_string(r->left) + "," + std::to_string(r->top) + "," +
                            std::to_string(r->right) + "," + std::to_string(r->bottom) + ")");
    if (const auto object = As<IOleInPlaceObject>()) object->SetObjectRects(r, r);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** d) override { return *d = nullptr, E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg, DWORD modifiers) override {
    shared_.calls.push_back("TranslateAccelerator(" + std::to_string(msg->wParam) + "," + std::to_string(modifiers) +
                            ")");
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL got) override {
    shared_.calls.push_back(got ? "OnFocus(1)" : "OnFocus(0)");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }
  // IDispatch: the ambient properties
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if (!result) return E_POINTER;
    if (id == DISPID_AMBIENT_USERMODE)
      return result->vt = VT_BOOL, result->boolVal = shared_.userMode ? VARIANT_TRUE : VARIANT_FALSE, S_OK;
    if (id == DISPID_AMBIENT_BACKCOLOR && shared_.backColor)
      return result->vt = VT_I4, result->lVal = static_cast<LONG>(*shared_.backColor), S_OK;
    return DISP_E_MEMBERNOTFOUND;
  }
  // IOleInPlaceFrame: keeps the active object.
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override {
    shared_.active = object;
    shared_.calls.push_back("SetActiveObject(" + (name ? Utf8FromWide(name) : std::string("null")) + ")");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  Shared& shared_;
};

struct TestContainer : Shared {
  ~TestContainer() {
    active.Reset();
    for (auto& site : sites)
      if (auto object = site->As<IOleObject>()) object->Close(OLECLOSE_NOSAVE), object->SetClientSite(nullptr);
    sites.clear();
    DestroyWindow(window);
    test::Pump(0);
  }
  TestSite& Button(RECT place, const wchar_t* caption = nullptr, IUnknown* quickSink = nullptr) {
    Add(place, New<IUnknown>(L"TesselOCX.ButtonStyle"), quickSink);
    EXPECT_EQ(caption ? Put(sites.back()->As<IDispatch>().Get(), L"Caption", caption) : S_OK, S_OK);
    return *sites.back();
  }
  TestSite& Add(RECT place, ComPtr<IUnknown> control, IUnknown* quickSink = nullptr) {
    sites.push_back(std::make_unique<TestSite>(*this, place));
    EXPECT_EQ(sites.back()->Create(std::move(control), quickSink), S_OK);
    return *sites.back();
  }
  void Notify(DISPID id) {
    for (auto& site : sites)
      if (auto control = site->As<IOleControl>()) control->OnAmbientPropertyChange(id);
  }
  // A keystroke to the active object first, then Tab between the sites, then the access keys; Alt
  // is held in the thread's keyboard state meanwhile, as the keyboard would.
  void Key(UINT vk, bool alt = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_MENU] = keys[VK_LMENU] = alt ? 0x80 : 0;
    SetKeyboardState(keys);
    Route(MSG{GetFocus(), static_cast<UINT>(alt ? WM_SYSKEYDOWN : WM_KEYDOWN), vk, alt ? (1 << 29) : 0});
    keys[VK_MENU] = keys[VK_LMENU] = 0;
    SetKeyboardState(keys);
  }
  void Route(MSG msg) {
    if (active && active->TranslateAccelerator(&msg) == S_OK) return;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
      size_t at = 0;  // the next site after the active one takes the focus
      for (size_t i = 0; i < sites.size(); ++i)
        if (sites[i]->As<IOleInPlaceActiveObject>().Get() == active.Get()) at = i;
      sites[(at + (GetKeyState(VK_SHIFT) < 0 ? sites.size() - 1 : 1)) % sites.size()]->Verb(OLEIVERB_UIACTIVATE);
      return;
    }
    for (auto& site : sites) {
      CONTROLINFO info{sizeof(info)};
      WORD command = 0;
      const auto control = site->As<IOleControl>();
      if (msg.message == WM_SYSKEYDOWN && control && SUCCEEDED(control->GetControlInfo(&info)) && info.hAccel &&
          IsAccelerator(info.hAccel, info.cAccel, &msg, &command))
        return void(control->OnMnemonic(&msg));
    }
    SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  }
};

constexpr RECT kFirst{10, 10, 107, 43}, kSecond{120, 10, 217, 43};

// A control object of the adapter over a recording control type of this program, named by its type.
ComPtr<IUnknown> RecorderObject(const wchar_t* type, std::vector<std::wstring>& log) {
  ControlTypes::Default().Register(type, [&log](ControlSite& site) -> std::unique_ptr<UserControl> {
    auto recorder = std::make_unique<test::Recorder>(site, log);
    recorder->focusable = true;
    return recorder;
  });
  ComPtr<IUnknown> object;
  ole::CreateOleControl({type, GUID_NULL, GUID_NULL, OLEMISC_SETCLIENTSITEFIRST}, IID_PPV_ARGS(&object));
  return object;
}

TEST(OwnContainer, TheFocusEntersAndLeavesTheControlsAsOnAFormWhoeverMovesIt) {
  std::vector<std::wstring> log;
  TestContainer container;
  TestSite& first = container.Add(kFirst, RecorderObject(L"First", log));
  TestSite& second = container.Add(kSecond, RecorderObject(L"Second", log));
  const auto focusLines = [&] {
    std::vector<std::wstring> kept;
    for (const std::wstring& line : std::exchange(log, {}))
      if (line.ends_with(L"Focus")) kept.push_back(line);
    return kept;
  };
  ASSERT_EQ(first.Verb(OLEIVERB_UIACTIVATE), S_OK);
  EXPECT_THAT(focusLines(), ElementsAre(L"First1.EnterFocus", L"First1.GotFocus"));
  EXPECT_THAT(std::exchange(container.calls, {}), ElementsAre("SetActiveObject(First)", "OnFocus(1)"));
  // The control hands Tab to its site first, then the container moves on.
  container.Key(VK_TAB);
  EXPECT_TRUE(IsChild(second.Holder(), GetFocus()));
  EXPECT_THAT(focusLines(), ElementsAre(L"First1.LostFocus", L"First1.ExitFocus", L"Second1.EnterFocus",
                                        L"Second1.GotFocus"));
  EXPECT_THAT(std::exchange(container.calls, {}), ElementsAre("TranslateAccelerator(9,0)", "SetActiveObject(null)",
                                                              "OnFocus(0)", "SetActiveObject(Second)", "OnFocus(1)"));
  container.Key(VK_TAB);
  EXPECT_TRUE(IsChild(first.Holder(), GetFocus())) << "from the last control to the first";
  container.Key(VK_TAB);
  focusLines();
  // A program's SetFocus: the control becomes the container's active object as well.
  container.calls.clear();
  SetFocus(first.Holder());
  EXPECT_THAT(focusLines(), ElementsAre(L"Second1.LostFocus", L"Second1.ExitFocus", L"First1.EnterFocus",
                                        L"First1.GotFocus"));
  EXPECT_THAT(container.calls, ElementsAre("SetActiveObject(null)", "OnFocus(0)", "SetActiveObject(First)", "OnFocus(1)"));
  SetFocus(container.window);
  EXPECT_THAT(focusLines(), ElementsAre(L"First1.LostFocus", L"First1.ExitFocus"));
}

TEST(OwnContainer, ANewAmbientBackColorIsDrawnOnceTheContainerSaysItChanged) {
  // A ring button at design time draws its outline a shade darker than the container's colour.
  TestContainer container;
  container.userMode = false;
  container.backColor = 0x00C000;
  const auto ring = [&](RECT place) -> TestSite& {
    TestSite& site = container.Button(place);
    EXPECT_EQ(Put(site.As<IDispatch>().Get(), L"ButtonStyle", 5), S_OK);
    return site;
  };
  const auto drawn = [](TestSite& site) { return DrawnBy(site.control.Get(), 97, 33); };
  TestSite& site = ring(kFirst);
  const auto green = drawn(site);
  container.backColor = 0x0000C0;
  EXPECT_EQ(test::DifferentPixels(*drawn(site), *green), 0) << "not told yet";
  container.Notify(DISPID_AMBIENT_BACKCOLOR);
  const auto red = drawn(site);
  EXPECT_NE(test::DifferentPixels(*red, *green), 0);
  EXPECT_EQ(test::DifferentPixels(*drawn(ring(kSecond)), *red), 0) << "as a control made in the red container";
}

TEST(OwnContainer, AnAccessKeyReachesItsControlThroughTheAcceleratorsAndOnMnemonic) {
  TestContainer container;
  TestSite& first = container.Button(kFirst, L"&Gravar");
  TestSite& second = container.Button(kSecond, L"&Sair");
  CONTROLINFO info{sizeof(info)};
  ASSERT_EQ(second.As<IOleControl>()->GetControlInfo(&info), S_OK);
  EXPECT_EQ(info.cAccel, 1);
  ASSERT_NE(info.hAccel, nullptr);

  EventSink firstEvents(first.control.Get()), secondEvents(second.control.Get());
  const struct { char key; size_t first, second; } kKeys[] = {{'S', 0, 1}, {'G', 1, 0}, {'X', 0, 0}};  // clicks
  for (const auto& k : kKeys) {
    container.Key(k.key, true);
    EXPECT_EQ(firstEvents.Take({"Click"}).size(), k.first) << k.key;
    EXPECT_EQ(secondEvents.Take({"Click"}).size(), k.second) << k.key;
  }
}

// Design mode holds clicks back until the container says UserMode (or anything) changed; frozen
// events wait for the last thaw. Quick activation takes site, ambients and sink in one call.
TEST(OwnContainer, ClicksWaitForUserModeAndTheLastThawAndReachAQuicklyAdvisedSink) {
  TestContainer container;
  EventSink unadvised(nullptr);  // advised by the control's connection point, not by the test
  TestSite& quick = container.Button(kSecond, nullptr, static_cast<IDispatch*>(&unadvised));
  Click(quick.Window());
  EXPECT_THAT(unadvised.Take({"Click"}), ElementsAre("Click"));

  container.userMode = false;
  TestSite& site = container.Button(kFirst);
  const auto control = site.As<IOleControl>();
  ASSERT_NE(control, nullptr);
  EventSink events(site.control.Get());
  // Each step, then a click: the Clicks it raises, or -1 where it raises no event at all.
  const std::pair<std::function<void()>, int> steps[] = {
      {[] {}, 0},  // in design mode
      {[&] { container.userMode = true, container.Notify(DISPID_AMBIENT_USERMODE); }, 1},
      {[&] { control->FreezeEvents(TRUE), control->FreezeEvents(TRUE); }, -1},
      {[&] { control->FreezeEvents(FALSE); }, -1},  // thawed once
      {[&] { control->FreezeEvents(FALSE); }, 1},
      {[&] { container.userMode = false, container.Notify(DISPID_UNKNOWN); }, 0},  // anything may have changed
  };
  for (const auto& [step, clicks] : steps) {
    step();
    Click(site.Window());
    const std::vector<std::string> lines = events.Take();
    const auto got = clicks < 0 ? std::ssize(lines) : std::ranges::count(lines, "Click");
    EXPECT_EQ(got, std::max(clicks, 0)) << &step - &steps[0].first;
  }
}

// A new control waits for its activation to make its windows, in the container's window; closed,
// they go at once, and a new activation makes them again there with the values it had.
TEST(OwnContainer, AControlIsMadeWhereItIsActivatedAndMadeAgainThereAfterClose) {
  TestContainer container;
  const auto fresh = New<IPersistStreamInit>(L"TesselOCX.ButtonStyle");
  const unsigned windows = test::UserObjectCount();
  ASSERT_EQ(fresh->InitNew(), S_OK);
  EXPECT_EQ(fresh->InitNew(), CO_E_ALREADYINITIALIZED);
  EXPECT_EQ(test::UserObjectCount(), windows) << "nothing made before it is needed";

  TestSite& site = container.Button(kFirst, L"&Gravar");
  ASSERT_TRUE(IsChild(container.window, site.Window()));
  const auto shown = ScreenOf(site.Window());
  ASSERT_EQ(site.As<IOleObject>()->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(test::UserObjectCount(), windows) << "closed, its windows went";
  EXPECT_EQ(site.Holder(), nullptr);
  ASSERT_EQ(site.Verb(OLEIVERB_INPLACEACTIVATE), S_OK);
  ASSERT_TRUE(IsChild(container.window, site.Window()));
  EXPECT_EQ(GetText(site.As<IDispatch>().Get(), L"Caption"), "&Gravar");
  EXPECT_EQ(test::DifferentPixels(*ScreenOf(site.Window()), *shown), 0);
}

// A field given a rectangle lower than its font asks the container for the height it keeps, and a
// container that takes it gives it (each time it is given the lower one again); a button takes the
// rectangle it is given.
TEST(OwnContainer, AFieldAsksItsContainerForTheHeightItKeepsAndIsGivenIt) {
  TestContainer container;
  container.Button(kSecond);
  const auto posChanges = [&] {
    std::set<std::string> seen;
    for (const std::string& call : std::exchange(container.calls, {}))
      if (call.starts_with("OnPosRectChange")) seen.insert(call);
    return seen;
  };
  EXPECT_TRUE(posChanges().empty()) << "a button keeps the container's rectangle";
  TestSite& field = container.Add(RECT{10, 60, 160, 66}, New<IUnknown>(L"TesselOCX.KvTextBox"));
  RECT own{}, holder{};
  GetWindowRect(field.Window(), &own);
  const int height = own.bottom - own.top;
  ASSERT_GT(height, 6) << "the field keeps its font's height";
  EXPECT_EQ(posChanges(), std::set<std::string>{"OnPosRectChange(10,60,160," + std::to_string(60 + height) + ")"});
  GetClientRect(field.Holder(), &holder);
  EXPECT_EQ(holder.bottom, height) << "the container took it";
}

}  // namespace
}  // namespace tessel::oletest
