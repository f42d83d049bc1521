#include "host/ConstituentSurface.h"

#include <algorithm>
#include <stdexcept>

#include "host/Constituent.h"
#include "host/MouseArgs.h"
#include "server/contract/Gdi.h"
#include "server/contract/HostServices.h"
#include "server/contract/Palette.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/Twips.h"

namespace tessel {
namespace {

POINT PointOf(LPARAM lp) {
  return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

}  // namespace

ConstituentSurface& ConstituentSurface::Of(Surface& surface) {
  if (auto* holding = dynamic_cast<ConstituentSurface*>(&surface)) return *holding;
  throw std::logic_error("constituents stand only on a surface of the container");
}

void ConstituentSurface::PaintContent(HDC dc) {
  RECT area{};
  if (!hWnd() || !GetClientRect(hWnd(), &area)) GetClipBox(dc, &area);
  PaintBackground(dc, area);
  // A constituent's handler may add or remove constituents while another one paints.
  const std::vector<Constituent*> order = constituents_;
  for (Constituent* c : order)
    if (!c->Windowed() && !c->DrawnAbove()) Draw(c, dc);
}

void ConstituentSurface::PaintAbove(HDC dc) {
  const std::vector<Constituent*> order = constituents_;
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    if ((*it)->DrawnAbove()) Draw(*it, dc);
}

void ConstituentSurface::Draw(Constituent* c, HDC dc) {
  if (!c->Visible()) return;
  if (std::find(constituents_.begin(), constituents_.end(), c) == constituents_.end()) return;
  SaveDCGuard saved(dc);
  try {
    c->Draw(dc);
  } catch (const std::exception& e) {
    // A paint never fails: the constituent is skipped and the others are still drawn.
    ReportToDebugger(c->Name(), L"Draw", WideFromUtf8(e.what()));
  }
}

void ConstituentSurface::PaintBackground(HDC dc, const RECT& area) {
  const int32_t back = PaletteOf(BackColor(), ColorRole::Face);
  if (back >= 0) FillSolid(dc, area, static_cast<COLORREF>(back));
}

Constituent* ConstituentSurface::HitTest(POINT client) const {
  for (Constituent* c : constituents_)
    if (c->DrawnAbove() && c->HitTest(client)) return c;
  for (auto it = constituents_.rbegin(); it != constituents_.rend(); ++it) {
    Constituent* c = *it;
    if (c->Windowed() || c->DrawnAbove() || !c->Visible()) continue;
    if (c->HitTest(client)) return c;
  }
  return nullptr;
}

bool ConstituentSurface::RouteMouse(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CAPTURECHANGED) {
    if (reinterpret_cast<HWND>(lp) != hWnd()) captured_ = nullptr;
    return false;
  }
  if (msg == WM_MOUSELEAVE) {
    hovered_ = nullptr;
    return false;
  }
  const bool isMouse = (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) && msg != WM_MOUSEWHEEL;
  if (!isMouse || constituents_.empty()) return false;  // nothing to route to, nor the capture to ask for

  // The owner pressed on its own window and holds the mouse: the gesture is its own to the end.
  if (!captured_ && hWnd() && GetCapture() == hWnd()) return false;

  const POINT pt = PointOf(lp);
  Constituent* under = HitTest(pt);
  Constituent* target = captured_ ? captured_ : under;
  if (msg == WM_MOUSEMOVE) hovered_ = under;
  if (!target) return false;

  const RECT bounds = target->BoundsPixels();
  float x = static_cast<float>(TwipsFromPixelsX(pt.x - bounds.left));
  float y = static_cast<float>(TwipsFromPixelsY(pt.y - bounds.top));
  const int16_t shift = MouseShift(wp);

