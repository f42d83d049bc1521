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
// The same for the user controls as ActiveX controls.
std::vector<RegistryEntry> ControlRegistrationEntries(const std::wstring& modulePath);

enum class RegistryScope { Machine, User };

// The two registrations: the public classes with their type library, and the user controls with
// theirs.
enum class RegistrationPart { Classes, Controls };

// Writes (install) or removes one part's table below HKEY_CLASSES_ROOT or HKCU\Software\Classes,
// with its type library registered first and unregistered last. A write that fails takes back
// what was written. Removing what is already gone succeeds.
HRESULT UpdateRegistration(RegistryScope scope, bool install, RegistrationPart part = RegistrationPart::Classes);

// The command line of DllInstall: comma- or space-separated words, "user" for the current user's
// classes and "controls" for the user controls; E_INVALIDARG names an unknown word.
struct InstallOptions {
  RegistryScope scope = RegistryScope::Machine;
  bool controls = false;
};
HRESULT ParseInstallCommand(const wchar_t* commandLine, InstallOptions& options);

HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** ppv);

}  // namespace tessel::server
