#include "host/Constituent.h"

#include "host/ConstituentSurface.h"
#include "host/PixelEdges.h"

namespace tessel {

Constituent::Constituent(Surface& parent, std::wstring name) : parent_(ConstituentSurface::Of(parent)), name_(std::move(name)) {
  parent_.Attach(this);
}

Constituent::~Constituent() {
  if (!Windowed() && visible_) Invalidate();
  parent_.Detach(this);
}

void Constituent::SetLeft(int twips) { Move(twips, top_, width_, height_); }
void Constituent::SetTop(int twips) { Move(left_, twips, width_, height_); }
void Constituent::SetWidth(int twips) { Move(left_, top_, twips, height_); }
void Constituent::SetHeight(int twips) { Move(left_, top_, width_, twips); }

void Constituent::Move(int left, int top, int width, int height) {
  if (width < 0 || height < 0) throw InvalidPropertyValue("Invalid property value");
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
  parent_.Relocate(this);
}

void Constituent::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!Windowed()) Invalidate();
  visible_ = visible;
  if (!Windowed()) Invalidate();
  VisibilityChanged();
}

RECT Constituent::BoundsPixels() const {
  return RECT{PixelEdgeX(left_), PixelEdgeY(top_), PixelEdgeX(int64_t{left_} + width_),
              PixelEdgeY(int64_t{top_} + height_)};
}

bool Constituent::HitTest(POINT client) const {
  if (!visible_) return false;
  const RECT r = BoundsPixels();
  return PtInRect(&r, client) != FALSE;
}

void Constituent::Refresh() {
  Invalidate();
  HWND w = Windowed() ? Window() : parent_.hWnd();
  if (w) UpdateWindow(w);
}

void Constituent::Invalidate() {
  if (Windowed()) {
    InvalidateShown(Window(), nullptr, true);
    return;
  }
  // One pixel of slack: wide borders and rounding reach just past the bounds.
  RECT r = BoundsPixels();
  InflateRect(&r, 1, 1);
  parent_.Invalidate(&r);
}

}  // namespace tessel
