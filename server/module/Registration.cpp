#include "server/module/Registration.h"

#include <oleauto.h>

#include <wrl/client.h>

#include "server/contract/ComOwners.h"
#include "server/contract/SystemHandles.h"

#include "server/module/ClassTable.h"
#include "server/module/ControlClasses.h"
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

// A type library of the server file: its identity and where it is inside the file.
struct Library {
  const GUID* id;
  WORD major, minor;
  int resource;  // TYPELIB resource index; 1 is the file's own path
};
constexpr Library kClassesLibrary{&kLibId, kLibMajor, kLibMinor, 1};
constexpr Library kControlsLibrary{&kControlsLibId, kControlsLibMajor, kControlsLibMinor, kControlsLibResource};

HRESULT RegisterLibrary(RegistryScope scope, const Library& library) {
  std::wstring path = ModulePath();
  if (library.resource != 1) path += L"\\" + std::to_wstring(library.resource);
  Microsoft::WRL::ComPtr<ITypeLib> lib;
  HRESULT hr = library.resource == 1 ? LoadEmbeddedTypeLib(lib.GetAddressOf())
                                     : LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.GetAddressOf());
  if (FAILED(hr)) return hr;
  return scope == RegistryScope::User ? RegisterTypeLibForUser(lib.Get(), path.data(), nullptr)
                                      : RegisterTypeLib(lib.Get(), path.data(), nullptr);
}

HRESULT UnregisterLibrary(RegistryScope scope, const Library& library) {
  HRESULT hr = scope == RegistryScope::User
                   ? UnRegisterTypeLibForUser(*library.id, library.major, library.minor, LOCALE_NEUTRAL, kSysKind)
                   : UnRegisterTypeLib(*library.id, library.major, library.minor, LOCALE_NEUTRAL, kSysKind);
  if (SUCCEEDED(hr)) return hr;
  // Some runtimes answer E_INVALIDARG rather than "not registered" for a library that is gone.
  BSTR path = nullptr;
  if (FAILED(QueryPathOfRegTypeLib(*library.id, library.major, library.minor, LOCALE_NEUTRAL, &path))) return S_OK;
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

std::vector<RegistryEntry> ControlRegistrationEntries(const std::wstring& modulePath) {
  const std::wstring libId = GuidText(kControlsLibId);
  const std::wstring version = std::to_wstring(kControlsLibMajor) + L"." + std::to_wstring(kControlsLibMinor);
  std::vector<RegistryEntry> entries;
  for (const ControlClass& control : ControlClasses()) {
    const std::wstring progId = std::wstring(kProject) + L"." + std::wstring(control.typeName);
    const std::wstring versioned = progId + L"." + std::to_wstring(kControlsLibMajor);
    const std::wstring clsidKey = L"CLSID\\" + GuidText(*control.clsid);
    const std::wstring clsid = GuidText(*control.clsid);
    const std::wstring title = std::wstring(control.typeName) + L" Control";
    entries.push_back({clsidKey, L"", title});
    entries.push_back({clsidKey + L"\\InprocServer32", L"", modulePath});
    entries.push_back({clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"});
    entries.push_back({clsidKey + L"\\ProgID", L"", versioned});
    entries.push_back({clsidKey + L"\\VersionIndependentProgID", L"", progId});
    entries.push_back({clsidKey + L"\\Control", L"", L""});
    entries.push_back({clsidKey + L"\\MiscStatus", L"", L"0"});
    entries.push_back({clsidKey + L"\\MiscStatus\\1", L"", std::to_wstring(control.miscStatus)});
    entries.push_back({clsidKey + L"\\ToolboxBitmap32", L"", modulePath + L", " + std::to_wstring(control.toolboxBitmap)});
    entries.push_back({clsidKey + L"\\TypeLib", L"", libId});
    entries.push_back({clsidKey + L"\\Version", L"", version});
    entries.push_back({progId, L"", title});
    entries.push_back({progId + L"\\CLSID", L"", clsid});
    entries.push_back({progId + L"\\CurVer", L"", versioned});
    entries.push_back({versioned, L"", title});
    entries.push_back({versioned + L"\\CLSID", L"", clsid});
  }
  return entries;
}

HRESULT UpdateRegistration(RegistryScope scope, bool install, RegistrationPart part) {
  const HKEY root = scope == RegistryScope::User ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
  const std::wstring prefix = scope == RegistryScope::User ? L"Software\\Classes\\" : L"";
  const bool controls = part == RegistrationPart::Controls;
  const Library& library = controls ? kControlsLibrary : kClassesLibrary;
  const std::vector<RegistryEntry> entries =
      controls ? ControlRegistrationEntries(ModulePath()) : RegistrationEntries(ModulePath());
  if (!install) {
    HRESULT classes = RemoveEntries(root, prefix, entries);
    HRESULT unregistered = UnregisterLibrary(scope, library);
    return FAILED(classes) ? classes : unregistered;
  }
  HRESULT hr = RegisterLibrary(scope, library);
  if (FAILED(hr)) return hr;
  for (const RegistryEntry& entry : entries) {
    hr = WriteEntry(root, prefix, entry);
    if (FAILED(hr)) {
      // Leave nothing half written behind.
      RemoveEntries(root, prefix, entries);
      UnregisterLibrary(scope, library);
      return hr;
    }
  }
  return S_OK;
}

HRESULT ParseInstallCommand(const wchar_t* commandLine, InstallOptions& options) {
  options = {};
  const std::wstring text = commandLine ? commandLine : L"";
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find_first_of(L", ", at);
    const std::wstring word = text.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
    at = end == std::wstring::npos ? text.size() : end + 1;
    if (word.empty()) continue;
    if (lstrcmpiW(word.c_str(), L"user") == 0)
      options.scope = RegistryScope::User;
    else if (lstrcmpiW(word.c_str(), L"controls") == 0)
      options.controls = true;
    else
      return E_INVALIDARG;
  }
  return S_OK;
}

}  // namespace tessel::server
