#include "tests/olehost/OleFixture.h"

#include <olectl.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "host/ControlTypesLibrary.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/SystemHandles.h"
#include "tests/support/MessagePump.h"

namespace tessel::oletest {

namespace {

// OLE on the test thread, and the controls registered for the whole program.
class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    RegisterLibraryControls(ControlTypes::Default());
    ASSERT_EQ(RegSvr32(L"/i:controls"), 0u);
  }
  void TearDown() override {
    EXPECT_EQ(RegSvr32(L"/u /n /i:controls"), 0u);
    OleUninitialize();
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

std::wstring ServerPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + L"TesselOCX.ocx";
}

DWORD RunProgram(const std::wstring& commandLine, std::string& output) {
  wchar_t temp[MAX_PATH] = {}, file[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  GetTempFileNameW(temp, L"tsl", 0, file);
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE out = CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW si{sizeof(si)};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = out;
  PROCESS_INFORMATION pi{};
  std::wstring command = commandLine;
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(out);
  DWORD code = 0xFFFF;
  if (started) {
    const unique_hfile process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &code);
  }
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  output = text.str();
  in.close();
  DeleteFileW(file);
  return code;
}

DWORD RegSvr32(const std::wstring& switches) {
  std::string ignored;
  return RunProgram(L"regsvr32.exe /s " + switches + L" \"" + ServerPath() + L"\"", ignored);
}

const Atl& Atl::Get() {
  static const Atl atl = [] {
    Atl a;
    HMODULE module = LoadLibraryW(L"atl100.dll");
    if (!module) return a;
    auto init = reinterpret_cast<BOOL(WINAPI*)()>(GetProcAddress(module, "AtlAxWinInit"));
    if (init) init();
    a.createControlEx = reinterpret_cast<decltype(a.createControlEx)>(GetProcAddress(module, "AtlAxCreateControlEx"));
    a.getControl = reinterpret_cast<decltype(a.getControl)>(GetProcAddress(module, "AtlAxGetControl"));
    return a;
  }();
  return atl;
}

AtlHosted::AtlHosted(const std::wstring& progId, int width, int height) : width_(width), height_(height) {
  Atl::Get();
  top_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width + 20,
                         height + 20, nullptr, nullptr, nullptr, nullptr);
  // The ATL host window creates the control named by its title when it is made.
  host_ = CreateWindowExW(0, L"AtlAxWin100", progId.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, width, height, top_,
                          nullptr, nullptr, nullptr);
  if (host_ && Atl::Get().getControl) Atl::Get().getControl(host_, &control_);
  if (control_) control_.As(&dispatch_);
  UpdateWindow(top_);
}

AtlHosted::~AtlHosted() {
  dispatch_.Reset();
  control_.Reset();
  if (top_) DestroyWindow(top_);  // the host window goes with it and closes the control
  test::Pump(0);
}

HWND AtlHosted::ControlWindow() const {
  return dispatch_ ? reinterpret_cast<HWND>(static_cast<LONG_PTR>(GetLong(dispatch_.Get(), L"hWnd"))) : nullptr;
}

std::unique_ptr<test::Canvas> ScreenOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  auto canvas = std::make_unique<test::Canvas>(r.right, r.bottom, RGB(1, 2, 3));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(window);
  BitBlt(canvas->dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  GdiFlush();
  return canvas;
}

std::unique_ptr<test::Canvas> AtlHosted::Screen() const { return ScreenOf(ControlWindow()); }

FormWith::FormWith(const std::wstring& type, int width, int height) {
  form = Form::Create(L"Same", width * 15, height * 15, true);
  control = &form->Add(type, type + L"1", 0, 0, width * 15, height * 15);
  // Not a tab stop, so the shown form's first focus leaves it drawn as the container's copy is.
  form->SetTabStop(type + L"1", false);
  Form::PumpMessages();
}

std::unique_ptr<test::Canvas> FormWith::Screen() const { return ScreenOf(control->hWnd()); }

void Click(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  SendMessageW(window, WM_MOUSEMOVE, 0, at);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
  test::Pump(0);
}

std::string FirstDifference(const test::PixelRows& a, const test::PixelRows& b) {
  if (a.width() != b.width() || a.height() != b.height())
    return "sizes " + std::to_string(a.width()) + "x" + std::to_string(a.height()) + " and " +
           std::to_string(b.width()) + "x" + std::to_string(b.height());
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.At(x, y) != b.At(x, y))
        return "(" + std::to_string(x) + "," + std::to_string(y) + "): " + test::Hex(a.At(x, y)) + " and " +
               test::Hex(b.At(x, y));
  return {};
}

HRESULT Put(IDispatch* object, const wchar_t* name, const VARIANT& value, std::wstring* error) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  VARIANT arg = value;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&arg, &named, 1, 1};
  unique_excepinfo excep;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, excep.get(), nullptr);
  if (hr == DISP_E_EXCEPTION) {
    if (error && excep->bstrDescription) *error = excep->bstrDescription;
    return excep->scode;
  }
  return hr;
}

VARIANT Var(int32_t value) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}
VARIANT Var(bool value) {
  VARIANT v;
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
VARIANT Var(const wchar_t* value) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(value);
  return v;
}

namespace {

HRESULT Get(IDispatch* object, const wchar_t* name, VARIANT* result) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS none{};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, result,
                        nullptr, nullptr);
}

}  // namespace

