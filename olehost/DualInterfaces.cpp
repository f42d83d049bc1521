#include "olehost/DualInterfaces.h"

#include <TesselOCXControls.h>

#include "olehost/ControlMembers.h"
#include "server/contract/ComOwners.h"
#include "server/contract/PropertyBag.h"

namespace tessel::ole {

namespace {

// A vtable argument as the VARIANT Invoke would be given; strings and objects are lent, not copied.
void Lend(long value, VARIANT& v) { v.vt = VT_I4, v.lVal = value; }
void Lend(short value, VARIANT& v) { v.vt = VT_I2, v.iVal = value; }  // VARIANT_BOOL too
void Lend(OLE_COLOR value, VARIANT& v) { v.vt = VT_UI4, v.ulVal = value; }
void Lend(BSTR value, VARIANT& v) { v.vt = VT_BSTR, v.bstrVal = value; }
void Lend(IDispatch* value, VARIANT& v) { v.vt = VT_DISPATCH, v.pdispVal = value; }

// A value Invoke read, handed over as the vtable's type; false when it cannot be.
bool Coerce(VARIANT& v, VARTYPE vt) { return v.vt == vt || SUCCEEDED(VariantChangeType(&v, &v, 0, vt)); }
bool Take(VARIANT& v, long* out) {
  if (v.vt == VT_UI4) return *out = static_cast<long>(v.ulVal), true;
  return Coerce(v, VT_I4) && (*out = v.lVal, true);
}
bool Take(VARIANT& v, short* out) {
  if (v.vt == VT_BOOL) return *out = v.boolVal, true;
  return Coerce(v, VT_I2) && (*out = v.iVal, true);
}
bool Take(VARIANT& v, OLE_COLOR* out) {
  if (v.vt == VT_I4) return *out = static_cast<OLE_COLOR>(v.lVal), true;  // a colour's 32 bits
  return Coerce(v, VT_UI4) && (*out = v.ulVal, true);
}
bool Take(VARIANT& v, BSTR* out) {
  if (!Coerce(v, VT_BSTR)) return false;
  *out = v.bstrVal;
  v.vt = VT_EMPTY;
  return true;
}
bool Take(VARIANT& v, IDispatch** out) {
  if (v.vt == VT_EMPTY || v.vt == VT_NULL) return *out = nullptr, true;
  if (!Coerce(v, VT_DISPATCH)) return false;
  *out = v.pdispVal;
  v.vt = VT_EMPTY;
  return true;
}

// IUnknown and IDispatch of the object it belongs to, and the property path for its members.
template <class I>
class Dual : public I, public DualInterface {
 public:
  explicit Dual(DualTarget& target) : target_(target) {}
  IDispatch* Interface() override { return this; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return target_.Automation().QueryInterface(riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return target_.Automation().AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return target_.Automation().Release(); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return target_.Automation().GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return target_.Automation().GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
    return target_.Automation().GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {
    return target_.Automation().Invoke(id, riid, lcid, flags, params, result, excep, argErr);
  }

 protected:
  template <class T>
  HRESULT Get(DISPID id, T* out) {
    if (!out) return E_POINTER;
    *out = T{};
    unique_variant value;
    const HRESULT hr = target_.CallProperty(id, false, value.get());
    if (FAILED(hr)) return hr;
    return Take(*value.get(), out) ? S_OK : DISP_E_TYPEMISMATCH;
  }
  template <class T>
  HRESULT Put(DISPID id, T in) {
    VARIANT value;
    VariantInit(&value);
    Lend(in, value);
    return target_.CallProperty(id, true, &value);
  }

 private:
  DualTarget& target_;
};

#define TESSEL_READONLY(id, type, name) \
  HRESULT STDMETHODCALLTYPE get_##name(type* value) override { return Get(id, value); }
#define TESSEL_WRITEONLY(id, type, name) \
  HRESULT STDMETHODCALLTYPE put_##name(type value) override { return Put(id, value); }
#define TESSEL_PROPERTY(id, type, name) TESSEL_READONLY(id, type, name) TESSEL_WRITEONLY(id, type, name)
#define TESSEL_DUAL(Interface, members) \
  class Interface##Dual final : public Dual<Interface> { \
   public: \
    using Dual::Dual; \
    members \
  };

TESSEL_DUAL(_ButtonStyle, TESSEL_BUTTONSTYLE_MEMBERS)
TESSEL_DUAL(_tzFrames, TESSEL_TZFRAMES_MEMBERS)
TESSEL_DUAL(_Bevel, TESSEL_BEVEL_MEMBERS)
TESSEL_DUAL(_KvLinha, TESSEL_KVLINHA_MEMBERS)
TESSEL_DUAL(_KvText, TESSEL_KVTEXT_MEMBERS)
TESSEL_DUAL(_KvTextBox, TESSEL_KVTEXTBOX_MEMBERS)
TESSEL_DUAL(_KvFundo, TESSEL_KVFUNDO_MEMBERS)

template <class D>
std::unique_ptr<DualInterface> Make(DualTarget& target) {
  return std::make_unique<D>(target);
}
struct DualRow {
  std::wstring_view type;
  std::unique_ptr<DualInterface> (*make)(DualTarget&);
};
const DualRow kDuals[] = {
    {L"ButtonStyle", &Make<_ButtonStyleDual>}, {L"tzFrames", &Make<_tzFramesDual>},
    {L"Bevel", &Make<_BevelDual>},             {L"KvLinha", &Make<_KvLinhaDual>},
    {L"KvText", &Make<_KvTextDual>},           {L"KvTextBox", &Make<_KvTextBoxDual>},
    {L"KvFundo", &Make<_KvFundoDual>},
};

}  // namespace

std::unique_ptr<DualInterface> MakeDualInterface(std::wstring_view typeName, DualTarget& target) {
  for (const DualRow& row : kDuals)
    if (SameKey(row.type, typeName)) return row.make(target);
  return nullptr;
}

}  // namespace tessel::ole
