#pragma once
// A HostServices that records every call but the cursor, window and clock queries as one line of
// text and answers from values the test sets (a message box with OK).
#include <functional>
#include <string>
#include <vector>

#include "server/contract/HostServices.h"

namespace tessel::test {

class RecordingHost : public HostServices {
 public:
  int MessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) override;
  POINT CursorPos() override;
  HWND WindowFromPoint(POINT screen) override;
  INT_PTR ShellExecute(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                       const std::string& directory, int show) override;
  // Recorded; when forwardKeys is set the keys then go to the platform as well.
  void SendKeys(const std::wstring& keys, bool wait) override;
  uint64_t TickCount() override;
  // Recorded as "DoDragDrop(allowed effects)"; dragLoop plays the user's part, cancelled without one.
  HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect) override;
  // Recorded as "SkippedStep(control|step|error)".
  void ReportSkippedStep(std::wstring_view control, std::wstring_view step, std::wstring_view error) override;

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
