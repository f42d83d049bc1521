#include "host/constituents/Timer.h"

#include <stdexcept>

#include "server/contract/HostServices.h"
#include "server/contract/ThisModule.h"
#include "server/contract/WindowClass.h"

namespace tessel {
namespace {

constexpr UINT_PTR kTimerId = 1;

}  // namespace

Timer::Timer(Surface& parent, std::wstring name) : Constituent(parent, std::move(name)) {
  static const WNDCLASSEXW wc = [] {
    WNDCLASSEXW c{};
    c.cbSize = sizeof(c);
    c.lpfnWndProc = &Timer::Proc;
    c.hInstance = ThisModule();
    c.lpszClassName = L"TesselTimer";
    return c;
  }();
  EnsureModuleClass(wc);
  window_.reset(CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), this));
  if (!window_) throw std::runtime_error("the timer window could not be created");
}

Timer::~Timer() {
  if (window_) {
    KillTimer(window_.get(), kTimerId);
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  }
}

void Timer::SetInterval(int ms) {
  if (ms < 0 || ms > 65535) throw InvalidPropertyValue("Invalid property value");
  interval_ = ms;
  Restart();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void Timer::Restart() {
  if (running_) KillTimer(window_.get(), kTimerId);
  running_ = false;
  if (enabled_ && interval_ > 0) running_ = SetTimer(window_.get(), kTimerId, static_cast<UINT>(interval_), nullptr) != 0;
}

LRESULT CALLBACK Timer::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  } else if (msg == WM_TIMER && wp == kTimerId) {
    auto* self = reinterpret_cast<Timer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->running_) {
      try {
        Raise(self->events.Timer);
      } catch (...) {
        // A failing handler does not stop the timer; the next tick comes as usual. Nothing may
        // unwind through the system's dispatch.
        ReportToDebugger(self->Name(), L"Timer event", CurrentErrorText());
      }
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace tessel
