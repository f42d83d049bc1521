#pragma once
// The connection point of a control's event dispinterface: the sinks advised on it, each called
// through IDispatch::Invoke when the control raises an event. It lives inside its control object
// and counts its references there.
#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <span>
#include <utility>
#include <vector>

#include <wrl/client.h>

namespace tessel::ole {

class EventConnectionPoint final : public IConnectionPoint {
 public:
  // advised runs after each sink is advised (the owner may start work only a listener needs).
  EventConnectionPoint(IConnectionPointContainer& owner, const GUID& events, std::function<void()> advised = {})
      : owner_(owner), events_(events), advised_(std::move(advised)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

  // Calls every sink advised now; a sink that fails is skipped.
  void Fire(DISPID id, std::span<VARIANTARG> args);
  bool empty() const { return sinks_.empty(); }
  void Clear() { sinks_.clear(); }

 private:
  IConnectionPointContainer& owner_;
  GUID events_;
  std::function<void()> advised_;
  DWORD nextCookie_ = 1;
  std::vector<std::pair<DWORD, Microsoft::WRL::ComPtr<IDispatch>>> sinks_;
};

}  // namespace tessel::ole