std::wstring GetText(IDispatch* object, const wchar_t* name) {
  unique_variant v;
  if (FAILED(Get(object, name, v.get())) || FAILED(VariantChangeType(v.get(), v.get(), VARIANT_ALPHABOOL, VT_BSTR)))
    return L"<error>";
  return v->bstrVal ? v->bstrVal : L"";
}

int32_t GetLong(IDispatch* object, const wchar_t* name) {
  unique_variant v;
  if (FAILED(Get(object, name, v.get())) || FAILED(VariantChangeType(v.get(), v.get(), 0, VT_I4))) return -12345;
  return v->lVal;
}

EventSink::EventSink(IUnknown* control) {
  if (!control) return;  // handed to a container that advises it itself
  ComPtr<IProvideClassInfo2> info;
  ComPtr<IConnectionPointContainer> points;
  if (FAILED(control->QueryInterface(IID_PPV_ARGS(&info))) ||
      FAILED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid_)) ||
      FAILED(control->QueryInterface(IID_PPV_ARGS(&points))) || FAILED(points->FindConnectionPoint(iid_, &point_)))
    return;
  // Argument names come with the events' type information.
  ComPtr<ITypeInfo> coclass;
  ComPtr<ITypeLib> lib;
  UINT index = 0;
  if (SUCCEEDED(info->GetClassInfo(&coclass)) && SUCCEEDED(coclass->GetContainingTypeLib(&lib, &index)))
    lib->GetTypeInfoOfGuid(iid_, &events_);
  point_->Advise(static_cast<IDispatch*>(this), &cookie_);
}

EventSink::~EventSink() {
  if (point_ && cookie_) point_->Unadvise(cookie_);
}

HRESULT EventSink::QueryInterface(REFIID riid, void** ppv) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, iid_)) {
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  BSTR name = nullptr;
  if (events_) events_->GetDocumentation(id, &name, nullptr, nullptr, nullptr);
  // Without the events' type information the standard events still have their names.
  static const std::map<DISPID, std::string> kStandard = {
      {DISPID_CLICK, "Click"},       {DISPID_DBLCLICK, "DblClick"},   {DISPID_KEYDOWN, "KeyDown"},
      {DISPID_KEYPRESS, "KeyPress"}, {DISPID_KEYUP, "KeyUp"},         {DISPID_MOUSEDOWN, "MouseDown"},
      {DISPID_MOUSEMOVE, "MouseMove"}, {DISPID_MOUSEUP, "MouseUp"}};
  const auto standard = kStandard.find(id);
  std::string line = std::to_string(id);  // an event of its own without type information: its number
  if (name) line = Utf8FromWide(name);
  else if (standard != kStandard.end()) line = standard->second;
  SysFreeString(name);
  if (params && params->cArgs) {
    line += "(";
    for (UINT i = params->cArgs; i-- > 0;) {
      VARIANT& arg = params->rgvarg[i];
      if (arg.vt == (VT_I2 | VT_BYREF)) {
        if (*arg.piVal == replaceKey && replaceKey) *arg.piVal = withKey;
        line += std::to_string(*arg.piVal);
      } else if (arg.vt == (VT_R4 | VT_BYREF)) {
        line += std::to_string(static_cast<int>(*arg.pfltVal));
      } else if (arg.vt == (VT_BOOL | VT_BYREF)) {
        line += *arg.pboolVal ? "True" : "False";
      } else if (arg.vt == (VT_BSTR | VT_BYREF)) {
        line += Utf8FromWide(*arg.pbstrVal ? *arg.pbstrVal : L"");
      } else {
        line += "vt" + std::to_string(arg.vt);
      }
      line += i ? "," : ")";
    }
  }
  lines_.push_back(line);
  return S_OK;
}

MemoryBag::~MemoryBag() {
  for (auto& [name, value] : entries) VariantClear(&value);
}

HRESULT MemoryBag::QueryInterface(REFIID riid, void** ppv) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyBag)) {
    *ppv = static_cast<IPropertyBag*>(this);
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

HRESULT MemoryBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  for (auto& [key, stored] : entries)
    if (SameKey(key, name)) return VariantCopy(value, &stored);
  return E_INVALIDARG;
}

HRESULT MemoryBag::Write(LPCOLESTR name, VARIANT* value) {
  VARIANT copy;
  VariantInit(&copy);
  HRESULT hr = VariantCopy(&copy, value);
  if (FAILED(hr)) return hr;
  entries.emplace_back(name, copy);
  return S_OK;
}

std::vector<std::string> MemoryBag::Lines() const {
  std::vector<std::string> lines;
  for (const auto& [key, value] : entries) {
    std::string text;
    if (value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) {
      ComPtr<IFont> font;
      text = value.punkVal && SUCCEEDED(value.punkVal->QueryInterface(IID_PPV_ARGS(&font))) ? "<font>" : "<object>";
    } else {
      unique_variant v;
      VariantChangeType(v.get(), const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR);
      text = v->vt == VT_BSTR ? Utf8FromWide(v->bstrVal ? v->bstrVal : L"") : "<vt" + std::to_string(value.vt) + ">";
    }
    lines.push_back(Utf8FromWide(key) + "=" + text);
  }
  return lines;
}

}  // namespace tessel::oletest
