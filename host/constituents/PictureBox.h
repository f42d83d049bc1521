#pragma once
// A windowed constituent that is itself a surface: a child window of its parent surface with a
// back colour and an optional border, holding constituents of its own (labels, shapes, images,
// nested user-control windows). Also serves as a plain strip of colour: a strip made to be drawn
// by its parent has no window until something needs one (its handle, a constituent of its own, a
// border, a persistent image or being disabled); until then its parent paints its back colour over
// the parent's own drawing, where the window would stand, and routes its mouse input to it.
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
  // A borderless strip drawn by its parent until it needs a window.
  struct DrawnByParent {};
  PictureBox(Surface& parent, std::wstring name, DrawnByParent);
  ~PictureBox() override;

  bool Windowed() const override { return !drawnByParent_; }
  bool DrawnAbove() const override { return drawnByParent_; }
  HWND Window() const override { return hWnd(); }
  // The window, made now if the box was still drawn by its parent (null while the parent has none).
  HWND Handle();

  void SetBackColor(OleColor color) override;
  void SetPersistentImage(bool keep) override;

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

  // Drawn by the parent: the back colour over the bounds, and the mouse as the window would get it.
  void Draw(HDC dc) override;
  void OnMouseDown(int16_t button, int16_t shift, float x, float y) override;
  void OnMouseMove(int16_t button, int16_t shift, float x, float y) override;
  void OnMouseUp(int16_t button, int16_t shift, float x, float y) override;
  void OnClick() override { Raise(events.Click); }
  void OnDblClick() override { Raise(events.DblClick); }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Relocated() override;
  void ResolutionChanged() override { FollowResolution(); }
  void VisibilityChanged() override;
  void NeedsWindow() override { Handle(); }

 private:
  void CreateWindowNow();

  int borderStyle_ = 1;
  bool enabled_ = true;
  bool clickPending_ = false;
  bool drawnByParent_ = false;
};

}  // namespace tessel
