#include "server/module/Registration.h"

#include <oleauto.h>

#include <wrl/client.h>

#include "server/contract/ComOwners.h"
#include "server/contract/SystemHandles.h"

#include "server/module/ClassTable.h"
#include "server/module/Guids.h"
#include "server/module/Module.h"

// Exported by oleaut32 but not declared by every SDK's headers.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* lib, OLECHAR* path, OLECHAR* helpDir);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libId, WORD major, WORD minor, LCID lcid, SYSKIND syskind);
}

namespace tessel::server {

namespace {

constexpr const wchar_t* kProject = L"TesselOCX";

#if defined(_WIN64)
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

std::wstring GuidText(const GUID& guid) {
  wchar_t buffer[40] = {};
  StringFromGUID2(guid, buffer, 40);
  return buffer;
}

HRESULT WriteEntry(HKEY root, const std::wstring& prefix, const RegistryEntry& entry) {
  HKEY created = nullptr;
  LSTATUS status = RegCreateKeyExW(root, (prefix + entry.key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, &created, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  const unique_hkey key(created);
  status = RegSetValueExW(key.get(), entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(entry.value.c_str()),
                          static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t)));
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

// Deletes the table's keys children first; a key that is already gone counts as removed.
HRESULT RemoveEntries(HKEY root, const std::wstring& prefix, const std::vector<RegistryEntry>& entries) {
  HRESULT result = S_OK;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (!it->name.empty()) continue;   // named values go with their key
    LSTATUS status = RegDeleteKeyW(root, (prefix + it->key).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && SUCCEEDED(result))
      result = HRESULT_FROM_WIN32(status);
  }
  return result;
}

HRESULT RegisterLibrary(RegistryScope scope) {
  Microsoft::WRL::ComPtr<ITypeLib> lib;
  HRESULT hr = LoadEmbeddedTypeLib(lib.GetAddressOf());
  if (FAILED(hr)) return hr;
  std::wstring path = ModulePath();
  return scope == RegistryScope::User ? RegisterTypeLibForUser(lib.Get(), path.data(), nullptr)
                                      : RegisterTypeLib(lib.Get(), path.data(), nullptr);
}

HRESULT UnregisterLibrary(RegistryScope scope) {
  HRESULT hr = scope == RegistryScope::User
                   ? UnRegisterTypeLibForUser(kLibId, kLibMajor, kLibMinor, LOCALE_NEUTRAL, kSysKind)
                   : UnRegisterTypeLib(kLibId, kLibMajor, kLibMinor, LOCALE_NEUTRAL, kSysKind);
  if (SUCCEEDED(hr)) return hr;
  // Some runtimes answer E_INVALIDARG rather than "not registered" for a library that is gone.
  BSTR path = nullptr;
  if (FAILED(QueryPathOfRegTypeLib(kLibId, kLibMajor, kLibMinor, LOCALE_NEUTRAL, &path))) return S_OK;
  const unique_bstr owned(path);
  return hr;
}

}  // namespace

std::vector<RegistryEntry> RegistrationEntries(const std::wstring& modulePath) {
  const std::wstring libId = GuidText(kLibId);
  const std::wstring version = std::to_wstring(kLibMajor) + L"." + std::to_wstring(kLibMinor);
  std::vector<RegistryEntry> entries;
  for (const ClassEntry& cls : PublicClasses()) {
    const std::wstring progId = std::wstring(kProject) + L"." + cls.name;
    const std::wstring clsidKey = L"CLSID\\" + GuidText(*cls.clsid);
    const std::wstring clsid = GuidText(*cls.clsid);
    entries.push_back({clsidKey, L"", progId});
    entries.push_back({clsidKey + L"\\InprocServer32", L"", modulePath});
    entries.push_back({clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"});
    entries.push_back({clsidKey + L"\\ProgID", L"", progId});
    entries.push_back({clsidKey + L"\\TypeLib", L"", libId});
    entries.push_back({clsidKey + L"\\VERSION", L"", version});
    entries.push_back({progId, L"", progId});
    entries.push_back({progId + L"\\CLSID", L"", clsid});
  }
  return entries;
}

HRESULT UpdateRegistration(RegistryScope scope, bool install) {
  const HKEY root = scope == RegistryScope::User ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
  const std::wstring prefix = scope == RegistryScope::User ? L"Software\\Classes\\" : L"";
  const std::vector<RegistryEntry> entries = RegistrationEntries(ModulePath());
  if (!install) {
    HRESULT classes = RemoveEntries(root, prefix, entries);
    HRESULT library = UnregisterLibrary(scope);
    return FAILED(classes) ? classes : library;
  }
  HRESULT hr = RegisterLibrary(scope);
  if (FAILED(hr)) return hr;
  for (const RegistryEntry& entry : entries) {
    hr = WriteEntry(root, prefix, entry);
    if (FAILED(hr)) {
      // Leave nothing half written behind.
      RemoveEntries(root, prefix, entries);
      UnregisterLibrary(scope);
      return hr;
    }
  }
  return S_OK;
}

}  // namespace tessel::server
