#include "server/module/Module.h"

#include <oleauto.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include <wrl/client.h>

#include "olehost/OleControls.h"
#include "server/contract/WindowClass.h"

namespace tessel::server {

namespace {

HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

using Microsoft::WRL::ComPtr;

std::mutex g_typeLock;
ComPtr<ITypeLib> g_typeLib;
std::vector<std::pair<IID, ComPtr<ITypeInfo>>> g_typeInfos;

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ModuleAddRef() { ++g_objects; }
void ModuleRelease() { --g_objects; }
void ModuleLock(bool lock) {
  if (lock) ++g_locks; else --g_locks;
}
bool ModuleInUse() { return g_objects.load() != 0 || g_locks.load() != 0; }

HRESULT LoadEmbeddedTypeLib(ITypeLib** lib) {
  *lib = nullptr;
  std::lock_guard<std::mutex> guard(g_typeLock);
  if (!g_typeLib) {
    // The library is resource TYPELIB 1 of the server file itself.
    HRESULT hr = LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, g_typeLib.GetAddressOf());
    if (FAILED(hr)) return hr;
  }
  return g_typeLib.CopyTo(lib);
}

HRESULT TypeInfoOf(REFIID iid, ITypeInfo** info) {
  *info = nullptr;
  {
    std::lock_guard<std::mutex> guard(g_typeLock);
    for (auto& [id, ti] : g_typeInfos) {
      if (IsEqualIID(id, iid)) return ti.CopyTo(info);
    }
  }
  ComPtr<ITypeLib> lib;
  HRESULT hr = LoadEmbeddedTypeLib(lib.GetAddressOf());
  if (FAILED(hr)) return hr;
  ComPtr<ITypeInfo> ti;
  hr = lib->GetTypeInfoOfGuid(iid, ti.GetAddressOf());
  if (FAILED(hr)) return hr;
  std::lock_guard<std::mutex> guard(g_typeLock);
  g_typeInfos.emplace_back(iid, ti);
  return ti.CopyTo(info);
}

void ReleaseTypeLibrary() {
  std::lock_guard<std::mutex> guard(g_typeLock);
  g_typeInfos.clear();
  g_typeLib.Reset();
}

HRESULT RaiseError(HRESULT hr, const wchar_t* description, const wchar_t* source, REFIID iid) {
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(create.GetAddressOf()))) {
    create->SetGUID(iid);
    create->SetDescription(const_cast<LPOLESTR>(description));
    create->SetSource(const_cast<LPOLESTR>(source));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
  }
  return hr;
}

}  // namespace tessel::server

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      tessel::server::g_instance = instance;
      DisableThreadLibraryCalls(instance);
      break;
    case DLL_PROCESS_DETACH:
      // At process exit (reserved != NULL) oleaut32 may already be gone: only a FreeLibrary releases.
      if (!reserved) {
        tessel::server::ReleaseTypeLibrary();
        tessel::ole::ReleaseControlsTypeLib();
        tessel::UnregisterModuleClasses();
      }
      break;
    default:
      break;
  }
  return TRUE;
}
