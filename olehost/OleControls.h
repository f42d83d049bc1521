#pragma once
// The server's entry into the OLE container adapter: a control object for a registered control
// class, and whether any is still alive (DllCanUnloadNow).
#include <windows.h>
#include <oaidl.h>

#include <string_view>

namespace tessel::ole {

struct OleControlClass {
  std::wstring_view typeName;  // the control type ("ButtonStyle"), as registered in ControlTypes
  GUID clsid;
  GUID events;                 // the event dispinterface
  DWORD miscStatus;            // OLEMISC_*
};

HRESULT CreateOleControl(const OleControlClass& cls, REFIID riid, void** ppv);
bool OleControlsAlive();
// The controls' type library, loaded once from the server file (resource TYPELIB 2).
HRESULT ControlsTypeLib(ITypeLib** lib);
HRESULT ControlsTypeInfo(REFGUID guid, ITypeInfo** info);
// The dispinterface of a control class's properties (its coclass's default interface).
HRESULT PropertiesTypeInfo(REFCLSID clsid, ITypeInfo** info);
void ReleaseControlsTypeLib();

}  // namespace tessel::ole
