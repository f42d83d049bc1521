// The controls' type library, resource TYPELIB 2 of the server file, loaded once per process.
#include <windows.h>
#include <oleauto.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <wrl/client.h>

#include "olehost/OleControls.h"
#include "server/contract/ThisModule.h"

namespace tessel::ole {

namespace {

using Microsoft::WRL::ComPtr;

std::mutex g_lock;
// Plain pointers, released by ReleaseControlsTypeLib: at process exit oleaut32 may be gone first.
ITypeLib* g_lib = nullptr;
std::vector<std::pair<GUID, ITypeInfo*>>* g_infos = nullptr;

std::wstring ServerPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

HRESULT ControlsTypeLib(ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  std::lock_guard<std::mutex> guard(g_lock);
  if (!g_lib) {
    HRESULT hr = LoadTypeLibEx((ServerPath() + L"\\2").c_str(), REGKIND_NONE, &g_lib);
    if (FAILED(hr)) return hr;
  }
  g_lib->AddRef();
  *lib = g_lib;
  return S_OK;
}

HRESULT ControlsTypeInfo(REFGUID guid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_infos)
      for (auto& [id, ti] : *g_infos)
        if (IsEqualGUID(id, guid)) {
          ti->AddRef();
          *info = ti;
          return S_OK;
        }
  }
  ComPtr<ITypeLib> lib;
  HRESULT hr = ControlsTypeLib(&lib);
  if (FAILED(hr)) return hr;
  ComPtr<ITypeInfo> ti;
  hr = lib->GetTypeInfoOfGuid(guid, &ti);
  if (FAILED(hr)) return hr;
  std::lock_guard<std::mutex> guard(g_lock);
  if (!g_infos) g_infos = new std::vector<std::pair<GUID, ITypeInfo*>>();
  ti->AddRef();
  g_infos->emplace_back(guid, ti.Get());
  *info = ti.Detach();
  return S_OK;
}

HRESULT PropertiesTypeInfo(REFCLSID clsid, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  ComPtr<ITypeInfo> coclass;
  HRESULT hr = ControlsTypeInfo(clsid, &coclass);
  if (FAILED(hr)) return hr;
  TYPEATTR* attr = nullptr;
  hr = coclass->GetTypeAttr(&attr);
  if (FAILED(hr)) return hr;
  const UINT count = attr->cImplTypes;
  coclass->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags))) continue;
    if (!(flags & IMPLTYPEFLAG_FDEFAULT) || (flags & IMPLTYPEFLAG_FSOURCE)) continue;
    HREFTYPE ref = 0;
    if (FAILED(coclass->GetRefTypeOfImplType(i, &ref))) continue;
    return coclass->GetRefTypeInfo(ref, info);
  }
  return TYPE_E_ELEMENTNOTFOUND;
}

void ReleaseControlsTypeLib() {
  std::lock_guard<std::mutex> guard(g_lock);
  if (g_infos) {
    for (auto& [id, ti] : *g_infos) ti->Release();
    delete g_infos;
    g_infos = nullptr;
  }
  if (g_lib) g_lib->Release();
  g_lib = nullptr;
}

}  // namespace tessel::ole
