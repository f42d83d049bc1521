#pragma once
// The controls as ActiveX controls in Wine's ATL container and in the tests' own, beside a Form's.
#include "tests/support/Prelude.h"
#include <olectl.h>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/ComOwners.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/SystemHandles.h"
#include "server/contract/Twips.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"
#include "tests/support/Programs.h"

namespace tessel::oletest {

using Microsoft::WRL::ComPtr;

// OLE on the test thread, and the controls registered for the whole program.
struct Environment : ::testing::Environment {
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    RegisterLibraryControls(ControlTypes::Default());
    ASSERT_EQ(test::RegSvr32(L"/i:controls"), 0u);
  }
  void TearDown() override {
    EXPECT_EQ(test::RegSvr32(L"/u /n /i:controls"), 0u);
    OleUninitialize();
  }
};
inline const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

// A new object of a class by ProgID, and another interface of an object; null when there is none.
template <class I>
ComPtr<I> New(const std::wstring& progId) {
  CLSID clsid{};
  ComPtr<I> object;
  if (SUCCEEDED(CLSIDFromProgID(progId.c_str(), &clsid)))
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object));
  return object;
}
template <class I>
ComPtr<I> As(IUnknown* object) {
  ComPtr<I> i;
  if (object) object->QueryInterface(IID_PPV_ARGS(&i));
  return i;
}
// QueryInterface of an object on the test's stack: each interface it answers with its pointer.
inline HRESULT Offer(REFIID riid, void** ppv, std::initializer_list<std::pair<const IID*, void*>> offered) {
  for (const auto& [iid, pointer] : offered)
    if (IsEqualIID(riid, *iid)) return *ppv = pointer, S_OK;
  return *ppv = nullptr, E_NOINTERFACE;
}

// The seven controls with the sizes they are hosted at, in pixels.
struct Sample { const wchar_t* type; int width, height; };
inline const Sample kSamples[] = {
    {L"ButtonStyle", 97, 33}, {L"tzFrames", 160, 120}, {L"Bevel", 80, 40}, {L"KvLinha", 120, 2},
    {L"KvText", 200, 25},     {L"KvTextBox", 150, 25}, {L"KvFundo", 240, 160},
};
inline std::wstring ProgId(std::wstring_view type) { return L"TesselOCX." + std::wstring(type); }

// A VARIANT argument that frees its string: Arg(12), Arg(true), Arg(L"text"), Arg(nullptr) (Nothing).
struct Arg : unique_variant {
  Arg(std::nullptr_t) { get()->vt = VT_DISPATCH, get()->pdispVal = nullptr; }
  Arg(int32_t value) { get()->vt = VT_I4, get()->lVal = value; }
  Arg(bool value) { get()->vt = VT_BOOL, get()->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; }
  Arg(const wchar_t* value) { get()->vt = VT_BSTR, get()->bstrVal = SysAllocString(value); }
};

// A value as text: numbers (singles cut to whole ones), "True"/"False", strings, "<font>", "<object>".
inline std::string Text(const VARIANT& value) {
  unique_variant v;
  if (FAILED(VariantCopyInd(v.get(), const_cast<VARIANT*>(&value)))) return "<error>";
  ComPtr<IFont> font;
  if (v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN)
    return v->punkVal && SUCCEEDED(v->punkVal->QueryInterface(IID_PPV_ARGS(&font))) ? "<font>" : "<object>";
  if (v->vt == VT_R4) v->fltVal = std::trunc(v->fltVal);
  if (FAILED(VariantChangeType(v.get(), v.get(), VARIANT_ALPHABOOL, VT_BSTR))) return "<vt" + std::to_string(value.vt) + ">";
  return Utf8FromWide(v->bstrVal ? v->bstrVal : L"");
}

// Properties by name, as a script reaches them; a refused write gives the error's description.
inline HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* result,
                      std::wstring* error = nullptr) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  unique_excepinfo excep;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, excep.get(), nullptr);
  if (hr != DISP_E_EXCEPTION) return hr;
  EXPECT_EQ(excep->wCode, 0) << "a script sees the wCode before the scode";
  if (error && excep->bstrDescription) *error = excep->bstrDescription;
  return excep->scode;
}
inline HRESULT Put(IDispatch* object, const wchar_t* name, const Arg& value, std::wstring* error = nullptr) {
  VARIANT arg = *value.get();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&arg, &named, 1, 1};
  return Invoke(object, name, DISPATCH_PROPERTYPUT, params, nullptr, error);
}
inline std::string GetText(IDispatch* object, const wchar_t* name) {
  unique_variant v;
  DISPPARAMS none{};
  return FAILED(Invoke(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none, v.get())) ? "<error>" : Text(*v.get());
}
inline HWND WindowOf(IUnknown* control) {
  const auto dispatch = As<IDispatch>(control);
  return dispatch ? reinterpret_cast<HWND>(std::atoll(GetText(dispatch.Get(), L"hWnd").c_str())) : nullptr;
}

