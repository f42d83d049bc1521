// "TesselTest.Window": a top-level window the class scripts give the tooltip as parent (member: hWnd).
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "host/WindowObject.h"

namespace {

// {2725E427-FF60-4774-AF2E-1ED4A7D222F7}
constexpr CLSID kClsid = {0x2725E427, 0xFF60, 0x4774, {0xAF, 0x2E, 0x1E, 0xD4, 0xA7, 0xD2, 0x22, 0xF7}};
constexpr const wchar_t* kProgId = L"TesselTest.Window";
constexpr const wchar_t* kClsidKey = L"CLSID\\{2725E427-FF60-4774-AF2E-1ED4A7D222F7}";

HINSTANCE g_instance = nullptr;

// A visible top-level window that lives as long as the script, and its automation face.
IDispatch* NewTestWindow() {
  return tessel::NewWindowObject(CreateWindowExW(0, L"Static", L"Tessel test window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                                 40, 320, 200, nullptr, nullptr, g_instance, nullptr));
}

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* w = NewTestWindow();
    HRESULT hr = w->QueryInterface(riid, ppv);
    w->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};
Factory g_factory;

// RegSetKeyValue makes the key on the way and closes it again.
LSTATUS SetDefault(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (!IsEqualCLSID(clsid, kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }  // the windows stay to the end

HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(g_instance, path, MAX_PATH);
  const std::wstring clsid = kClsidKey;
  LSTATUS s = SetDefault(clsid + L"\\InprocServer32", nullptr, path);
  if (s == ERROR_SUCCESS) s = SetDefault(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  if (s == ERROR_SUCCESS) s = SetDefault(std::wstring(kProgId) + L"\\CLSID", nullptr, clsid.substr(6));
  return HRESULT_FROM_WIN32(s);
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kClsidKey);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  return S_OK;
}

}  // extern "C"
