#include "server/module/ControlClasses.h"

#include <olectl.h>

#include <array>
#include <string>

#include "host/ControlIdentities.h"
#include "olehost/OleControls.h"
#include "server/contract/SystemHandles.h"

namespace tessel::server {

namespace {

// What every control asks of its container: its site before its data, a repaint when resized,
// activation in place while visible, and no linking inside it.
constexpr DWORD kEveryControl = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT |
                                OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_CANTLINKINSIDE;

const GUID* ClsidOf(std::wstring_view name) {
  for (const ControlIdentity& id : kControlIdentities)
    if (id.typeName == name) return &id.clsid;
  return nullptr;
}
const GUID* EventsOf(std::wstring_view name) {
  for (const ControlIdentity& id : kControlIdentities)
    if (id.typeName == name) return &id.events;
  return nullptr;
}

const std::array<ControlClass, 7> kControls{{
    {L"ButtonStyle", ClsidOf(L"ButtonStyle"), EventsOf(L"ButtonStyle"), kEveryControl | OLEMISC_ACTSLIKEBUTTON, 101},
    {L"tzFrames", ClsidOf(L"tzFrames"), EventsOf(L"tzFrames"), kEveryControl | OLEMISC_SIMPLEFRAME, 102},
    {L"Bevel", ClsidOf(L"Bevel"), EventsOf(L"Bevel"), kEveryControl | OLEMISC_NOUIACTIVATE, 103},
    {L"KvLinha", ClsidOf(L"KvLinha"), EventsOf(L"KvLinha"), kEveryControl | OLEMISC_NOUIACTIVATE, 104},
    {L"KvText", ClsidOf(L"KvText"), EventsOf(L"KvText"), kEveryControl, 105},
    {L"KvTextBox", ClsidOf(L"KvTextBox"), EventsOf(L"KvTextBox"), kEveryControl, 106},
    {L"KvFundo", ClsidOf(L"KvFundo"), EventsOf(L"KvFundo"), kEveryControl, 107},
}};

}  // namespace

std::span<const ControlClass> ControlClasses() { return kControls; }

const ControlClass* FindControlClass(REFCLSID clsid) {
  for (const ControlClass& c : kControls)
    if (IsEqualCLSID(*c.clsid, clsid)) return &c;
  return nullptr;
}

bool ControlClassRegistered(REFCLSID clsid) {
  wchar_t guid[40] = {};
  StringFromGUID2(clsid, guid, 40);
  const std::wstring key = std::wstring(L"CLSID\\") + guid + L"\\InprocServer32";
  HKEY found = nullptr;
  const bool registered = RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &found) == ERROR_SUCCESS;
  const unique_hkey owned(found);
  return registered;
}

HRESULT CreateOleControl(std::wstring_view typeName, REFIID riid, void** ppv) {
  for (const ControlClass& c : kControls)
    if (c.typeName == typeName)
      return ole::CreateOleControl(ole::OleControlClass{c.typeName, *c.clsid, *c.events, c.miscStatus}, riid, ppv);
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace tessel::server
