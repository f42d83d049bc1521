#include "tests/classes/Automation.h"

#include "host/WindowObject.h"

#include <gtest/gtest.h>

#include <map>

namespace tessel::test {

HMODULE ServerModule() {
  static HMODULE module = [] {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    return LoadLibraryW((dir + L"TesselOCX.ocx").c_str());
  }();
  return module;
}

IDispatch* CreateServerObject(const CLSID& clsid) {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(GetProcAddress(ServerModule(), "DllGetClassObject"));
  if (!get) return nullptr;
  IClassFactory* factory = nullptr;
  if (FAILED(get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) return nullptr;
  IDispatch* object = nullptr;
  factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object));
  factory->Release();
  return object;
}

DISPID Auto::Id(const wchar_t* name) const {
  LPOLESTR n = const_cast<LPOLESTR>(name);
  DISPID id = DISPID_UNKNOWN;
  d_->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

HRESULT Auto::Invoke(const wchar_t* name, WORD flags, std::vector<VARIANT> args) {
  VariantClear(&result);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrHelpFile);
  excep = EXCEPINFO{};
  argErr = 0;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  HRESULT hr = d_->Invoke(Id(name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &excep, &argErr);
  for (VARIANT& v : args)
    if (V_VT(&v) == VT_BSTR) VariantClear(&v);
  return hr;
}

VARIANT Auto::Get(const wchar_t* name) {
  HRESULT hr = Invoke(name, DISPATCH_PROPERTYGET, {});
  EXPECT_EQ(hr, S_OK) << "reading " << std::string(name, name + wcslen(name));
  VARIANT copy;
  VariantInit(&copy);
  VariantCopy(&copy, &result);
  return copy;
}

long Auto::GetLong(const wchar_t* name) {
  VARIANT v = Get(name);
  VariantChangeType(&v, &v, 0, VT_I4);
  return V_VT(&v) == VT_I4 ? V_I4(&v) : -12345;
}

std::wstring Auto::GetText(const wchar_t* name) {
  VARIANT v = Get(name);
  std::wstring s = V_VT(&v) == VT_BSTR && V_BSTR(&v) ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : L"<not a string>";
  VariantClear(&v);
  return s;
}

HRESULT Auto::Put(const wchar_t* name, VARIANT value) { return Invoke(name, DISPATCH_PROPERTYPUT, {value}); }
HRESULT Auto::PutRef(const wchar_t* name, IDispatch* value) { return Invoke(name, DISPATCH_PROPERTYPUTREF, {Obj(value)}); }

// One VARIANT of a type; the member setter fills its value.
template <class F>
VARIANT Make(VARTYPE type, F fill) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  fill(v);
  return v;
}
VARIANT Str(const wchar_t* s) { return Make(VT_BSTR, [&](VARIANT& v) { V_BSTR(&v) = SysAllocString(s); }); }
VARIANT Int(long value) { return Make(VT_I4, [&](VARIANT& v) { V_I4(&v) = value; }); }
VARIANT Short(short value) { return Make(VT_I2, [&](VARIANT& v) { V_I2(&v) = value; }); }
VARIANT Bool(bool value) { return Make(VT_BOOL, [&](VARIANT& v) { V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE; }); }
VARIANT Obj(IDispatch* d) { return Make(VT_DISPATCH, [&](VARIANT& v) { V_DISPATCH(&v) = d; }); }
VARIANT Missing() { return Make(VT_ERROR, [&](VARIANT& v) { V_ERROR(&v) = DISP_E_PARAMNOTFOUND; }); }

