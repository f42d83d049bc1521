// The control's properties by name through its dispinterface, its class information and its
// event connection point.
#include <windows.h>
#include <olectl.h>

#include "olehost/ControlProperties.h"
#include "olehost/Enumerators.h"
#include "olehost/OleControl.h"
#include "server/contract/ComOwners.h"
#include "server/contract/Errors.h"

namespace tessel::ole {

namespace {

using Microsoft::WRL::ComPtr;

// A read of a write-only property, or a write of a read-only one.
class NotSupported : public std::logic_error {
 public:
  NotSupported(HRESULT hr, const char* what) : std::logic_error(what), hr_(hr) {}
  HRESULT hr() const { return hr_; }

 private:
  HRESULT hr_;
};

}  // namespace

HRESULT OleControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT OleControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return PropertiesTypeInfo(class_.clsid, info);
}

HRESULT OleControl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> info;
  HRESULT hr = PropertiesTypeInfo(class_.clsid, &info);
  if (FAILED(hr)) return hr;
  return DispGetIDsOfNames(info.Get(), names, count, ids);
}

HRESULT OleControl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excep, UINT* argErr) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  DISPPARAMS none{};
  if (!params) params = &none;
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (put && params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  if (!put && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
  if (!put && !(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) return DISP_E_MEMBERNOTFOUND;
  unique_variant unread;
  if (result) VariantInit(result);
  std::wstring description;
  const HRESULT hr = CallProperty(id, put, put ? &params->rgvarg[0] : result ? result : unread.get(), description);
  if (hr == DISP_E_TYPEMISMATCH && argErr) *argErr = 0;
  if (SUCCEEDED(hr) || description.empty()) return hr;
  // A refused value is an automation error with its description, for the caller's error object
  // and its exception record alike.
  if (!excep) return hr;
  *excep = EXCEPINFO{};
  excep->scode = hr;
  excep->bstrDescription = SysAllocString(description.c_str());
  excep->bstrSource = SysAllocString((L"TesselOCX." + std::wstring(class_.typeName)).c_str());
  return DISP_E_EXCEPTION;
}

HRESULT OleControl::CallProperty(DISPID id, bool put, VARIANT* value) {
  std::wstring description;
  return CallProperty(id, put, value, description);
}

HRESULT OleControl::CallProperty(DISPID id, bool put, VARIANT* value, std::wstring& description) {
  SettleExtent();
  ComPtr<ITypeInfo> info;
  HRESULT hr = PropertiesTypeInfo(class_.clsid, &info);
  if (FAILED(hr)) return hr;
  // The dispatch identifier names the property in the type library; the name finds its row.
  BSTR rawName = nullptr;
  if (FAILED(info->GetDocumentation(id, &rawName, nullptr, nullptr, nullptr))) return DISP_E_MEMBERNOTFOUND;
  const unique_bstr name(rawName);
  const PropertyRow* row = FindProperty(class_.typeName, rawName ? rawName : L"");
  if (!row) return DISP_E_MEMBERNOTFOUND;
  // A control made without its container's call to InitNew starts as InitNew would make it.
  hr = EnsureLoaded(nullptr);
  if (FAILED(hr)) return hr;
  SetErrorInfo(0, nullptr);
  HRESULT code = S_OK;
  try {
    if (put) {
      if (!row->put) throw NotSupported(CTL_E_SETNOTSUPPORTED, "Can't assign to read-only property");
      row->put(*Control(), *value);
    } else {
      if (!row->get) throw NotSupported(CTL_E_GETNOTSUPPORTED, "Property is write-only");
      row->get(*Control(), value);
    }
    return S_OK;
  } catch (const TypeMismatch&) {
    return DISP_E_TYPEMISMATCH;
  } catch (const ValueOverflow&) {
    return DISP_E_OVERFLOW;
  } catch (const NotSupported& e) {
    code = e.hr();
    description = WideFromUtf8(e.what());
  } catch (const OverflowError& e) {
    code = CTL_E_OVERFLOW;
    description = WideFromUtf8(e.what());
  } catch (const InvalidPropertyValue& e) {
    code = CTL_E_INVALIDPROPERTYVALUE;
    description = WideFromUtf8(e.what());
  } catch (const PropertyError& e) {
    code = CTL_E_INVALIDPROPERTYVALUE;
    description = WideFromUtf8(e.what());
  } catch (const std::exception& e) {
    code = E_FAIL;
    description = WideFromUtf8(e.what());
  }
  return Fail(code, description);
}

HRESULT OleControl::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  return ControlsTypeInfo(class_.clsid, info);
}

HRESULT OleControl::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = class_.events;
  return S_OK;
}

HRESULT OleControl::InterfaceSupportsErrorInfo(REFIID riid) {
  if (IsEqualIID(riid, IID_IDispatch)) return S_OK;
  ComPtr<ITypeInfo> info;
  TYPEATTR* attr = nullptr;
  if (FAILED(PropertiesTypeInfo(class_.clsid, &info)) || FAILED(info->GetTypeAttr(&attr))) return S_FALSE;
  const bool own = IsEqualIID(riid, attr->guid);
  info->ReleaseTypeAttr(attr);
  return own ? S_OK : S_FALSE;
}

HRESULT OleControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (!points) return E_POINTER;
  *points = ConnectionPointsEnumerator::Make({&events_});  // the events' one connection point
  return *points ? S_OK : E_OUTOFMEMORY;
}

HRESULT OleControl::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(riid, class_.events)) return CONNECT_E_NOCONNECTION;
  *point = &events_;
  events_.AddRef();
  return S_OK;
}

}  // namespace tessel::ole
