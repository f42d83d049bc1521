#pragma once
// The classes the server can create: the public classes, served by DllGetClassObject and written
// by registration. The user controls linked into the server are created only by its containers.
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
const ClassEntry* FindClass(std::span<const ClassEntry> table, REFCLSID clsid);

HRESULT CreateBalloonToolTip(REFIID riid, void** ppv);
HRESULT CreateSOSystem(REFIID riid, void** ppv);

}  // namespace tessel::server
