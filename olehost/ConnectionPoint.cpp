#include "olehost/ConnectionPoint.h"

#include <olectl.h>

#include "olehost/Enumerators.h"

namespace tessel::ole {

HRESULT EventConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

HRESULT EventConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = events_;
  return S_OK;
}

HRESULT EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = &owner_;
  owner_.AddRef();
  return S_OK;
}

HRESULT EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  Microsoft::WRL::ComPtr<IDispatch> dispatch;
  // The sink implements the events' dispinterface, which is called through IDispatch.
  if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
      FAILED(sink->QueryInterface(IID_PPV_ARGS(&dispatch))))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = nextCookie_++;
  sinks_.emplace_back(*cookie, std::move(dispatch));
  if (advised_) advised_();
  return S_OK;
}

HRESULT EventConnectionPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first != cookie) continue;
    sinks_.erase(it);
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT EventConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (!connections) return E_POINTER;
  std::vector<CONNECTDATA> advised;
  for (const auto& [cookie, sink] : sinks_) advised.push_back({sink.Get(), cookie});
  *connections = ConnectionsEnumerator::Make(std::move(advised));
  return *connections ? S_OK : E_OUTOFMEMORY;
}

void EventConnectionPoint::Fire(DISPID id, std::span<VARIANTARG> args) {
  // A handler may unadvise (or advise) while it runs: call the sinks advised when the event came.
  const auto sinks = sinks_;
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  for (const auto& [cookie, sink] : sinks) {
    EXCEPINFO excep{};
    UINT argErr = 0;
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &excep, &argErr);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
  }
}

}  // namespace tessel::ole
