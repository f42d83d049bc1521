#pragma once
// IUnknown, IDispatch and ISupportErrorInfo for one dual interface. Dispatch goes through the
// embedded type library, so the dispatch identifiers come from the IDL alone.
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <atomic>

#include <wrl/client.h>

#include "server/module/Module.h"

namespace tessel::server {

template <class Dual, const IID& kIid>
class DispatchObject : public Dual, public ISupportErrorInfo {
 public:
  DispatchObject() { ModuleAddRef(); }
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;
  virtual ~DispatchObject() { ModuleRelease(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIid)) {
      *ppv = static_cast<Dual*>(this);
    } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
      *ppv = static_cast<ISupportErrorInfo*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return IsEqualIID(riid, kIid) ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return TypeInfoOf(kIid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    HRESULT hr = TypeInfoOf(kIid, info.GetAddressOf());
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(info.Get(), names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    HRESULT hr = TypeInfoOf(kIid, info.GetAddressOf());
    if (FAILED(hr)) return hr;
    DISPPARAMS none{};
    return DispatchCall(info.Get(), id, flags, params ? params : &none, result, excep, argErr);
  }

 protected:
  // A class that has to fix up its arguments first overrides this and ends in DispInvoke too.
  virtual HRESULT DispatchCall(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* excep, UINT* argErr) {
    return DispInvokeChecked(info, id, flags, params, result, excep, argErr);
  }

  // DispInvoke, with a failing member's error turned into the caller's exception record.
  HRESULT DispInvokeChecked(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* excep, UINT* argErr) {
    SetErrorInfo(0, nullptr);
    HRESULT hr = DispInvoke(static_cast<Dual*>(this), info, id, flags, params, result, excep, argErr);
    if (hr == DISP_E_EXCEPTION && excep && !excep->bstrDescription) {
      Microsoft::WRL::ComPtr<IErrorInfo> error;
      if (GetErrorInfo(0, error.GetAddressOf()) == S_OK && error) {
        error->GetDescription(&excep->bstrDescription);
        if (!excep->bstrSource) error->GetSource(&excep->bstrSource);
      }
    }
    return hr;
  }

 private:
  std::atomic<long> refs_{1};
};

}  // namespace tessel::server
