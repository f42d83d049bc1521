#include "tests/classes/Automation.h"

#include "tests/support/Prelude.h"

#include "host/WindowObject.h"
#include "server/contract/PropertyBag.h"
#include "tests/support/Programs.h"

namespace tessel::test {

HMODULE ServerModule() {
  static HMODULE module = LoadLibraryW(ServerPath().c_str());
  return module;
}

ComPtr<IDispatch> CreateServerObject(const CLSID& clsid) {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(GetProcAddress(ServerModule(), "DllGetClassObject"));
  ComPtr<IClassFactory> factory;
  ComPtr<IDispatch> object;
  if (get && SUCCEEDED(get(clsid, IID_PPV_ARGS(&factory)))) factory->CreateInstance(nullptr, IID_PPV_ARGS(&object));
  return object;
}

DISPID Auto::Id(const wchar_t* name) const {
  LPOLESTR n = const_cast<LPOLESTR>(name);
  DISPID id = DISPID_UNKNOWN;
  d_->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

HRESULT Auto::Invoke(const wchar_t* name, WORD flags, std::vector<VARIANT> args) {
  result.reset();
  unique_excepinfo excep;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  const UINT named = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF) ? 1 : 0;
  DISPPARAMS params{reversed.data(), named ? &put : nullptr, static_cast<UINT>(reversed.size()), named};
  HRESULT hr = d_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.get(), excep.get(), nullptr);
  for (VARIANT& v : args)
    if (V_VT(&v) == VT_BSTR) VariantClear(&v);
  return hr;
}

const VARIANT& Auto::Get(const wchar_t* name) {
  EXPECT_EQ(Invoke(name, DISPATCH_PROPERTYGET, {}), S_OK) << "reading " << std::string(name, name + wcslen(name));
  return *result.get();
}

long Auto::GetLong(const wchar_t* name) {
  Get(name);
  return SUCCEEDED(VariantChangeType(result.get(), result.get(), 0, VT_I4)) ? V_I4(result.get()) : -12345;
}

std::wstring Auto::GetText(const wchar_t* name) {
  const VARIANT& v = Get(name);
  return V_VT(&v) == VT_BSTR ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : L"<not a string>";
}

// One VARIANT of a type, its value set by the member macro.
#define TESSEL_VARIANT(type, member, value) \
  VARIANT v{};                             \
  V_VT(&v) = type;                         \
  member(&v) = value;                      \
  return v
VARIANT Str(const wchar_t* s) { TESSEL_VARIANT(VT_BSTR, V_BSTR, SysAllocString(s)); }
VARIANT Int(long value) { TESSEL_VARIANT(VT_I4, V_I4, value); }
VARIANT Short(short value) { TESSEL_VARIANT(VT_I2, V_I2, value); }
VARIANT Bool(bool value) { TESSEL_VARIANT(VT_BOOL, V_BOOL, value ? VARIANT_TRUE : VARIANT_FALSE); }
VARIANT Obj(IDispatch* d) { TESSEL_VARIANT(VT_DISPATCH, V_DISPATCH, d); }
VARIANT Missing() { TESSEL_VARIANT(VT_ERROR, V_ERROR, DISP_E_PARAMNOTFOUND); }
#undef TESSEL_VARIANT

namespace {

// The recorder of this thread, while one lives.
std::vector<std::string>* g_lines = nullptr;
HHOOK g_hook = nullptr;

std::string HexOf(uintptr_t v) {
  char s[24];
  snprintf(s, sizeof s, "%llx", static_cast<unsigned long long>(v));
  return s;
}

std::string Describe(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case TTM_ADDTOOLA: {
      const auto* t = reinterpret_cast<const TTTOOLINFOA*>(lp);
      const RECT& r = t->rect;
      return "TTM_ADDTOOLA(" + HexOf(t->uFlags) + "," + std::to_string(t->uId) + "," + std::to_string(r.left) + " " +
             std::to_string(r.top) + " " + std::to_string(r.right) + " " + std::to_string(r.bottom) + "," +
             (t->hwnd == GetWindow(w, GW_OWNER) ? "owner," : "") +
             (t->hinst == reinterpret_cast<HINSTANCE>(ServerModule()) ? "server," : "") +
             (t->lpszText ? t->lpszText : "") + ")";
    }
    case TTM_ADDTOOLW: {  // recorded in UTF-8
      const auto* t = reinterpret_cast<const TTTOOLINFOW*>(lp);
      return "TTM_ADDTOOLW(" + HexOf(t->uFlags) + "," + (t->hwnd == GetWindow(w, GW_OWNER) ? "owner," : "") +
             tessel::Utf8FromWide(t->lpszText ? t->lpszText : L"") + ")";
    }
    case TTM_SETTITLEW:
      return "TTM_SETTITLEW(" + std::to_string(static_cast<INT_PTR>(wp)) + "," + tessel::Utf8FromWide(lp ? reinterpret_cast<const wchar_t*>(lp) : L"") + ")";
    case TTM_SETTITLEA: return "TTM_SETTITLEA(" + std::to_string(static_cast<INT_PTR>(wp)) + "," + (lp ? reinterpret_cast<const char*>(lp) : "") + ")";
    case TTM_SETMAXTIPWIDTH: return "TTM_SETMAXTIPWIDTH(" + std::to_string(lp) + ")";
    case TTM_SETTIPTEXTCOLOR: return "TTM_SETTIPTEXTCOLOR(" + HexOf(wp) + ")";
    case TTM_SETTIPBKCOLOR: return "TTM_SETTIPBKCOLOR(" + HexOf(wp) + ")";
    case TTM_ACTIVATE: return "TTM_ACTIVATE(" + std::to_string(wp) + ")";
    default: return "WM_USER+" + std::to_string(m - WM_USER);
  }
}

// Stays on the tip until it goes; records only while a recorder lives.
LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (g_lines && m >= WM_USER && m < WM_USER + 0x80) g_lines->push_back(Describe(w, m, wp, lp));
  return DefSubclassProc(w, m, wp, lp);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  HWND w = reinterpret_cast<HWND>(wp);
  if (code == HCBT_CREATEWND && g_lines && ClassOf(w) == L"tooltips_class32") {
    const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
    const bool server = cs->hInstance == reinterpret_cast<HINSTANCE>(ServerModule());
    g_lines->push_back("create(" + HexOf(static_cast<DWORD>(cs->style)) + "," + HexOf(cs->dwExStyle) +
                       (server ? ",server)" : ")"));
    SetWindowSubclass(w, RecordingProc, 1, 0);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

ParentWindow::ParentWindow()
    : hwnd_(CreateWindowExW(0, L"Static", L"parent", WS_POPUP, 50, 50, 320, 200, nullptr, nullptr, nullptr, nullptr)) {
  object_.Attach(NewWindowObject(hwnd_));
}

ParentWindow::~ParentWindow() {
  object_.Reset();
  DestroyWindow(hwnd_);
}

TipRecorder::TipRecorder() {
  g_lines = new std::vector<std::string>;
  g_hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

TipRecorder::~TipRecorder() {
  UnhookWindowsHookEx(g_hook);
  delete std::exchange(g_lines, nullptr);
}

const std::vector<std::string>& TipRecorder::lines() const { return *g_lines; }
void TipRecorder::clear() { g_lines->clear(); }

ToolQuery QueryTool(HWND tip, HWND parent) {
  wchar_t text[2048] = {};
  TTTOOLINFOW info{TTTOOLINFOW_V2_SIZE, 0, parent};
  info.lpszText = text;
  EXPECT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  return {info.uFlags, tessel::Utf8FromWide(text)};
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

}  // namespace tessel::test
