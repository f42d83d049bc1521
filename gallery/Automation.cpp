// Late-bound automation for the gallery's sections.
#include <windows.h>
#include <oleauto.h>

#include "gallery/Gallery.h"
#include "server/contract/ComOwners.h"

namespace tessel::gallery {

HRESULT CreateByProgId(const wchar_t* progId, IDispatch** object) {
  *object = nullptr;
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) return hr;
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(object));
}

HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
  LPOLESTR n = const_cast<LPOLESTR>(name);
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  if (SUCCEEDED(hr)) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      params.rgdispidNamedArgs = &put;
      params.cNamedArgs = 1;
    }
    unique_variant ignored;
    unique_excepinfo excep;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result : ignored.get(), excep.get(),
                        nullptr);
    if (hr == DISP_E_EXCEPTION && excep->scode) hr = excep->scode;
  }
  for (VARIANT& v : args) VariantClear(&v);  // the call consumes its arguments
  return hr;
}


}  // namespace tessel::gallery
