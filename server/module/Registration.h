#pragma once
// Registration of the public classes: one table of registry entries, written and removed by one routine.
#include <windows.h>

#include <string>
#include <vector>

namespace tessel::server {

struct RegistryEntry {
  std::wstring key;     // below the classes root
  std::wstring name;    // empty: the key's default value
  std::wstring value;
};

// Every key and value that registration writes, parents before children.
std::vector<RegistryEntry> RegistrationEntries(const std::wstring& modulePath);

enum class RegistryScope { Machine, User };

// Writes (install) or removes the table below HKEY_CLASSES_ROOT or HKCU\Software\Classes, with the
// type library registered first and unregistered last. Removing what is already gone succeeds.
HRESULT UpdateRegistration(RegistryScope scope, bool install);

HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** ppv);

}  // namespace tessel::server
