// The seven user controls as ActiveX controls: a window of the ATL container Wine ships (atl100.dll)
// creates each by ProgID, beside a form holding the same controls with the same properties. The
// section registers the controls while the gallery runs (DllInstall "controls": under Wine a class
// registered for the current user only is not created by the container).
#include <windows.h>

#include <memory>
#include <string>

#include "gallery/Gallery.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "olehost/ControlProperties.h"
#include "server/contract/ComOwners.h"
#include "server/contract/Twips.h"

namespace tessel::gallery {
namespace {

// One control of each type, its place in both windows (pixels of a 96-dpi screen, Px) and what it is
// given to show.
struct Sample {
  const wchar_t* type;
  int x, y, width, height;
  const wchar_t* property;  // a text property written through both, or null
  const wchar_t* value;
};
const Sample kSamples[] = {
    {L"ButtonStyle", 12, 12, 97, 33, L"Caption", L"Gravar"},
    {L"Bevel", 124, 12, 80, 40, nullptr, nullptr},
    {L"KvLinha", 12, 62, 200, 2, nullptr, nullptr},
    {L"KvText", 12, 74, 200, 25, L"Caption", L"Nome:"},
    {L"KvTextBox", 12, 108, 200, 25, L"Text", L"Pedido 12"},
    {L"tzFrames", 12, 142, 200, 100, L"Caption", L"Dados"},
    {L"KvFundo", 12, 252, 200, 140, L"CaptionTitulo", L"Cadastro"},
};
constexpr int kClientWidth = 224, kClientHeight = 404;

using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);

struct OlePage {
  HMODULE server = nullptr;
  HWND atl = nullptr;  // the ATL container's window, holding one host window per control
  std::unique_ptr<Form> form;

  ~OlePage() {
    if (atl) DestroyWindow(atl);  // the host windows go with it and close their controls
    form.reset();
    if (server) {
      if (auto install = reinterpret_cast<Install>(GetProcAddress(server, "DllInstall")))
        install(FALSE, L"controls");
      FreeLibrary(server);
    }
  }
};

std::wstring ServerPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + L"TesselOCX.ocx";
}

// The sample's text property written by name, the way a container's script would.
void WriteThroughDispatch(IDispatch* object, const Sample& s) {
  if (!object || !s.property) return;
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(s.property)};
  if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return;
  unique_variant value;
  value->vt = VT_BSTR;
  value->bstrVal = SysAllocString(s.value);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{value.get(), &named, 1, 1};
  object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

// The same property written on the form's control, through the same property rows.
void WriteOnForm(UserControl& control, const Sample& s) {
  const ole::PropertyRow* row = s.property ? ole::FindProperty(s.type, s.property) : nullptr;
  if (!row || !row->put) return;
  unique_variant value;
  value->vt = VT_BSTR;
  value->bstrVal = SysAllocString(s.value);
  row->put(control, *value.get());
}

}  // namespace

void AddOleSection(SectionArea& area) {
  static ControlTypes types;
  if (!types.Contains(L"ButtonStyle")) RegisterLibraryControls(types);
  area.AddText(L"The seven user controls as ActiveX controls: the ATL container's window creates each by its "
               L"ProgID (TesselOCX.ButtonStyle, ...), beside a form holding the same controls with the same "
               L"properties.",
               0, 0, 620, 48);
  area.SetHeight(52);

  auto page = std::make_unique<OlePage>();
  page->server = LoadLibraryW(ServerPath().c_str());
  auto install = page->server ? reinterpret_cast<Install>(GetProcAddress(page->server, "DllInstall")) : nullptr;
  HMODULE atl = LoadLibraryW(L"atl100.dll");
  auto init = atl ? reinterpret_cast<BOOL(WINAPI*)()>(GetProcAddress(atl, "AtlAxWinInit")) : nullptr;
  auto getControl = atl ? reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(GetProcAddress(atl, "AtlAxGetControl"))
                        : nullptr;
  if (!install || FAILED(install(TRUE, L"controls")) || !init || !init() || !getControl) {
    area.AddText(L"The ATL container or the controls' registration is not available here.", 0, 32, 620, 18);
    area.OnClose([raw = page.release()] { delete raw; });
    return;
  }

  RECT frame{0, 0, Px(kClientWidth), Px(kClientHeight)};
  AdjustWindowRect(&frame, WS_OVERLAPPED | WS_CAPTION, FALSE);
  RECT gallery{};
  GetWindowRect(area.Window(), &gallery);
  // A dialog-class window: a plain face that draws no text of its own.
  page->atl = CreateWindowExW(0, L"#32770", L"ATL container (atl100.dll)",
                              WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN,
                              gallery.left + Px(700), gallery.top + Px(40), frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, area.Instance(), nullptr);
  try {
    page->form = Form::Create(L"Form", kClientWidth * 15, kClientHeight * 15, true, &types);
  } catch (const std::exception&) {
    area.AddText(L"The form could not be opened.", 0, 32, 620, 18);
  }
  for (const Sample& s : kSamples) {
    HWND host = CreateWindowExW(0, L"AtlAxWin100", (std::wstring(L"TesselOCX.") + s.type).c_str(),
                                WS_CHILD | WS_VISIBLE, Px(s.x), Px(s.y), Px(s.width), Px(s.height), page->atl, nullptr,
                                area.Instance(), nullptr);
    Microsoft::WRL::ComPtr<IUnknown> control;
    Microsoft::WRL::ComPtr<IDispatch> dispatch;
    if (host && SUCCEEDED(getControl(host, &control)) && SUCCEEDED(control.As(&dispatch)))
      WriteThroughDispatch(dispatch.Get(), s);
    if (!page->form) continue;
    try {
      UserControl& placed = page->form->Add(s.type, std::wstring(s.type) + L"1", s.x * 15, s.y * 15, s.width * 15,
                                            s.height * 15);
      page->form->SetTabStop(std::wstring(s.type) + L"1", false);  // no focus drawn on the form's copy
      WriteOnForm(placed, s);
    } catch (const std::exception&) {
    }
  }
  if (page->form)
    SetWindowPos(page->form->hWnd(), nullptr, gallery.left + Px(720) + frame.right - frame.left, gallery.top + Px(40),
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  area.OnClose([raw = page.release()] { delete raw; });
}

}  // namespace tessel::gallery