// A window's client area as the screen has it, repainted first.
inline std::unique_ptr<test::Canvas> ScreenOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  auto canvas = std::make_unique<test::Canvas>(r.right, r.bottom, RGB(1, 2, 3));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  BitBlt(canvas->dc(), 0, 0, r.right, r.bottom, WindowDC(window).get(), 0, 0, SRCCOPY);
  GdiFlush();
  return canvas;
}

// The control as its container draws it into a DC of its own (IViewObject::Draw); null when it cannot.
inline std::unique_ptr<test::Canvas> DrawnBy(IUnknown* control, int width, int height) {
  ComPtr<IViewObject> view;
  auto canvas = std::make_unique<test::Canvas>(width, height, RGB(1, 2, 3));
  const RECTL bounds{0, 0, width, height};
  if (!control || FAILED(control->QueryInterface(IID_PPV_ARGS(&view))) ||
      view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas->dc(), &bounds, nullptr, nullptr, 0) != S_OK)
    return nullptr;
  return canvas;
}

// The extent a control reports to its container (IOleObject::GetExtent), in pixels; {-1, -1} without one.
inline SIZE ExtentOf(IUnknown* control) {
  ComPtr<IOleObject> object;
  SIZEL extent{};
  if (!control || FAILED(control->QueryInterface(IID_PPV_ARGS(&object))) ||
      object->GetExtent(DVASPECT_CONTENT, &extent) != S_OK)
    return SIZE{-1, -1};
  return SIZE{MulDiv(extent.cx, ScreenDpiX(), 2540), MulDiv(extent.cy, ScreenDpiY(), 2540)};
}

