// The server's exported entry points.
#include <windows.h>

#include "olehost/OleControls.h"
#include "server/module/Module.h"
#include "server/module/Registration.h"

using tessel::server::RegistrationPart;
using tessel::server::RegistryScope;

extern "C" {

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  return tessel::server::GetClassFactory(clsid, riid, ppv);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return tessel::server::ModuleInUse() || tessel::ole::OleControlsAlive() ? S_FALSE : S_OK;
}

HRESULT STDAPICALLTYPE DllRegisterServer() {
  return tessel::server::UpdateRegistration(RegistryScope::Machine, true);
}

// Unregistering takes the user controls away too, when they were registered.
HRESULT STDAPICALLTYPE DllUnregisterServer() {
  HRESULT controls = tessel::server::UpdateRegistration(RegistryScope::Machine, false, RegistrationPart::Controls);
  HRESULT classes = tessel::server::UpdateRegistration(RegistryScope::Machine, false);
  return FAILED(classes) ? classes : controls;
}

// "regsvr32 /n /i:user" registers for the current user only; "/i:controls" (or "/n /i:user,controls")
// also registers the user controls as ActiveX controls, and "/u /i:controls" takes only them away.
HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
  tessel::server::InstallOptions options;
  HRESULT hr = tessel::server::ParseInstallCommand(commandLine, options);
  if (FAILED(hr)) return hr;
  if (!install) {
    if (options.controls) return tessel::server::UpdateRegistration(options.scope, false, RegistrationPart::Controls);
    HRESULT controls = tessel::server::UpdateRegistration(options.scope, false, RegistrationPart::Controls);
    HRESULT classes = tessel::server::UpdateRegistration(options.scope, false);
    return FAILED(classes) ? classes : controls;
  }
  hr = tessel::server::UpdateRegistration(options.scope, true);
  if (FAILED(hr) || !options.controls) return hr;
  // A failure takes back what was written of the controls and leaves the classes as they were.
  return tessel::server::UpdateRegistration(options.scope, true, RegistrationPart::Controls);
}

}  // extern "C"
