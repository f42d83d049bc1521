#pragma once
// A window timer: raises Timer every Interval milliseconds while Enabled and Interval > 0.
// It runs on a message-only window of its own, so it needs nothing of its surface's window, and
// it stops when disabled, set to interval 0 or destroyed.
#include <windows.h>

#include "host/Constituent.h"
#include "host/Events.h"
#include "server/contract/Gdi.h"

namespace tessel {

class Timer : public Constituent {
 public:
  Timer(Surface& parent, std::wstring name);
  ~Timer() override;

  int Interval() const { return interval_; }
  void SetInterval(int ms);     // 0..65535; others refused with InvalidPropertyValue; restarts
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Running() const { return running_; }

  struct Events {
    NotifyEvent Timer;
  } events;

  bool HitTest(POINT client) const override { return false; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Restart();

  unique_hwnd window_;
  int interval_ = 0;
  bool enabled_ = true;
  bool running_ = false;
};

}  // namespace tessel
