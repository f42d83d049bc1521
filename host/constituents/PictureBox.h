#pragma once
// A windowed constituent that is itself a surface: a child window of its parent surface with a
// back colour and an optional border, holding constituents of its own (labels, shapes, images,
// nested user-control windows). Also serves as a plain strip of colour.
#include <windows.h>

#include "host/Constituent.h"
#include "host/Events.h"
#include "host/SurfaceWindow.h"
#include "server/contract/OleColor.h"

namespace tessel {

class PictureBox : public Constituent, public SurfaceWindow {
 public:
  // The window is made at once when the parent surface has one, with back colour button face and
  // the border style given (1 fixed single by default; a plain strip is made with 0).
  PictureBox(Surface& parent, std::wstring name, int borderStyle = 1);
  ~PictureBox() override;

  bool Windowed() const override { return true; }
  HWND Window() const override { return hWnd(); }

  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);   // 0 none, 1 fixed single; others refused
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void Refresh() override;

  struct Events {
    NotifyEvent Click;
    NotifyEvent DblClick;
    MouseEvent MouseDown;
    MouseEvent MouseMove;
    MouseEvent MouseUp;
  } events;

  using ConstituentSurface::Invalidate;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Relocated() override;
  void VisibilityChanged() override;

 private:
  int borderStyle_ = 1;
  bool enabled_ = true;
  bool clickPending_ = false;
};

}  // namespace tessel