  switch (msg) {
    case WM_MOUSEMOVE:
      target->OnMouseMove(HeldButtons(wp), shift, x, y);
      return true;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
      const bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      if (!captured_) {
        captured_ = target;
        if (hWnd() && GetCapture() != hWnd()) SetCapture(hWnd());
      }
      if (dbl) {
        // The second press of a double click: DblClick instead of MouseDown, and no Click after it.
        clickPending_ = false;
        if (msg == WM_LBUTTONDBLCLK) target->OnDblClick();
        else target->OnMouseDown(MouseButtonOf(msg), shift, x, y);
      } else {
        if (msg == WM_LBUTTONDOWN) clickPending_ = true;
        target->OnMouseDown(MouseButtonOf(msg), shift, x, y);
      }
      return true;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
      const bool anyHeld = (wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
      if (!anyHeld) {
        captured_ = nullptr;
        if (hWnd() && GetCapture() == hWnd()) ReleaseCapture();
      }
      const bool click = msg == WM_LBUTTONUP && clickPending_ && under == target;
      if (msg == WM_LBUTTONUP) clickPending_ = false;
      target->OnMouseUp(MouseButtonOf(msg), shift, x, y);
      // The MouseUp handler may have removed the constituent.
      if (click && std::find(constituents_.begin(), constituents_.end(), target) != constituents_.end())
        target->OnClick();
      return true;
    }
    default:
      return false;
  }
}

bool ConstituentSurface::RouteSetCursor() {
  POINT pt{};
  if (!hWnd() || !GetCursorPos(&pt) || !ScreenToClient(hWnd(), &pt)) return false;
  Constituent* c = captured_ ? captured_ : HitTest(pt);
  if (!c) return false;
  HCURSOR cursor = c->Cursor();
  if (!cursor) return false;
  SetCursor(cursor);
  return true;
}

void ConstituentSurface::FollowResolution() {
  for (Constituent* c : constituents_) {
    c->ResolutionChanged();
    if (c->Windowed()) Relocate(c);
  }
}

void ConstituentSurface::Relocate(Constituent* c) {
  if (holds_ == 0) {
    c->Relocated();
    return;
  }
  if (std::find(held_.begin(), held_.end(), c) == held_.end()) held_.push_back(c);
}

void ConstituentSurface::EndHold() noexcept {
  if (--holds_ > 0) return;
  const std::vector<Constituent*> moved = std::move(held_);
  held_.clear();
  for (Constituent* c : moved) {
    // A window moved by one relocation may have taken another constituent with it.
    if (std::find(constituents_.begin(), constituents_.end(), c) == constituents_.end()) continue;
    try {
      c->Relocated();
    } catch (const std::exception& e) {
      ReportToDebugger(c->Name(), L"move the window", WideFromUtf8(e.what()));
    }
  }
}

void ConstituentSurface::MakeHeldWindows() {
  for (size_t i = 0; i < constituents_.size(); ++i) {
    Constituent* c = constituents_[i];
    if (!c->Windowed() || !c->MakeHeldWindow()) continue;
    // Made late, the window goes where it would stand had it been made with its constituent:
    // below the window of the windowed constituent made before it, or above the next one's.
    HWND after = nullptr;
    for (size_t j = i; j-- > 0 && !after;)
      if (constituents_[j]->Windowed()) after = constituents_[j]->Window();
    if (!after)
      for (size_t j = i + 1; j < constituents_.size() && !after; ++j)
        if (constituents_[j]->Windowed() && constituents_[j]->Window()) {
          after = GetWindow(constituents_[j]->Window(), GW_HWNDPREV);
          if (!after) after = HWND_TOP;
        }
    if (after) SetWindowPos(c->Window(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void ConstituentSurface::Detach(Constituent* c) {
  constituents_.erase(std::remove(constituents_.begin(), constituents_.end(), c), constituents_.end());
  held_.erase(std::remove(held_.begin(), held_.end(), c), held_.end());
  if (captured_ == c) {
    captured_ = nullptr;
    if (hWnd() && GetCapture() == hWnd()) ReleaseCapture();
  }
  if (hovered_ == c) hovered_ = nullptr;
}

}  // namespace tessel
