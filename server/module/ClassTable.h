#pragma once
// The classes the server can create. Public classes are served by DllGetClassObject and written
// by registration; private user controls have class identities of their own but are created only
// by containers inside the server.
#include <windows.h>

#include <span>

namespace tessel::server {

using CreateFunction = HRESULT (*)(REFIID riid, void** ppv);

struct ClassEntry {
  const CLSID* clsid;
  const wchar_t* name;   // class name; public classes are registered as "TesselOCX.<name>"
  CreateFunction create;
};

std::span<const ClassEntry> PublicClasses();
std::span<const ClassEntry> PrivateControls();
const ClassEntry* FindClass(std::span<const ClassEntry> table, REFCLSID clsid);

HRESULT CreateBalloonToolTip(REFIID riid, void** ppv);
HRESULT CreateSOSystem(REFIID riid, void** ppv);

}  // namespace tessel::server
