#pragma once
// The user controls as ActiveX controls: registered only on request (DllInstall "controls"), with
// the class identities they already have, and described by the second type library.
#include <windows.h>

#include <span>
#include <string_view>

namespace tessel::server {

inline constexpr GUID kControlsLibId = {0xED9FBEDF, 0x5544, 0x4ADF, {0x90, 0x3C, 0x16, 0x83, 0x77, 0x69, 0xC4, 0x7E}};
inline constexpr WORD kControlsLibMajor = 1;
inline constexpr WORD kControlsLibMinor = 4;
// The resource index of the controls' type library inside the server file.
inline constexpr int kControlsLibResource = 2;

struct ControlClass {
  std::wstring_view typeName;  // registered as "TesselOCX.<typeName>" and "TesselOCX.<typeName>.1"
  const GUID* clsid;
  const GUID* events;          // the event dispinterface
  DWORD miscStatus;            // OLEMISC_* for DVASPECT_CONTENT
  int toolboxBitmap;           // BITMAP resource of the server file
};

std::span<const ControlClass> ControlClasses();
const ControlClass* FindControlClass(REFCLSID clsid);

// Whether a control class is registered (below HKEY_CLASSES_ROOT, which includes the current
// user's classes): until then the server does not serve it.
bool ControlClassRegistered(REFCLSID clsid);

// The adapter that hosts a control in an OLE container (olehost/).
HRESULT CreateOleControl(std::wstring_view typeName, REFIID riid, void** ppv);

}  // namespace tessel::server
