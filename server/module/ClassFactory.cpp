// One class factory for every public class, fed by a row of the class table, and for every user
// control registered as an ActiveX control, fed by its type name.
#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <functional>
#include <new>
#include <string_view>
#include <utility>

#include "server/module/ClassTable.h"
#include "server/module/ControlClasses.h"
#include "server/module/Module.h"

namespace tessel::server {

namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(std::function<HRESULT(REFIID, void**)> create) : create_(std::move(create)) {
    ModuleAddRef();
  }
  ~ClassFactory() { ModuleRelease(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    ModuleLock(lock != FALSE);
    return S_OK;
  }

 private:
  std::function<HRESULT(REFIID, void**)> create_;
  std::atomic<long> refs_{1};
};

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  std::function<HRESULT(REFIID, void**)> create;
  if (const ClassEntry* entry = FindClass(PublicClasses(), clsid)) {
    create = entry->create;
  } else if (const ControlClass* control = FindControlClass(clsid); control && ControlClassRegistered(clsid)) {
    const std::wstring_view type = control->typeName;
    create = [type](REFIID iid, void** object) { return CreateOleControl(type, iid, object); };
  } else {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  auto* factory = new (std::nothrow) ClassFactory(std::move(create));
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

}  // namespace tessel::server
