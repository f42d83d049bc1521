#pragma once
// Message pumps for tests: handle what is waiting, bounded in time, never sleeping blindly.
#include "tests/support/Prelude.h"


namespace tessel::test {

// Handles waiting messages until done() holds (true) or timeoutMs has passed (false).
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (done()) return true;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}
// Handles messages for ms milliseconds.
inline void Pump(int ms) { PumpUntil([] { return false; }, ms); }

}  // namespace tessel::test
