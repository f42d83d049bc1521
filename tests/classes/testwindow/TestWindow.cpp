// "TesselTest.Window": a small scriptable top-level window for the class scripts. Scripts hand it to
// the tooltip as the parent (it has an hWnd) and ask whether a window they got back still exists.
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

enum Member : DISPID { kHwnd = 1, kExists, kClose };
struct Name { const wchar_t* name; DISPID id; };
constexpr Name kNames[] = {{L"hWnd", kHwnd}, {L"Exists", kExists}, {L"Close", kClose}};

LRESULT CALLBACK WindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

HWND ArgWindow(DISPPARAMS* p, UINT fromEnd) {
  VARIANT v;
  VariantInit(&v);
  if (fromEnd >= p->cArgs) return nullptr;
  if (FAILED(VariantChangeType(&v, &p->rgvarg[p->cArgs - 1 - fromEnd], 0, VT_I8))) return nullptr;
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(V_I8(&v)));
}

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
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const Name& n : kNames)
        if (i == 0 && lstrcmpiW(n.name, names[i]) == 0) ids[i] = n.id;
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    VARIANT dummy;
    if (!result) result = &dummy;
    VariantInit(result);
    switch (id) {
      case kHwnd:
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(reinterpret_cast<INT_PTR>(window_));
        return S_OK;
      case kExists:
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = IsWindow(ArgWindow(p, 0)) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
      case kClose:
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
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

LSTATUS SetDefault(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY k = nullptr;
  LSTATUS s = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr);
  if (s != ERROR_SUCCESS) return s;
  s = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
  return s;
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
