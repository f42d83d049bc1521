#include "tests/olehost/TestContainer.h"

#include <olectl.h>

#include "server/contract/PropertyBag.h"
#include "tests/olehost/OleFixture.h"
#include "tests/support/MessagePump.h"

namespace tessel::oletest {

HRESULT TestSite::Create(const wchar_t* progId, bool quick, IUnknown* sink) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  if (SUCCEEDED(hr)) hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&control_));
  ComPtr<IOleObject> object;
  if (SUCCEEDED(hr)) hr = control_.As(&object);
  if (FAILED(hr)) return hr;
  if (quick) {
    QACONTAINER qa{sizeof(qa)};
    qa.pClientSite = this;
    qa.pUnkEventSink = sink;
    qa.colorBack = container_.backColor;
    qa.dwAmbientFlags = container_.userMode ? QACONTAINER_USERMODE : 0;
    QACONTROL qc{sizeof(qc)};
    ComPtr<IQuickActivate> activate;
    if (SUCCEEDED(hr = control_.As(&activate))) hr = activate->QuickActivate(&qa, &qc);
  } else {
    hr = object->SetClientSite(this);  // the site first, as the control asks
  }
  ComPtr<IPersistStreamInit> persist;
  if (SUCCEEDED(hr) && SUCCEEDED(hr = control_.As(&persist))) hr = persist->InitNew();
  if (FAILED(hr)) return hr;
  SIZEL size{MulDiv(place_.right - place_.left, 2540, 96), MulDiv(place_.bottom - place_.top, 2540, 96)};
  object->SetExtent(DVASPECT_CONTENT, &size);
  return object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, container_.window_, &place_);
}

void TestSite::Close() {
  ComPtr<IOleObject> object;
  if (control_ && SUCCEEDED(control_.As(&object))) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
  }
  control_.Reset();
}

HWND TestSite::ControlWindow() const {
  ComPtr<IDispatch> dispatch;
  if (!control_ || FAILED(control_.As(&dispatch))) return nullptr;
  return reinterpret_cast<HWND>(static_cast<LONG_PTR>(GetLong(dispatch.Get(), L"hWnd")));
}

HRESULT TestSite::QueryInterface(REFIID riid, void** ppv) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
    *ppv = static_cast<IOleClientSite*>(this);
  else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
    *ppv = static_cast<IOleInPlaceSite*>(this);
  else if (IsEqualIID(riid, IID_IOleControlSite))
    *ppv = static_cast<IOleControlSite*>(this);
  else if (IsEqualIID(riid, IID_IDispatch))
    *ppv = static_cast<IDispatch*>(this);
  else
    return *ppv = nullptr, E_NOINTERFACE;
  return S_OK;
}

HRESULT TestSite::GetWindow(HWND* window) {
  *window = container_.window_;
  return S_OK;
}

HRESULT TestSite::OnInPlaceActivate() { return S_OK; }
HRESULT TestSite::OnInPlaceDeactivate() { return S_OK; }

HRESULT TestSite::OnUIActivate() {
  // One control is UI-active at a time.
  for (auto& site : container_.sites_) {
    ComPtr<IOleInPlaceObject> other;
    if (site.get() != this && site->control_ && SUCCEEDED(site->control_.As(&other))) other->UIDeactivate();
  }
  return S_OK;
}

HRESULT TestSite::OnUIDeactivate(BOOL) { return S_OK; }

HRESULT TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                   LPOLEINPLACEFRAMEINFO info) {
  *frame = &container_;
  *doc = nullptr;
  *pos = *clip = place_;
  info->fMDIApp = FALSE;
  info->hwndFrame = container_.window_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT TestSite::TranslateAccelerator(MSG* msg, DWORD modifiers) {
  container_.calls.push_back("TranslateAccelerator(" + std::to_string(msg->wParam) + "," + std::to_string(modifiers) + ")");
  return S_FALSE;
}

HRESULT TestSite::OnFocus(BOOL got) {
  container_.calls.push_back(got ? "OnFocus(1)" : "OnFocus(0)");
  return S_OK;
}

HRESULT TestSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
  if (!result) return E_POINTER;
  switch (id) {
    case DISPID_AMBIENT_USERMODE:
      result->vt = VT_BOOL;
      result->boolVal = container_.userMode ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
      result->vt = VT_I4;
      result->lVal = static_cast<LONG>(container_.backColor);
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

TestContainer::TestContainer() {
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400,
                            200, nullptr, nullptr, nullptr, nullptr);
}

TestContainer::~TestContainer() {
  active_.Reset();
  for (auto& site : sites_) site->Close();
  sites_.clear();
  DestroyWindow(window_);
  test::Pump(0);
}

TestSite& TestContainer::Add(RECT place) {
  sites_.push_back(std::make_unique<TestSite>(*this, place));
  return *sites_.back();
}

void TestContainer::Notify(DISPID id) {
  for (auto& site : sites_) {
    ComPtr<IOleControl> control;
    if (site->control_ && SUCCEEDED(site->control_.As(&control))) control->OnAmbientPropertyChange(id);
  }
}

HRESULT TestContainer::QueryInterface(REFIID riid, void** ppv) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceUIWindow) ||
      IsEqualIID(riid, IID_IOleInPlaceFrame)) {
    *ppv = static_cast<IOleInPlaceFrame*>(this);
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

HRESULT TestContainer::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) {
  active_ = object;
  calls.push_back("SetActiveObject(" + (name ? Utf8FromWide(name) : std::string("null")) + ")");
  return S_OK;
}

namespace {

// Alt held in the thread's keyboard state while the keystroke is routed, as the keyboard would.
class AltHeld {
 public:
  explicit AltHeld(bool on) : on_(on) { Set(on ? 0x80 : 0); }
  ~AltHeld() { if (on_) Set(0); }

 private:
  static void Set(BYTE state) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_MENU] = keys[VK_LMENU] = state;
    SetKeyboardState(keys);
  }
  bool on_;
};

}  // namespace

void TestContainer::Key(UINT vk, bool alt) {
  const AltHeld held(alt);
  MSG msg{GetFocus(), static_cast<UINT>(alt ? WM_SYSKEYDOWN : WM_KEYDOWN), vk, alt ? (1 << 29) : 0};
  if (active_ && active_->TranslateAccelerator(&msg) == S_OK) return;
  if (vk == VK_TAB && !alt) {
    // The next site after the active one takes the focus.
    size_t at = 0;
    for (size_t i = 0; i < sites_.size(); ++i) {
      ComPtr<IOleInPlaceActiveObject> own;
      if (sites_[i]->control_ && SUCCEEDED(sites_[i]->control_.As(&own)) && own.Get() == active_.Get()) at = i;
    }
    const bool back = GetKeyState(VK_SHIFT) < 0;
    TestSite& next = *sites_[(at + (back ? sites_.size() - 1 : 1)) % sites_.size()];
    ComPtr<IOleObject> object;
    if (SUCCEEDED(next.control_.As(&object)))
      object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &next, 0, window_, &next.place_);
    return;
  }
  if (alt) {
    for (auto& site : sites_) {
      ComPtr<IOleControl> control;
      CONTROLINFO info{sizeof(info)};
      WORD command = 0;
      if (site->control_ && SUCCEEDED(site->control_.As(&control)) && SUCCEEDED(control->GetControlInfo(&info)) &&
          info.hAccel && IsAccelerator(info.hAccel, info.cAccel, &msg, &command)) {
        control->OnMnemonic(&msg);
        return;
      }
    }
  }
  SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

}  // namespace tessel::oletest
