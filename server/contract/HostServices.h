#pragma once
// Everything a control does that a test cannot drive deterministically goes through this seam:
// message boxes, the cursor and window-from-point, shell execution, send-keys, the clock and the
// modal loop of an OLE drag.
// The product uses the platform; tests install a recorder on the form.
#include <windows.h>
// MessageBox and ShellExecute are also macros of the Windows headers; including shellapi.h here
// makes every file see the same spelling of the member names, whatever it includes itself.
#include <shellapi.h>
#include <ole2.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tessel {

class HostServices {
 public:
  virtual ~HostServices() = default;
  // MessageBoxW semantics: flags are MB_* values; returns the button pressed (IDOK...).
  virtual int MessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) = 0;
  virtual POINT CursorPos() = 0;                    // screen coordinates
  virtual HWND WindowFromPoint(POINT screen) = 0;
  // ShellExecuteA semantics; returns the instance value (> 32 on success).
  virtual INT_PTR ShellExecute(HWND owner, const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory, int show) = 0;
  // ShellExecuteW semantics, for an address or file the ANSI code page cannot hold (the narrow call
  // would open one with "?" in it); the platform calls ShellExecuteW.
  virtual INT_PTR ShellExecuteWide(HWND owner, const std::wstring& verb, const std::wstring& file,
                                   const std::wstring& parameters, const std::wstring& directory, int show);
  // Send-keys string such as "{TAB}" to the active window.
  virtual void SendKeys(const std::wstring& keys, bool wait) = 0;
  virtual uint64_t TickCount() = 0;                 // milliseconds
  // DoDragDrop semantics: runs the drag loop with the mouse and keyboard until the drop or the
  // cancel; the platform calls DoDragDrop.
  virtual HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect);
  // The diagnostics sink: a layout or paint step of a control failed and was skipped. The
  // platform writes "TesselOCX: <control>: <step> skipped: <error>" with OutputDebugString.
  virtual void ReportSkippedStep(std::wstring_view control, std::wstring_view step, std::wstring_view error);
};

// The real platform.
HostServices& PlatformHostServices();

// The platform's diagnostics line, for code that has no host at hand (a window procedure, a
// constituent's timer); never throws.
void ReportToDebugger(std::wstring_view source, std::wstring_view step, std::wstring_view error) noexcept;
// The message of the exception being handled; called from inside a catch block.
std::wstring CurrentErrorText();

}  // namespace tessel
