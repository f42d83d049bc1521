// The server's exported entry points.
#include <windows.h>

#include "server/module/Module.h"
#include "server/module/Registration.h"

using tessel::server::RegistryScope;

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  return tessel::server::GetClassFactory(clsid, riid, ppv);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return tessel::server::ModuleInUse() ? S_FALSE : S_OK; }

HRESULT STDAPICALLTYPE DllRegisterServer() {
  return tessel::server::UpdateRegistration(RegistryScope::Machine, true);
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return tessel::server::UpdateRegistration(RegistryScope::Machine, false);
}

// "regsvr32 /n /i:user" registers for the current user only; any other command line means the machine.
HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
  const bool user = commandLine && lstrcmpiW(commandLine, L"user") == 0;
  return tessel::server::UpdateRegistration(user ? RegistryScope::User : RegistryScope::Machine, install != FALSE);
}

}  // extern "C"
