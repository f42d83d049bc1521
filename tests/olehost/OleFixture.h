#pragma once
// The user controls as ActiveX controls, hosted by the ATL container Wine ships (atl100.dll) and
// compared with the same controls on a Form. The program registers the controls with
// "regsvr32 /i:controls" before its first test and takes them away again after its last.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Form.h"
#include "server/contract/ComOwners.h"
#include "server/contract/Gdi.h"
#include "tests/support/Pixels.h"

namespace tessel::oletest {

using Microsoft::WRL::ComPtr;

std::wstring ServerPath();
// Runs regsvr32 silently with the given switches on the server; returns its exit code.
DWORD RegSvr32(const std::wstring& switches);
// Runs a program of the prefix with its output written to a file; returns the exit code and the output.
DWORD RunProgram(const std::wstring& commandLine, std::string& output);

// The ATL container's entry points.
struct Atl {
  HRESULT(WINAPI* createControlEx)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*) = nullptr;
  HRESULT(WINAPI* getControl)(HWND, IUnknown**) = nullptr;
  static const Atl& Get();  // loaded once, with AtlAxWinInit called
};

// One control in an ATL host window (class AtlAxWin100) at the top left of a visible popup.
class AtlHosted {
 public:
  AtlHosted(const std::wstring& progId, int width, int height);
  ~AtlHosted();
  AtlHosted(const AtlHosted&) = delete;
  AtlHosted& operator=(const AtlHosted&) = delete;
  IUnknown* control() const { return control_.Get(); }
  IDispatch* dispatch() const { return dispatch_.Get(); }
  HWND host() const { return host_; }
  HWND ControlWindow() const;  // the control's own window, from its hWnd property
  // The control's window as the screen has it.
  std::unique_ptr<test::Canvas> Screen() const;

 private:
  HWND top_ = nullptr, host_ = nullptr;
  ComPtr<IUnknown> control_;
  ComPtr<IDispatch> dispatch_;
  int width_, height_;
};

// Properties by name, as a script reaches them.
HRESULT Put(IDispatch* object, const wchar_t* name, const VARIANT& value, std::wstring* error = nullptr);
VARIANT Var(int32_t value);
VARIANT Var(bool value);
VARIANT Var(const wchar_t* value);  // the BSTR is the caller's (unique_variant)
std::wstring GetText(IDispatch* object, const wchar_t* name);
int32_t GetLong(IDispatch* object, const wchar_t* name);

// Records the events a control raises through its connection point, one line each
// ("MouseDown(1,0,75,75)", "Click"), with argument names from the type library; onKeyPress may
// change KeyAscii, which reaches the control.
class EventSink final : public IDispatch {
 public:
  EventSink(IUnknown* control);
  ~EventSink();
  std::vector<std::string> Take() { return std::exchange(lines_, {}); }
  int16_t replaceKey = 0, withKey = 0;  // KeyAscii replaceKey is handed back as withKey

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

 private:
  ComPtr<IConnectionPoint> point_;
  ComPtr<ITypeInfo> events_;
  DWORD cookie_ = 0;
  IID iid_{};
  ULONG refs_ = 1;
  std::vector<std::string> lines_;
};

// A property bag that keeps what is written, in order.
class MemoryBag final : public IPropertyBag {
 public:
  std::vector<std::pair<std::wstring, VARIANT>> entries;
  ~MemoryBag();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;
  // "Key=value" lines of the simple values (fonts and pictures as their kind).
  std::vector<std::string> Lines() const;
};

// A form shown at the top left holding one control of the same size, for comparisons.
struct FormWith {
  FormWith(const std::wstring& type, int width, int height);
  std::unique_ptr<Form> form;
  UserControl* control = nullptr;
  std::unique_ptr<test::Canvas> Screen() const;
};

// A window's client area as the screen has it, repainted first.
std::unique_ptr<test::Canvas> ScreenOf(HWND window);

// Presses and releases the left button at the middle of a window with the cursor over it.
void Click(HWND window);

// The first pixel where two pictures of the same size differ, as text; empty when they are the same.
std::string FirstDifference(const test::PixelRows& a, const test::PixelRows& b);

}  // namespace tessel::oletest