// One control in an ATL host window (AtlAxWin100 creates the one its title names) in a popup.
class AtlHosted {
 public:
  AtlHosted(const std::wstring& progId, int width, int height) {
    using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
    static const GetControl getControl = [] {
      HMODULE module = LoadLibraryW(L"atl100.dll");
      auto init = reinterpret_cast<BOOL(WINAPI*)()>(GetProcAddress(module, "AtlAxWinInit"));
      if (init) init();
      return reinterpret_cast<GetControl>(GetProcAddress(module, "AtlAxGetControl"));
    }();
    top_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                           width + 20, height + 20, nullptr, nullptr, nullptr, nullptr);
    host_ = CreateWindowExW(0, L"AtlAxWin100", progId.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, width, height, top_,
                            nullptr, nullptr, nullptr);
    if (host_ && getControl) getControl(host_, &control_);
    if (control_) control_.As(&dispatch_);
    // A control that keeps a size of its own (a field its smallest height, a rule its twips) asks for
    // it through IOleInPlaceSite::OnPosRectChange, which this host answers E_NOTIMPL: its owner
    // gives it the extent the control reports, as its twin's form is made large enough, and the host
    // passes its new size on (SetExtent, SetObjectRects).
    const SIZE own = ExtentOf(control_.Get());
    if (own.cx > 0 && own.cy > 0 && (own.cx != width || own.cy != height)) {
      SetWindowPos(top_, nullptr, 0, 0, own.cx + 20, own.cy + 20, SWP_NOMOVE | SWP_NOZORDER);
      SetWindowPos(host_, nullptr, 0, 0, own.cx, own.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    UpdateWindow(top_);
  }
  ~AtlHosted() {
    dispatch_.Reset();
    control_.Reset();
    if (top_) DestroyWindow(top_);  // the host window goes with it and closes the control
    test::Pump(0);
  }
  AtlHosted(const AtlHosted&) = delete;
  AtlHosted& operator=(const AtlHosted&) = delete;
  IUnknown* control() const { return control_.Get(); }
  IDispatch* dispatch() const { return dispatch_.Get(); }
  HWND host() const { return host_; }
  HWND ControlWindow() const { return WindowOf(control_.Get()); }

 private:
  HWND top_ = nullptr, host_ = nullptr;
  ComPtr<IUnknown> control_;
  ComPtr<IDispatch> dispatch_;
};

// Records a control's events ("MouseDown(1,0,75,75)", "Click"), a KeyAscii of replaceKey going back as
// withKey. Made without a control, a container advises it.
class EventSink final : public IDispatch {
 public:
  explicit EventSink(IUnknown* control) {
    ComPtr<IProvideClassInfo2> info;
    ComPtr<IConnectionPointContainer> points;
    ComPtr<ITypeInfo> coclass;
    ComPtr<ITypeLib> lib;
    UINT index = 0;
    if (!control || FAILED(control->QueryInterface(IID_PPV_ARGS(&info))) ||
        FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid_)) ||
        FAILED(control->QueryInterface(IID_PPV_ARGS(&points))) || FAILED(points->FindConnectionPoint(iid_, &point_)))
      return;
    if (SUCCEEDED(info->GetClassInfo(&coclass)) && SUCCEEDED(coclass->GetContainingTypeLib(&lib, &index)))
      lib->GetTypeInfoOfGuid(iid_, &events_);
    point_->Advise(static_cast<IDispatch*>(this), &cookie_);
  }
  ~EventSink() {
    if (point_ && cookie_) point_->Unadvise(cookie_);
  }
  std::vector<std::string> Take() { return std::exchange(lines_, {}); }
  std::vector<std::string> Take(std::initializer_list<std::string_view> prefixes) {
    std::vector<std::string> kept;
    for (const std::string& line : Take())
      for (std::string_view p : prefixes)
        if (line.starts_with(p)) kept.push_back(line);
    return kept;
  }
  int16_t replaceKey = 0, withKey = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    IDispatch* self = this;
    return Offer(riid, ppv, {{&IID_IUnknown, self}, {&IID_IDispatch, self}, {&iid_, self}});
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    BSTR name = nullptr;
    if (events_) events_->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
    std::string line = name ? Utf8FromWide(name) : id == DISPID_CLICK ? "Click" : std::to_string(id);
    SysFreeString(name);
    for (UINT i = params ? params->cArgs : 0; i-- > 0;) {
      VARIANT& arg = params->rgvarg[i];
      if (arg.vt == (VT_I2 | VT_BYREF) && replaceKey && *arg.piVal == replaceKey) *arg.piVal = withKey;
      line.append(i + 1 == params->cArgs ? "(" : ",").append(Text(arg)).append(i ? "" : ")");
    }
    lines_.push_back(line);
    return S_OK;
  }

 private:
  ComPtr<IConnectionPoint> point_;
  ComPtr<ITypeInfo> events_;
  DWORD cookie_ = 0;
  IID iid_{};
  std::vector<std::string> lines_;
};

// A property bag that keeps what is written, in order.
class MemoryBag final : public IPropertyBag {
 public:
  std::deque<std::pair<std::wstring, unique_variant>> entries;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    IPropertyBag* self = this;
    return Offer(riid, ppv, {{&IID_IUnknown, self}, {&IID_IPropertyBag, self}});
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    for (auto& [key, stored] : entries)
      if (SameKey(key, name)) return VariantCopy(value, stored.get());
    return E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
    entries.emplace_back(std::piecewise_construct, std::forward_as_tuple(name), std::forward_as_tuple());
    return VariantCopy(entries.back().second.get(), value);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const auto& [key, value] : entries) lines.push_back(Utf8FromWide(key) + "=" + Text(*value.get()));
    return lines;
  }
};

// A form shown at the top left holding one control of the same size, for comparisons.
struct FormWith {
  FormWith(const std::wstring& type, int width, int height)
      : form(Form::Create(L"Same", TwipsFromPixelsX(width), TwipsFromPixelsY(height), true)),
        control(&form->Add(type, type + L"1", 0, 0, TwipsFromPixelsX(width), TwipsFromPixelsY(height))) {
    // Not a tab stop, so the shown form's first focus leaves it drawn as the container's copy is.
    form->SetTabStop(type + L"1", false);
    RECT own{}, client{};
    GetWindowRect(control->hWnd(), &own);
    GetClientRect(form->hWnd(), &client);
    if (own.right - own.left > client.right || own.bottom - own.top > client.bottom) {
      RECT outer{0, 0, own.right - own.left, own.bottom - own.top};
      AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(form->hWnd(), GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(form->hWnd(), GWL_EXSTYLE)));
      SetWindowPos(form->hWnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    Form::PumpMessages();
  }
  std::unique_ptr<Form> form;
  UserControl* control;
};

// Presses and releases the left button at the middle of a window with the cursor over it.
inline void Click(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  SendMessageW(window, WM_MOUSEMOVE, 0, at);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
  test::Pump(0);
}

}  // namespace tessel::oletest
