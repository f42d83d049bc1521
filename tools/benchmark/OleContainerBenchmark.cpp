// A control placed and first painted through the ATL container (created by ProgID, activated in
// place) against the same control placed on a Form. Each side is timed in its own setting: the form
// only while its own side is timed, since a form's message hooks see every message of its thread
// and a program that hosts the controls in a container has no form. The controls are registered (DllInstall
// "controls") when they are not registered yet, and that registration is taken away at exit: under
// Wine a class registered for the current user only is not found, and the container makes nothing.
#include <windows.h>
#include <ole2.h>

#include <cstdlib>
#include <memory>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

constexpr int kTwips = 15;

using Install = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);
Install g_registeredBy = nullptr;  // the server's DllInstall, when this program registered the controls

void Unregister() {
  if (g_registeredBy) g_registeredBy(FALSE, L"controls");
}

// The ATL host window class, with the server's controls registered.
bool AtlReady() {
  static const bool ready = [] {
    HMODULE atl = LoadLibraryW(L"atl100.dll");
    auto init = atl ? reinterpret_cast<BOOL(WINAPI*)()>(GetProcAddress(atl, "AtlAxWinInit")) : nullptr;
    if (!init || !init()) return false;
    CLSID clsid{};
    if (SUCCEEDED(CLSIDFromProgID(L"TesselOCX.ButtonStyle", &clsid))) return true;
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, n);
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"TesselOCX.ocx";
    HMODULE server = LoadLibraryW(path.c_str());
    auto install = server ? reinterpret_cast<Install>(GetProcAddress(server, "DllInstall")) : nullptr;
    if (!install || FAILED(install(TRUE, L"controls"))) return false;
    g_registeredBy = install;  // the server stays loaded: it is never freed here
    atexit(Unregister);
    return true;
  }();
  return ready;
}

// Whether the container's window holds a control: a row that timed an empty host would mislead.
bool Hosts(HWND host) {
  using GetControl = HRESULT(WINAPI*)(HWND, IUnknown**);
  static const auto get = reinterpret_cast<GetControl>(GetProcAddress(GetModuleHandleW(L"atl100.dll"), "AtlAxGetControl"));
  IUnknown* control = nullptr;
  if (!get || FAILED(get(host, &control)) || !control) return false;
  control->Release();
  return true;
}

std::vector<Comparison> OleComparisons() {
  if (!AtlReady()) return {};
  static ControlTypes types;
  RegisterLibraryControls(types);
  static std::unique_ptr<Form> form;
  static HWND top = CreateWindowExW(0, L"Static", L"ATL", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 320, 0, 300, 100,
                                    nullptr, nullptr, nullptr, nullptr);
  HWND probe = CreateWindowExW(0, L"AtlAxWin100", L"TesselOCX.ButtonStyle", WS_CHILD | WS_VISIBLE, 10, 10, 97, 33,
                               top, nullptr, nullptr, nullptr);
  const bool hosts = Hosts(probe);
  DestroyWindow(probe);
  if (!hosts) return {};
  Comparison placed;
  placed.work = L"place + first paint, one ButtonStyle in the ATL container";
  placed.native = L"the same ButtonStyle placed on a Form";
  placed.ours = [] {
    HWND host = CreateWindowExW(0, L"AtlAxWin100", L"TesselOCX.ButtonStyle", WS_CHILD | WS_VISIBLE, 10, 10, 97, 33,
                                top, nullptr, nullptr, nullptr);
    UpdateWindow(host);
    DestroyWindow(host);
    PumpPending();
  };
  placed.theirs = [] {
    form->Add(L"ButtonStyle", L"b", 10 * kTwips, 10 * kTwips, 97 * kTwips, 33 * kTwips);
    UpdateWindow(form->hWnd());
    form->Remove(L"b");
    PumpPending();
  };
  placed.prepare = [] { form.reset(); };
  placed.prepareNative = [] {
    if (!form) form = Form::Create(L"OLE benchmark", 300 * kTwips, 100 * kTwips, true, &types);
  };
  placed.repetitions = 20;
  return {placed};
}

const Registration kOle(L"OLE container", OleComparisons);

}  // namespace
}  // namespace tessel::bench
