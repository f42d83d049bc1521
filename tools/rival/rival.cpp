// Another program on the display: takes the activation every so often and keeps it until the next
// program takes it back, as a chat window or an installer might. Runs until it is killed.
//   tessel_rival.exe [period in ms, 150 by default]: each time after half to one and a half periods
#include <windows.h>

#include <algorithm>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int) {
  const int asked = atoi(cmd);
  const int period = asked > 0 ? std::max(10, asked) : 150;
  // In a corner, away from the windows the tests draw and read.
  const HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Static", L"rival", WS_POPUP | WS_VISIBLE,
                                      GetSystemMetrics(SM_CXSCREEN) - 40, GetSystemMetrics(SM_CYSCREEN) - 20, 40,
                                      20, nullptr, nullptr, nullptr, nullptr);
  srand(GetCurrentProcessId());
  for (;;) {
    const ULONGLONG next = GetTickCount64() + static_cast<ULONGLONG>(period / 2 + rand() % period);
    while (GetTickCount64() < next) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    SetForegroundWindow(window);
    SetActiveWindow(window);
    SetFocus(window);
  }
}
