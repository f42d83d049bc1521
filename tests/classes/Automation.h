#pragma once
// Test helpers for the server's automation classes: the server loaded straight from the build tree,
// late-bound calls through IDispatch, and a recorder of the tooltip windows the classes build.
#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace tessel::test {

// TesselOCX.ocx beside the test program, loaded once; objects come from its own class factories.
HMODULE ServerModule();
IDispatch* CreateServerObject(const CLSID& clsid);   // new reference, or nullptr

// A late-bound object: names are looked up through GetIDsOfNames like a script does.
class Auto {
 public:
  Auto() = default;
  explicit Auto(IDispatch* d) : d_(d) {}                 // takes the reference
  Auto(const Auto&) = delete;
  Auto& operator=(const Auto&) = delete;
  Auto(Auto&& o) noexcept : d_(o.d_) { o.d_ = nullptr; }
  Auto& operator=(Auto&& o) noexcept {
    if (this != &o) {
      if (d_) d_->Release();
      d_ = o.d_;
      o.d_ = nullptr;
    }
    return *this;
  }
  ~Auto() { if (d_) d_->Release(); }
  IDispatch* get() const { return d_; }
  explicit operator bool() const { return d_ != nullptr; }

  DISPID Id(const wchar_t* name) const;
  // Arguments in source order. Returns the HRESULT of Invoke; the result and exception are kept.
  HRESULT Invoke(const wchar_t* name, WORD flags, std::vector<VARIANT> args);
  VARIANT Get(const wchar_t* name);                       // asserts success
  long GetLong(const wchar_t* name);
  std::wstring GetText(const wchar_t* name);
  HRESULT Put(const wchar_t* name, VARIANT value);
  HRESULT PutRef(const wchar_t* name, IDispatch* value);
  HRESULT Call(const wchar_t* name, std::vector<VARIANT> args) { return Invoke(name, DISPATCH_METHOD, std::move(args)); }

  VARIANT result{};
  EXCEPINFO excep{};
  UINT argErr = 0;

 private:
  IDispatch* d_ = nullptr;
};

VARIANT Str(const wchar_t* s);   // a VT_BSTR the call frees afterwards
VARIANT Int(long v);
VARIANT Short(short v);
VARIANT Bool(bool v);
VARIANT Obj(IDispatch* d);       // borrowed
VARIANT Missing();

// A plain parent window with an automation "hWnd" property, as a form would offer it.
class ParentWindow {
 public:
  ParentWindow(int width = 320, int height = 200);
  ~ParentWindow();
  HWND hwnd() const { return hwnd_; }
  IDispatch* object() const { return object_; }
 private:
  HWND hwnd_ = nullptr;
  IDispatch* object_ = nullptr;
};

// Every tooltip window created on this thread while the recorder lives: how it was created, and
// the tooltip messages it was sent, in order.
struct TipEvent {
  HWND window;
  UINT message;         // WM_CREATE stands for the creation itself
  WPARAM wParam;
  DWORD style = 0;      // creation: the style asked for
  DWORD exStyle = 0;
  HWND parent = nullptr;
  HINSTANCE instance = nullptr;
  UINT flags = 0;       // TTM_ADDTOOLA: the tool record
  HWND tool = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  HINSTANCE toolInstance = nullptr;
  std::string text;     // TTM_ADDTOOLA text, TTM_SETTITLEA title
};

class TipRecorder {
 public:
  TipRecorder();
  ~TipRecorder();
  const std::vector<TipEvent>& events() const;
  void clear();
  // The messages of the events in order, for comparing sequences.
  std::vector<UINT> messages() const;
};

// Window state read back with the tooltip's own query messages.
struct ToolQuery {
  bool found = false;
  UINT flags = 0;
  HWND tool = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  std::string text;
};
ToolQuery QueryTool(HWND tip, HWND parent);

// The title and icon a tooltip shows. Asked with TTM_GETTITLE where the platform answers it; Wine's
// tooltip leaves that message unanswered, and there the last TTM_SETTITLEA the recorder saw counts.
struct TitleQuery {
  std::wstring title;
  UINT icon = 0;
  bool answered = false;   // false: neither the window nor the recorder knew
};
TitleQuery QueryTitle(HWND tip, const TipRecorder& rec);

// Moves the cursor onto the tool and waits until the tip shows; returns its screen rectangle
// (empty when it never showed).
RECT ShowTip(HWND tip, HWND parent);
std::wstring ClassOf(HWND window);

}  // namespace tessel::test
