// The automation face of the system facts: a snapshot taken when the object is created.
#include <windows.h>
#include <oleauto.h>

#include <new>

#include "classes/SystemFacts.h"
#include "server/module/ClassTable.h"
#include "server/module/DispatchObject.h"
#include "server/module/Guids.h"
#include "server/module/Interfaces.h"

namespace tessel::server {

namespace {

class SOSystemObject final : public DispatchObject<ISOSystemDual, kIidSOSystem> {
 public:
  SOSystemObject() : facts_(TakeSystemFacts()) {}

  HRESULT STDMETHODCALLTYPE get_TotalMemory(LONG* v) override { return Get(v, facts_.totalMemory); }
  HRESULT STDMETHODCALLTYPE get_AvailableMemory(LONG* v) override { return Get(v, facts_.availableMemory); }
  HRESULT STDMETHODCALLTYPE get_OSVersion(BSTR* v) override { return GetText(v, facts_.osVersion); }
  HRESULT STDMETHODCALLTYPE get_OSBuild(float* v) override { return Get(v, facts_.osBuild); }
  HRESULT STDMETHODCALLTYPE get_OSPlatform(BSTR* v) override { return GetText(v, facts_.osPlatform); }
  HRESULT STDMETHODCALLTYPE get_Processor(LONG* v) override { return Get(v, facts_.processor); }

 private:
  template <class T, class U>
  static HRESULT Get(T* out, U value) {
    if (!out) return E_POINTER;
    *out = static_cast<T>(value);
    return S_OK;
  }
  static HRESULT GetText(BSTR* out, const std::wstring& value) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  const SystemFacts facts_;
};

}  // namespace

HRESULT CreateSOSystem(REFIID riid, void** ppv) {
  auto* object = new (std::nothrow) SOSystemObject();
  if (!object) return E_OUTOFMEMORY;
  HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

}  // namespace tessel::server