namespace {

struct RecorderState {
  HHOOK hook = nullptr;
  std::vector<TipEvent> events;
  std::map<HWND, WNDPROC> original;
};
RecorderState* g_recorder = nullptr;

LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  WNDPROC original = g_recorder ? g_recorder->original[w] : nullptr;
  if (g_recorder && m >= WM_USER && m < WM_USER + 0x80) {
    TipEvent e{w, m, wp};
    if (m == TTM_ADDTOOLA) {
      const auto* t = reinterpret_cast<const TTTOOLINFOA*>(lp);
      e.flags = t->uFlags;
      e.tool = t->hwnd;
      e.id = t->uId;
      e.rect = t->rect;
      e.toolInstance = t->hinst;
      e.text = t->lpszText ? t->lpszText : "";
    } else if (m == TTM_SETTITLEA) {
      e.text = lp ? reinterpret_cast<const char*>(lp) : "";
    }
    g_recorder->events.push_back(e);
  }
  if (!original) return DefWindowProcW(w, m, wp, lp);
  return CallWindowProcW(original, w, m, wp, lp);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND && g_recorder) {
    HWND w = reinterpret_cast<HWND>(wp);
    if (ClassOf(w) == L"tooltips_class32") {
      const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
      TipEvent e{w, WM_CREATE, 0};
      e.style = static_cast<DWORD>(cs->style);
      e.exStyle = cs->dwExStyle;
      e.parent = cs->hwndParent;
      e.instance = cs->hInstance;
      g_recorder->events.push_back(e);
      g_recorder->original[w] = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

ParentWindow::ParentWindow(int width, int height) {
  static const ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"TesselTipParent";
    return RegisterClassW(&wc);
  }();
  RECT r{0, 0, width, height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  // Hidden: a shown window costs Wine a wait for the window manager when it goes; ShowTip shows it.
  hwnd_ = CreateWindowExW(0, MAKEINTATOM(cls), L"parent", WS_OVERLAPPEDWINDOW, 50, 50, r.right - r.left,
                          r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  object_ = NewWindowObject(hwnd_);
}

ParentWindow::~ParentWindow() {
  object_->Release();
  DestroyWindow(hwnd_);
}

TipRecorder::TipRecorder() {
  g_recorder = new RecorderState;
  g_recorder->hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

TipRecorder::~TipRecorder() {
  UnhookWindowsHookEx(g_recorder->hook);
  for (auto& [w, proc] : g_recorder->original)
    if (IsWindow(w)) SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  delete g_recorder;
  g_recorder = nullptr;
}

const std::vector<TipEvent>& TipRecorder::events() const { return g_recorder->events; }
void TipRecorder::clear() { g_recorder->events.clear(); }
std::vector<UINT> TipRecorder::messages() const {
  std::vector<UINT> out;
  for (const TipEvent& e : g_recorder->events) out.push_back(e.message);
  return out;
}

ToolQuery QueryTool(HWND tip, HWND parent) {
  ToolQuery q;
  char text[2048] = {};
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.hwnd = parent;
  info.uId = 0;
  info.lpszText = text;
  q.found = SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  q.flags = info.uFlags;
  q.tool = info.hwnd;
  q.id = info.uId;
  q.rect = info.rect;
  q.text = text;
  return q;
}

TitleQuery QueryTitle(HWND tip, const TipRecorder& rec) {
  TitleQuery q;
  wchar_t title[128] = {};
  TTGETTITLE t{};
  t.dwSize = sizeof(t);
  t.cch = 128;
  t.pszTitle = title;
  t.uTitleBitmap = 0xDEAD;   // left alone by a tooltip that does not answer
  SendMessageW(tip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(&t));
  if (t.uTitleBitmap != 0xDEAD) {
    q.title = title;
    q.icon = t.uTitleBitmap;
    q.answered = true;
    return q;
  }
  for (auto it = rec.events().rbegin(); it != rec.events().rend(); ++it) {
    if (it->window == tip && it->message == TTM_SETTITLEA) {
      wchar_t wide[1024] = {};
      MultiByteToWideChar(CP_ACP, 0, it->text.c_str(), -1, wide, 1024);
      q.title = wide;
      q.icon = static_cast<UINT>(it->wParam);
      q.answered = true;
      break;
    }
  }
  return q;
}

RECT ShowTip(HWND tip, HWND parent) {
  if (!IsWindowVisible(parent)) {
    ShowWindow(parent, SW_SHOWNORMAL);
    UpdateWindow(parent);
  }
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
  RECT client{};
  GetClientRect(parent, &client);
  POINT centre{client.right / 2, client.bottom / 2};
  ClientToScreen(parent, &centre);
  SetForegroundWindow(parent);
  SetCursorPos(centre.x, centre.y);
  RECT shown{};
  const DWORD start = GetTickCount();
  // One move starts the tip's delay; every further move would start it again.
  PostMessageW(parent, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
  while (GetTickCount() - start < 3000) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (IsWindowVisible(tip)) {
      Sleep(100);
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      UpdateWindow(tip);
      GetWindowRect(tip, &shown);
      break;
    }
    Sleep(20);
  }
  return shown;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

}  // namespace tessel::test
