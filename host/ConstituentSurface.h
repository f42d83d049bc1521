#pragma once
// A window that holds constituents: a user control's own window, or a picture box. It paints its
// back colour and then its windowless constituents (labels, shapes, images, lines) in the order
// they were created; windowed constituents (text boxes, picture boxes) are its child windows.
// Mouse input over a windowless constituent is routed to the topmost one under the cursor.
#include <windows.h>
#include <vector>

#include "server/contract/Surface.h"

namespace tessel {

class Constituent;

class ConstituentSurface : public Surface {
 public:
  // The surface a control's constituents stand on: every surface this container gives a control
  // holds constituents. Throws std::logic_error for a surface of another kind.
  static ConstituentSurface& Of(Surface& surface);

  // Paints the back colour and the visible windowless constituents into dc (client pixels).
  void PaintContent(HDC dc);
  // Paints the constituents that stand in for child windows, last made first (after the owner's
  // own drawing).
  void PaintAbove(HDC dc);

  // Called from the window procedure of the surface's window; true when the message was handled.
  bool RouteMouse(UINT msg, WPARAM wp, LPARAM lp);
  bool RouteSetCursor();

  const std::vector<Constituent*>& Constituents() const { return constituents_; }
  // The resolution changed: each constituent remakes what it made at the old one, and every
  // windowed constituent's window goes where its twips now fall.
  void FollowResolution();

  // While a layout is held, moved constituents keep their windows (and tools) where they are; when
  // the outermost hold ends, each one that was moved goes to its last place in one move. A layout that
  // sets left, top, width and height one after the other so moves each window once.
  class LayoutHold {
   public:
    explicit LayoutHold(ConstituentSurface& surface) : surface_(surface) { ++surface_.holds_; }
    ~LayoutHold() { surface_.EndHold(); }
    LayoutHold(const LayoutHold&) = delete;
    LayoutHold& operator=(const LayoutHold&) = delete;

   private:
    ConstituentSurface& surface_;
  };
  // The windowless constituent holding the mouse while a button is down, and the one that was
  // under the cursor at the last mouse move over the surface.
  Constituent* Captured() const { return captured_; }
  Constituent* Hovered() const { return hovered_; }

  // Whether windowed constituents hold their windows back for now: the surface stands on a form
  // that is never shown, where a field needs no window to read, keep and write its values.
  virtual bool HoldsWindowsBack() const { return false; }
  // Every constituent that held its window back makes it now, in the z order it would have had.
  void MakeHeldWindows();

 protected:
  // What lies under the constituents: the back colour, or the persistent image where one is kept.
  virtual void PaintBackground(HDC dc, const RECT& area);
  // A constituent is being attached: a surface that is not a window yet makes its window.
  virtual void NeedsWindow() {}

 private:
  friend class Constituent;
  void Attach(Constituent* c) {
    NeedsWindow();
    constituents_.push_back(c);
  }
  void Detach(Constituent* c);
  void Relocate(Constituent* c);  // now, or when the layout hold ends
  void EndHold() noexcept;
  Constituent* HitTest(POINT client) const;
  void Draw(Constituent* c, HDC dc);

  std::vector<Constituent*> constituents_;
  Constituent* captured_ = nullptr;  // windowless constituent that got the button down
  Constituent* hovered_ = nullptr;
  bool clickPending_ = false;        // a left press on captured_ that a release may turn into Click
  int holds_ = 0;
  std::vector<Constituent*> held_;   // moved while the layout was held, in the order first moved
};

}  // namespace tessel
