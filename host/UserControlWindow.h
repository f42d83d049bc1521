#pragma once
// A user control's own window: a surface that paints its constituents and then the control's own
// drawing, and routes the mouse, keyboard and focus to the control. Mouse input over a windowless
// constituent goes to that constituent instead. While the container is in design mode
// (UserMode False) no input reaches the control.
#include <windows.h>

#include <cstddef>

#include "host/SurfaceWindow.h"
#include "server/contract/Palette.h"

namespace tessel {

class UserControl;
class HostedControl;

class UserControlWindow final : public SurfaceWindow {
 public:
  explicit UserControlWindow(HostedControl& site) : site_(site) {}
  ~UserControlWindow() override;
  void Attach(UserControl* control) { control_ = control; }
  HostedControl& Site() const { return site_; }
  bool HoldsWindowsBack() const override;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void PaintOwn(HDC dc) override;
  void CuesChanged() override;
  // The control draws its look again on Resize: its image need hold only what can be seen.
  bool RedrawsItsImage() const override { return control_ != nullptr; }
  void ImageLost() override;

 private:
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool RouteInput(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // What accDoDefaultAction asked for: a click on the control (part 0) or on its part.
  void DoDefaultAction(size_t part);
  // WM_SYSCOLORCHANGE, WM_SETTINGCHANGE, WM_THEMECHANGED, or a paint in a container that does not
  // pass those on, when the system's look changed since the control last remade its colours: it
  // remakes them (the constituents resolve theirs at each paint), then the window and its children
  // are marked for one repaint. look: RefreshSystemLook's number, read once by the caller.
  void SystemLookChanged(uint32_t look);

  HostedControl& site_;
  UserControl* control_ = nullptr;
  int16_t pressed_ = 0;        // buttons that went down on the control's own window
  bool afterDblClick_ = false; // the release after a double click raises no Click
  uint32_t lookSeen_ = SystemLookSerial();  // the system's look the control's colours were made for
};

}  // namespace tessel
