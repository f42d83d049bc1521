#include "tests/support/RecordingHost.h"

namespace tessel::test {

int RecordingHost::MessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) {
  calls.push_back(L"MessageBox(" + text + L"|" + title + L"|" + std::to_wstring(flags) + L")");
  return IDOK;
}

POINT RecordingHost::CursorPos() { return cursor; }

HWND RecordingHost::WindowFromPoint(POINT screen) { return windowAtPoint; }

INT_PTR RecordingHost::ShellExecute(HWND owner, const std::string& verb, const std::string& file,
                                    const std::string& parameters, const std::string& directory, int show) {
  auto wide = [](const std::string& s) { return std::wstring(s.begin(), s.end()); };
  const std::wstring by = owner == GetDesktopWindow() ? L"desktop" : owner ? L"window" : L"nobody";
  calls.push_back(L"ShellExecute(" + by + L"|" + wide(verb) + L"|" + wide(file) + L"|" + wide(parameters) + L"|" + wide(directory) +
                  L"|" + std::to_wstring(show) + L")");
  return shellResult;
}

void RecordingHost::SendKeys(const std::wstring& keys, bool wait) {
  calls.push_back(L"SendKeys(" + keys + L"|" + (wait ? L"1" : L"0") + L")");
  if (forwardKeys) PlatformHostServices().SendKeys(keys, wait);
}

uint64_t RecordingHost::TickCount() { return ticks; }

HRESULT RecordingHost::DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect) {
  calls.push_back(L"DoDragDrop(" + std::to_wstring(allowedEffects) + L")");
  if (dragLoop) return dragLoop(data, source, allowedEffects, effect);
  *effect = DROPEFFECT_NONE;
  return DRAGDROP_S_CANCEL;
}

void RecordingHost::ReportSkippedStep(std::wstring_view control, std::wstring_view step, std::wstring_view error) {
  calls.push_back(L"SkippedStep(" + std::wstring(control) + L"|" + std::wstring(step) + L"|" + std::wstring(error) + L")");
}

}  // namespace tessel::test
