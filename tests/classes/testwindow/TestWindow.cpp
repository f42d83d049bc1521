// "TesselTest.Window": a small scriptable top-level window for the class scripts, which hand it to
// the tooltip as the parent: its one member is the read-only hWnd. The window goes with the object.
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <string>

namespace {

// {2725E427-FF60-4774-AF2E-1ED4A7D222F7}
constexpr CLSID kClsid = {0x2725E427, 0xFF60, 0x4774, {0xAF, 0x2E, 0x1E, 0xD4, 0xA7, 0xD2, 0x22, 0xF7}};
constexpr const wchar_t* kProgId = L"TesselTest.Window";
constexpr const wchar_t* kClsidKey = L"CLSID\\{2725E427-FF60-4774-AF2E-1ED4A7D222F7}";

HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};

constexpr DISPID kHwnd = 1;

LRESULT CALLBACK WindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

class TestWindow final : public IDispatch {
 public:
  TestWindow() {
    ++g_objects;
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = g_instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"TesselTestWindow";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"Tessel test window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                              320, 200, nullptr, nullptr, g_instance, nullptr);
  }
  ~TestWindow() {
    if (window_) DestroyWindow(window_);
    --g_objects;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    long left = --refs_;
    if (!left) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    for (UINT i = 0; i < count; ++i) ids[i] = i == 0 && lstrcmpiW(names[0], L"hWnd") == 0 ? kHwnd : DISPID_UNKNOWN;
    return ids[0] == kHwnd && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if (id != kHwnd) return DISP_E_MEMBERNOTFOUND;
    if (result) {
      V_VT(result) = VT_I4;
      V_I4(result) = static_cast<LONG>(reinterpret_cast<INT_PTR>(window_));
    }
    return S_OK;
  }

 private:
  std::atomic<long> refs_{1};
  HWND window_ = nullptr;
};

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = this;
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* w = new TestWindow();
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

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_objects ? S_FALSE : S_OK; }

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
