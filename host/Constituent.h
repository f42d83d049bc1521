#pragma once
// A standard control that a user control is built from. Positions are twips of the surface it
// stands on. A negative width or height is refused with InvalidPropertyValue.
#include <windows.h>
#include <string>

#include "host/Events.h"
#include "server/contract/Errors.h"

namespace tessel {

class Surface;
class ConstituentSurface;

class Constituent {
 public:
  // parent is the surface a control was given (ControlSite::OwnSurface) or a picture box.
  Constituent(Surface& parent, std::wstring name);
  virtual ~Constituent();
  Constituent(const Constituent&) = delete;
  Constituent& operator=(const Constituent&) = delete;

  const std::wstring& Name() const { return name_; }
  ConstituentSurface& Parent() const { return parent_; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int twips);
  void SetTop(int twips);
  void SetWidth(int twips);
  void SetHeight(int twips);
  void Move(int left, int top, int width, int height);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  RECT BoundsPixels() const;  // in client pixels of the parent surface

  // Windowless constituents draw into the parent surface's DC; windowed ones are child windows.
  virtual bool Windowed() const { return false; }
  // Stands in for a child window that is not made yet: drawn over the owner's own drawing and hit
  // before the windowless constituents, the first made on top, as sibling windows stack.
  virtual bool DrawnAbove() const { return false; }
  virtual void Draw(HDC dc) {}
  virtual bool HitTest(POINT client) const;        // pixels of the parent surface
  virtual HCURSOR Cursor() const { return nullptr; }

  // Mouse input routed by the surface to a windowless constituent (x, y in twips of the constituent).
  virtual void OnMouseDown(int16_t button, int16_t shift, float x, float y) {}
  virtual void OnMouseMove(int16_t button, int16_t shift, float x, float y) {}
  virtual void OnMouseUp(int16_t button, int16_t shift, float x, float y) {}
  virtual void OnClick() {}
  virtual void OnDblClick() {}

  // Windowed constituents: their child window, and the notifications its parent reflects back
  // (WM_COMMAND, WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC...). Return true when handled.
  virtual HWND Window() const { return nullptr; }
  virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }

  // Repaints the constituent (the Refresh method of the standard controls).
  virtual void Refresh();
  // The screen's resolution changed: what was made at the old one (the font handle a window was
  // given, a size fitted to the text) is made again. Nothing is drawn here; the repaint follows.
  virtual void ResolutionChanged() {}

 protected:
  void Invalidate();              // repaints the constituent's area of the parent surface
  virtual void Relocated() {}     // windowed constituents move their window here
  virtual void VisibilityChanged() {}
  // A windowed constituent that held its window back makes it here; true when it made one.
  virtual bool MakeHeldWindow() { return false; }  // windowed constituents show or hide their window here

 private:
  friend class ConstituentSurface;  // moves held windows once a layout is done
  ConstituentSurface& parent_;
  std::wstring name_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
};

}  // namespace tessel
