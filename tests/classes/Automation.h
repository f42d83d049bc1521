#pragma once
// The server's automation classes for tests: late-bound calls and a recorder of the tooltips they build.
#include "tests/support/Prelude.h"

#include "server/contract/ComOwners.h"
#include "server/contract/PropertyBag.h"
#include "tests/support/Programs.h"

namespace tessel::test {

using Microsoft::WRL::ComPtr;

// An object made by the server's own class factory.
inline ComPtr<IDispatch> CreateServerObject(const CLSID& clsid) {
  ComPtr<IClassFactory> factory;
  ComPtr<IDispatch> object;
  if (SUCCEEDED(ServerGetClassObject(clsid, IID_PPV_ARGS(&factory))))
    factory->CreateInstance(nullptr, IID_PPV_ARGS(&object));
  return object;
}

// One VARIANT of a type, its value set by the member macro; Str's text is freed by the call it is given to.
#define TESSEL_VARIANT(type, member, value) \
  VARIANT v{};                             \
  V_VT(&v) = type;                         \
  member(&v) = value;                      \
  return v
inline VARIANT Str(const wchar_t* s) { TESSEL_VARIANT(VT_BSTR, V_BSTR, SysAllocString(s)); }
inline VARIANT Int(long value) { TESSEL_VARIANT(VT_I4, V_I4, value); }
inline VARIANT Short(short value) { TESSEL_VARIANT(VT_I2, V_I2, value); }
inline VARIANT Bool(bool value) { TESSEL_VARIANT(VT_BOOL, V_BOOL, value ? VARIANT_TRUE : VARIANT_FALSE); }
inline VARIANT Obj(IDispatch* d) { TESSEL_VARIANT(VT_DISPATCH, V_DISPATCH, d); }  // borrowed
inline VARIANT Missing() { TESSEL_VARIANT(VT_ERROR, V_ERROR, DISP_E_PARAMNOTFOUND); }
#undef TESSEL_VARIANT

// A late-bound object: names are looked up through GetIDsOfNames like a script does.
class Auto {
 public:
  explicit Auto(ComPtr<IDispatch> d) : d_(std::move(d)) {}
  IDispatch* get() const { return d_.Get(); }
  explicit operator bool() const { return d_ != nullptr; }

  DISPID Id(const wchar_t* name) const {
    LPOLESTR n = const_cast<LPOLESTR>(name);
    DISPID id = DISPID_UNKNOWN;
    d_->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    return id;
  }
  // Arguments in source order, string arguments freed afterwards; the result is kept.
  HRESULT Invoke(const wchar_t* name, WORD flags, std::vector<VARIANT> args) {
    result.reset();
    unique_excepinfo excep;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    const UINT named = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF) ? 1 : 0;
    DISPPARAMS params{reversed.data(), named ? &put : nullptr, static_cast<UINT>(reversed.size()), named};
    HRESULT hr =
        d_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.get(), excep.get(), nullptr);
    for (VARIANT& v : args)
      if (V_VT(&v) == VT_BSTR) VariantClear(&v);
    return hr;
  }
  HRESULT Call(const wchar_t* name, std::vector<VARIANT> args) { return Invoke(name, DISPATCH_METHOD, std::move(args)); }
  HRESULT Put(const wchar_t* name, VARIANT value) { return Invoke(name, DISPATCH_PROPERTYPUT, {value}); }
  HRESULT PutRef(const wchar_t* name, IDispatch* value) { return Invoke(name, DISPATCH_PROPERTYPUTREF, {Obj(value)}); }
  const VARIANT& Get(const wchar_t* name) {  // expects success
    EXPECT_EQ(Invoke(name, DISPATCH_PROPERTYGET, {}), S_OK) << "reading " << Utf8FromWide(name);
    return *result.get();
  }
  long GetLong(const wchar_t* name) {
    Get(name);
    return SUCCEEDED(VariantChangeType(result.get(), result.get(), 0, VT_I4)) ? V_I4(result.get()) : -12345;
  }
  std::wstring GetText(const wchar_t* name) {
    const VARIANT& v = Get(name);
    return V_VT(&v) == VT_BSTR ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : L"<not a string>";
  }
  HWND Window() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(GetLong(L"hWnd"))); }

  unique_variant result;

 private:
  ComPtr<IDispatch> d_;
};

// A plain (hidden) parent window with an automation "hWnd" property, as a form would offer it.
class ParentWindow {
 public:
  ParentWindow();
  ~ParentWindow() {
    object_.Reset();
    DestroyWindow(hwnd_);
  }
  HWND hwnd() const { return hwnd_; }
  IDispatch* object() const { return object_.Get(); }

 private:
  HWND hwnd_ = nullptr;
  ComPtr<IDispatch> object_;
};

// The tooltips made on this thread while it lives and their messages: "create(80800043,0,server)",
// "TTM_ADDTOOLA(10,0,0 0 320 200,owner,server,Text)" (server: the server module's; texts as sent).
class TipRecorder {
 public:
  TipRecorder();
  ~TipRecorder();
  const std::vector<std::string>& lines() const;
  void clear();
};

// The tool's flags and text (in UTF-8) as the tooltip window reports them.
struct ToolQuery { UINT flags = 0; std::string text; };
inline ToolQuery QueryTool(HWND tip, HWND parent) {
  wchar_t text[2048] = {};
  TTTOOLINFOW info{TTTOOLINFOW_V2_SIZE, 0, parent};
  info.lpszText = text;
  EXPECT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  return {info.uFlags, Utf8FromWide(text)};
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

}  // namespace tessel::test
