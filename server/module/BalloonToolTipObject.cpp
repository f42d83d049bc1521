// The automation face of the balloon tooltip.
#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>

#include "classes/BalloonToolTip.h"
#include "server/contract/ComOwners.h"
#include "server/module/ClassTable.h"
#include "server/module/DispatchObject.h"
#include "server/module/Guids.h"
#include "server/module/Interfaces.h"

namespace tessel::server {

namespace {

constexpr DISPID kDispCreateBalloon = 0x6003000A;
constexpr DISPID kDispCreateTip = 0x6003000B;
constexpr DISPID kDispParentControl = 0x68030008;
constexpr const wchar_t* kSource = L"TesselOCX.CBalloonToolTip";

// VB's "Object required": the parent argument is Nothing.
constexpr HRESULT kObjectRequired = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 424);

std::wstring FromBstr(BSTR s) { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }

BSTR ToBstr(const std::wstring& s) { return SysAllocStringLen(s.data(), static_cast<UINT>(s.size())); }

bool IsMissing(const VARIANT* v) {
  return !v || (V_VT(v) == VT_ERROR && V_ERROR(v) == DISP_E_PARAMNOTFOUND) ||
         (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v) && V_VT(V_VARIANTREF(v)) == VT_ERROR &&
          V_ERROR(V_VARIANTREF(v)) == DISP_E_PARAMNOTFOUND);
}

// Reads the window handle of a parent object through its "hWnd" property, by name.
HRESULT WindowOf(IDispatch* parent, HWND* window) {
  *window = nullptr;
  if (!parent) return RaiseError(kObjectRequired, L"Object required", kSource, kIidBalloonToolTip);
  LPOLESTR name = const_cast<LPOLESTR>(L"hWnd");
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(parent->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
    return RaiseError(DISP_E_MEMBERNOTFOUND, L"Object doesn't support this property or method", kSource,
                      kIidBalloonToolTip);
  DISPPARAMS none{};
  unique_variant value;
  unique_excepinfo excep;
  HRESULT hr = parent->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none,
                              value.get(), excep.get(), nullptr);
  if (FAILED(hr)) {
    if (hr == DISP_E_MEMBERNOTFOUND)
      return RaiseError(hr, L"Object doesn't support this property or method", kSource, kIidBalloonToolTip);
    return RaiseError(hr, L"The parent object could not tell its window handle", kSource, kIidBalloonToolTip);
  }
  hr = VariantChangeType(value.get(), value.get(), 0, VT_I8);
  if (FAILED(hr)) {
    return RaiseError(DISP_E_TYPEMISMATCH, L"Type mismatch: hWnd is not a window handle", kSource,
                      kIidBalloonToolTip);
  }
  *window = reinterpret_cast<HWND>(static_cast<INT_PTR>(V_I8(value.get())));
  return S_OK;
}

// Window handles are 32-bit values in every process; the automation type is a 32-bit integer.
LONG HandleValue(HWND window) { return static_cast<LONG>(reinterpret_cast<INT_PTR>(window)); }

class BalloonToolTipObject final : public DispatchObject<IBalloonToolTipDual, kIidBalloonToolTip> {
 public:
  BalloonToolTipObject() : tip_(ModuleInstance()) {}

  HRESULT STDMETHODCALLTYPE CreateBalloon(IDispatch* parent, BSTR* text, BSTR* title, short* icon,
                                          VARIANT* result) override {
    return Create(ToolStyle::Balloon, parent, text, title, icon, result);
  }
  HRESULT STDMETHODCALLTYPE CreateTip(IDispatch* parent, BSTR* text, BSTR* title, short* icon,
                                      VARIANT* result) override {
    return Create(ToolStyle::Standard, parent, text, title, icon, result);
  }

  HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* v) override { return Get(v, Bool(tip_.Settings().active)); }
  HRESULT STDMETHODCALLTYPE put_Active(VARIANT_BOOL v) override { tip_.SetActive(v != VARIANT_FALSE); return S_OK; }

  HRESULT STDMETHODCALLTYPE get_ParentControl(LONG* v) override { return Get(v, HandleValue(tip_.Settings().parent)); }
  HRESULT STDMETHODCALLTYPE putref_ParentControl(IDispatch* parent) override {
    HWND window = nullptr;
    HRESULT hr = WindowOf(parent, &window);
    if (FAILED(hr)) return hr;
    tip_.SetParent(window);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_Style(LONG* v) override { return Get(v, tip_.Settings().style); }
  HRESULT STDMETHODCALLTYPE put_Style(LONG v) override { tip_.SetStyle(v); return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Centered(VARIANT_BOOL* v) override { return Get(v, Bool(tip_.Settings().centered)); }
  HRESULT STDMETHODCALLTYPE put_Centered(VARIANT_BOOL v) override { tip_.SetCentered(v != VARIANT_FALSE); return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Icon(LONG* v) override { return Get(v, tip_.Settings().icon); }
  HRESULT STDMETHODCALLTYPE put_Icon(LONG v) override { tip_.SetIcon(v); return S_OK; }
  HRESULT STDMETHODCALLTYPE get_ForeColor(LONG* v) override { return Get(v, tip_.Settings().foreColor); }
  HRESULT STDMETHODCALLTYPE put_ForeColor(LONG v) override { tip_.SetForeColor(v); return S_OK; }
  HRESULT STDMETHODCALLTYPE get_Title(BSTR* v) override { return GetText(v, tip_.Settings().title); }
  HRESULT STDMETHODCALLTYPE put_Title(BSTR v) override { tip_.SetTitle(FromBstr(v)); return S_OK; }
  HRESULT STDMETHODCALLTYPE get_BackColor(LONG* v) override { return Get(v, tip_.Settings().backColor); }
  HRESULT STDMETHODCALLTYPE put_BackColor(LONG v) override { tip_.SetBackColor(v); return S_OK; }
  HRESULT STDMETHODCALLTYPE get_TipText(BSTR* v) override { return GetText(v, tip_.Settings().tipText); }
  HRESULT STDMETHODCALLTYPE put_TipText(BSTR v) override { tip_.SetTipText(FromBstr(v)); return S_OK; }
  HRESULT STDMETHODCALLTYPE get_hWnd(LONG* v) override { return Get(v, HandleValue(tip_.Window())); }

  HRESULT STDMETHODCALLTYPE Remove(VARIANT_BOOL* result) override {
    tip_.Remove();
    if (result) *result = VARIANT_FALSE;
    return S_OK;
  }

 protected:
  HRESULT DispatchCall(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* excep, UINT* argErr) override {
    if ((id == kDispCreateBalloon || id == kDispCreateTip) && (flags & DISPATCH_METHOD))
      return InvokeCreate(info, id, params, result, excep, argErr);
    // The parent is only ever written by reference; a script that assigns it without Set (JScript
    // always does) still means the object, and anything else is then refused as a type mismatch.
    if (id == kDispParentControl && (flags & DISPATCH_PROPERTYPUT))
      flags = static_cast<WORD>((flags & ~DISPATCH_PROPERTYPUT) | DISPATCH_PROPERTYPUTREF);
    return DispInvokeChecked(info, id, flags, params, result, excep, argErr);
  }

 private:
  static VARIANT_BOOL Bool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }
  template <class T, class U>
  static HRESULT Get(T* out, U value) {
    if (!out) return E_POINTER;
    *out = static_cast<T>(value);
    return S_OK;
  }
  static HRESULT GetText(BSTR* out, const std::wstring& value) {
    if (!out) return E_POINTER;
    *out = ToBstr(value);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT Create(ToolStyle style, IDispatch* parent, BSTR* text, BSTR* title, short* icon, VARIANT* result) {
    if (result) VariantInit(result);
    tip_.BeginCreate(style);
    HWND window = nullptr;
    HRESULT hr = WindowOf(parent, &window);
    if (FAILED(hr)) return hr;
    tip_.FinishCreate(window, FromBstr(text ? *text : nullptr), FromBstr(title ? *title : nullptr), icon ? *icon : 0);
    return S_OK;
  }

  // The create methods take Text, Title and Icon by reference, and the last two may be left out.
  // Every argument is brought into storage of its declared type here, with the defaults filled
  // in, so the type library never has to invent a reference for an omitted argument.
  HRESULT InvokeCreate(ITypeInfo* info, DISPID id, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                       UINT* argErr) {
    constexpr UINT kParams = 4;
    VARIANT* given[kParams] = {};
    UINT positional = params->cArgs - params->cNamedArgs;
    if (params->cArgs > kParams) return DISP_E_BADPARAMCOUNT;
    for (UINT i = 0; i < positional; ++i) given[i] = &params->rgvarg[params->cArgs - 1 - i];
    for (UINT n = 0; n < params->cNamedArgs; ++n) {
      DISPID which = params->rgdispidNamedArgs[n];
      if (which < 0 || static_cast<UINT>(which) >= kParams) return DISP_E_PARAMNOTFOUND;
      given[which] = &params->rgvarg[n];
    }
    if (!given[0] || IsMissing(given[0]) || !given[1] || IsMissing(given[1])) return DISP_E_PARAMNOTOPTIONAL;
    // The parent must be an object (or Nothing); a number or a text is not coerced into one.
    const VARIANT* parent = (V_VT(given[0]) == (VT_BYREF | VT_VARIANT)) ? V_VARIANTREF(given[0]) : given[0];
    const VARTYPE parentType = V_VT(parent) & ~VT_BYREF;
    if (parentType != VT_DISPATCH && parentType != VT_UNKNOWN && parentType != VT_NULL && parentType != VT_EMPTY) {
      if (argErr) *argErr = positional > 0 ? params->cArgs - 1 : 0;
      return DISP_E_TYPEMISMATCH;
    }

    unique_variant text, title, icon;

    const VARTYPE types[kParams] = {VT_DISPATCH, VT_BSTR, VT_BSTR, VT_I2};
    VARIANT* slots[kParams] = {nullptr, text.get(), title.get(), icon.get()};
    for (UINT i = 1; i < kParams; ++i) {
      if (IsMissing(given[i])) {
        V_VT(slots[i]) = types[i];
        if (types[i] == VT_BSTR) V_BSTR(slots[i]) = SysAllocString(L"");
        else V_I2(slots[i]) = 0;
        continue;
      }
      unique_variant copy;
      HRESULT hr = VariantCopyInd(copy.get(), given[i]);
      if (SUCCEEDED(hr)) hr = VariantChangeType(slots[i], copy.get(), 0, types[i]);
      if (FAILED(hr)) {
        if (argErr) *argErr = (i < positional) ? params->cArgs - 1 - i : 0;
        return hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH;
      }
    }

    VARIANT args[kParams];   // reversed, as DISPPARAMS wants them
    args[3] = *given[0];
    // A script's null or empty parent is the same as Nothing.
    if (parentType == VT_NULL || parentType == VT_EMPTY) {
      V_VT(&args[3]) = VT_DISPATCH;
      V_DISPATCH(&args[3]) = nullptr;
    }
    V_VT(&args[2]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&args[2]) = &V_BSTR(text.get());
    V_VT(&args[1]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&args[1]) = &V_BSTR(title.get());
    V_VT(&args[0]) = VT_BYREF | VT_I2;
    V_I2REF(&args[0]) = &V_I2(icon.get());
    DISPPARAMS all{args, nullptr, kParams, 0};
    return DispInvokeChecked(info, id, DISPATCH_METHOD, &all, result, excep, nullptr);
  }

  BalloonToolTip tip_;
};

}  // namespace

HRESULT CreateBalloonToolTip(REFIID riid, void** ppv) {
  auto* object = new (std::nothrow) BalloonToolTipObject();
  if (!object) return E_OUTOFMEMORY;
  HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

}  // namespace tessel::server
