#pragma once
// A HostServices that records every call but the cursor, window and clock queries as one line of
// text and answers from values the test sets (a message box with OK).
#include "tests/support/Prelude.h"

#include "server/contract/HostServices.h"

namespace tessel::test {

class RecordingHost : public HostServices {
 public:
  int MessageBox(HWND, const std::wstring& text, const std::wstring& title, UINT flags) override {
    calls.push_back(L"MessageBox(" + text + L"|" + title + L"|" + std::to_wstring(flags) + L")");
    return IDOK;
  }
  POINT CursorPos() override { return cursor; }
  HWND WindowFromPoint(POINT) override { return windowAtPoint; }
  INT_PTR ShellExecute(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                       const std::string& directory, int show) override {
    auto wide = [](const std::string& s) { return std::wstring(s.begin(), s.end()); };
    return Shell(L"ShellExecute(", owner, wide(verb), wide(file), wide(parameters), wide(directory), show);
  }
  INT_PTR ShellExecuteWide(HWND owner, const std::wstring& verb, const std::wstring& file,
                           const std::wstring& parameters, const std::wstring& directory, int show) override {
    return Shell(L"ShellExecuteWide(", owner, verb, file, parameters, directory, show);
  }
  // Recorded; when forwardKeys is set the keys then go to the platform as well.
  void SendKeys(const std::wstring& keys, bool wait) override {
    calls.push_back(L"SendKeys(" + keys + L"|" + (wait ? L"1" : L"0") + L")");
    if (forwardKeys) PlatformHostServices().SendKeys(keys, wait);
  }
  uint64_t TickCount() override { return ticks; }
  // Recorded as "DoDragDrop(allowed effects)"; dragLoop plays the user's part, cancelled without one.
  HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect) override {
    calls.push_back(L"DoDragDrop(" + std::to_wstring(allowedEffects) + L")");
    if (dragLoop) return dragLoop(data, source, allowedEffects, effect);
    *effect = DROPEFFECT_NONE;
    return DRAGDROP_S_CANCEL;
  }
  void ReportSkippedStep(std::wstring_view control, std::wstring_view step, std::wstring_view error) override {
    calls.push_back(L"SkippedStep(" + std::wstring(control) + L"|" + std::wstring(step) + L"|" + std::wstring(error) + L")");
  }

  INT_PTR Shell(const wchar_t* call, HWND owner, const std::wstring& verb, const std::wstring& file,
                const std::wstring& parameters, const std::wstring& directory, int show) {
    const std::wstring by = owner == GetDesktopWindow() ? L"desktop" : owner ? L"window" : L"nobody";
    calls.push_back(call + by + L"|" + verb + L"|" + file + L"|" + parameters + L"|" + directory + L"|" +
                    std::to_wstring(show) + L")");
    return shellResult;
  }

  // "MessageBox(text|title|flags)", "SendKeys({TAB}|0)", "ShellExecute(desktop|open|file|||1)"...
  std::vector<std::wstring> calls;
  POINT cursor{0, 0};
  HWND windowAtPoint = nullptr;   // what WindowFromPoint answers
  INT_PTR shellResult = 42;
  uint64_t ticks = 0;
  bool forwardKeys = false;
  std::function<HRESULT(IDataObject* data, IDropSource* source, DWORD allowed, DWORD* effect)> dragLoop;
};

}  // namespace tessel::test
