// One class factory for every public class, fed by a row of the class table, and for every user
// control registered as an ActiveX control, fed by its type name.
#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "server/module/ClassTable.h"
#include "server/module/ControlClasses.h"
#include "server/module/Module.h"

namespace tessel::server {

namespace {

// One factory for each class, made at the first request and kept while the server is loaded: a
// client that takes a factory and never gives it back (script engines do, at every object they
// make by name) then costs nothing. The references clients hold keep the server loaded.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const ClassEntry& entry) : entry_(&entry) {}
  explicit ClassFactory(const ControlClass& control) : control_(&control) {}

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
  ULONG STDMETHODCALLTYPE AddRef() override {
    const long held = ++refs_;
    if (held == 1) ModuleAddRef();
    return static_cast<ULONG>(held);
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const long held = --refs_;
    if (held == 0) ModuleRelease();
    return static_cast<ULONG>(held);
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return entry_ ? entry_->create(riid, ppv) : CreateOleControl(control_->typeName, riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    ModuleLock(lock != FALSE);
    return S_OK;
  }

  bool Serves(const void* entry) const { return entry == entry_ || entry == control_; }

 private:
  const ClassEntry* entry_ = nullptr;
  const ControlClass* control_ = nullptr;
  std::atomic<long> refs_{0};
};

template <typename Entry>
ClassFactory* FactoryFor(const Entry& entry) {
  static std::mutex guard;
  static std::vector<std::unique_ptr<ClassFactory>> made;
  const std::lock_guard<std::mutex> lock(guard);
  for (const auto& factory : made)
    if (factory->Serves(&entry)) return factory.get();
  auto factory = std::unique_ptr<ClassFactory>(new (std::nothrow) ClassFactory(entry));
  if (!factory) return nullptr;
  try {
    made.push_back(std::move(factory));
  } catch (...) {
    return nullptr;
  }
  return made.back().get();
}

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  ClassFactory* factory = nullptr;
  if (const ClassEntry* entry = FindClass(PublicClasses(), clsid)) {
    factory = FactoryFor(*entry);
  } else if (const ControlClass* control = FindControlClass(clsid); control && ControlClassRegistered(clsid)) {
    factory = FactoryFor(*control);
  } else {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return factory ? factory->QueryInterface(riid, ppv) : E_OUTOFMEMORY;
}

}  // namespace tessel::server
