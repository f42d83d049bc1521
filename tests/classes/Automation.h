#pragma once
// The server's automation classes for tests: late-bound calls and a recorder of the tooltips they build.
#include "tests/support/Prelude.h"

#include "server/contract/ComOwners.h"

namespace tessel::test {

using Microsoft::WRL::ComPtr;

// TesselOCX.ocx beside the test program, loaded once; objects come from its own class factories.
HMODULE ServerModule();
ComPtr<IDispatch> CreateServerObject(const CLSID& clsid);

VARIANT Str(const wchar_t* s);   // a VT_BSTR that the call frees
VARIANT Int(long v);
VARIANT Short(short v);
VARIANT Bool(bool v);
VARIANT Obj(IDispatch* d);       // borrowed
VARIANT Missing();

// A late-bound object: names are looked up through GetIDsOfNames like a script does.
class Auto {
 public:
  explicit Auto(ComPtr<IDispatch> d) : d_(std::move(d)) {}
  IDispatch* get() const { return d_.Get(); }
  explicit operator bool() const { return d_ != nullptr; }

  DISPID Id(const wchar_t* name) const;
  // Arguments in source order, string arguments freed afterwards; the result is kept.
  HRESULT Invoke(const wchar_t* name, WORD flags, std::vector<VARIANT> args);
  HRESULT Call(const wchar_t* name, std::vector<VARIANT> args) { return Invoke(name, DISPATCH_METHOD, std::move(args)); }
  HRESULT Put(const wchar_t* name, VARIANT value) { return Invoke(name, DISPATCH_PROPERTYPUT, {value}); }
  HRESULT PutRef(const wchar_t* name, IDispatch* value) { return Invoke(name, DISPATCH_PROPERTYPUTREF, {Obj(value)}); }
  const VARIANT& Get(const wchar_t* name);   // expects success
  long GetLong(const wchar_t* name);
  std::wstring GetText(const wchar_t* name);
  HWND Window() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(GetLong(L"hWnd"))); }

  unique_variant result;

 private:
  ComPtr<IDispatch> d_;
};

// A plain (hidden) parent window with an automation "hWnd" property, as a form would offer it.
class ParentWindow {
 public:
  ParentWindow();
  ~ParentWindow();
  HWND hwnd() const { return hwnd_; }
  IDispatch* object() const { return object_.Get(); }

 private:
  HWND hwnd_ = nullptr;
  ComPtr<IDispatch> object_;
};

// The tooltips made on this thread while it lives and their messages: "create(80800043,0,server)",
// "TTM_ADDTOOLA(10,0,0 0 320 200,owner,server,Text)" (server: the server module's; texts as sent).
class TipRecorder {
 public:
  TipRecorder();
  ~TipRecorder();
  const std::vector<std::string>& lines() const;
  void clear();
};

// The tool's flags and text (in UTF-8) as the tooltip window reports them.
struct ToolQuery { UINT flags = 0; std::string text; };
ToolQuery QueryTool(HWND tip, HWND parent);

std::wstring ClassOf(HWND window);

}  // namespace tessel::test
