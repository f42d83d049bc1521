#include "host/SurfaceWindow.h"

#include <algorithm>
#include <stdexcept>

#include "host/AccessibleObject.h"
#include "host/Constituent.h"
#include "host/WindowTable.h"
#include "server/contract/Gdi.h"
#include "server/contract/HostServices.h"
#include "server/contract/ImageLimits.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/ThisModule.h"
#include "server/contract/WindowClass.h"

namespace tessel {
namespace {

// One back buffer for the surface windows of the thread that made the first of them: it grows to
// the largest surface painted, is reused by every paint after that, and is given back when the
// last surface window goes. A window at rest so holds no bitmap of its own. A paint on another
// thread, or one that starts while another is composing, gets a buffer of its own.
class SharedBackBuffer {
 public:
  void AddWindow() {
    if (windows_++ == 0) thread_ = GetCurrentThreadId();
  }
  void RemoveWindow() {
    if (--windows_ == 0) Free();
  }
  // The buffer's DC with at least width x height pixels, or null when it cannot be lent now.
  HDC Borrow(HDC compatible, int width, int height) {
    if (busy_ || GetCurrentThreadId() != thread_) return nullptr;
    if (width > width_ || height > height_) {
      Free();
      const int w = std::max(width, width_), h = std::max(height, height_);
      dc_.reset(CreateCompatibleDC(compatible));
      bitmap_.reset(CreateCompatibleBitmap(compatible, w, h));
      if (!dc_ || !bitmap_ || !(old_ = SelectObject(dc_.get(), bitmap_.get()))) {
        Free();
        return nullptr;
      }
      width_ = w;
      height_ = h;
    }
    busy_ = true;
    return dc_.get();
  }
  void GiveBack() { busy_ = false; }

 private:
  void Free() {
    if (old_) SelectObject(dc_.get(), old_);
    old_ = nullptr;
    bitmap_.reset();
    dc_.reset();
    width_ = height_ = 0;
  }

  unique_hdc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  int width_ = 0, height_ = 0;
  int windows_ = 0;
  DWORD thread_ = 0;
  bool busy_ = false;
};

SharedBackBuffer& Shared() {
  static SharedBackBuffer buffer;
  return buffer;
}

// The surface behind each window: a window property or the window's user data would cost the
// system a round trip to set, and a property another one each time it is read.
using Surfaces = WindowTable<SurfaceWindow*>;

// A window whose window rectangle is its client area has nothing outside the client to paint.
bool HasFrame(HWND hwnd) {
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

}  // namespace

SurfaceWindow* SurfaceWindow::FromHandle(HWND hwnd) {
  SurfaceWindow* const* found = Surfaces::Find(hwnd);
  return found ? *found : nullptr;
}

const wchar_t* SurfaceWindow::ClassName() {
  static const WNDCLASSEXW wc = [] {
    WNDCLASSEXW c{};
    c.cbSize = sizeof(c);
    c.style = CS_DBLCLKS;
    c.lpfnWndProc = &SurfaceWindow::StaticProc;
    c.hInstance = ThisModule();
    c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    c.lpszClassName = L"TesselSurface";
    return c;
  }();
  EnsureModuleClass(wc);
  return wc.lpszClassName;
}

SurfaceWindow::~SurfaceWindow() {
  Destroy();
  ReleaseImage();
}

void SurfaceWindow::Create(HWND parent, const RECT& pixels, DWORD style, DWORD exStyle, int id) {
  if (hwnd_) throw std::logic_error("surface window already created");
  // No name: an empty one would still cost the system a round trip to set.
  HWND hwnd = CreateWindowExW(exStyle, ClassName(), nullptr, style | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                              pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), this);
  if (!hwnd) throw std::runtime_error("the surface window could not be created");
  cues_.Inherit(parent);
  Created();
}

void SurfaceWindow::Destroy() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void SurfaceWindow::SetBackColor(OleColor color) {
  if (color == backColor_) return;
  backColor_ = color;
  Invalidate();
}

void SurfaceWindow::Paint(HDC dc) {
  try {
    PaintContent(dc);
  } catch (const std::exception& e) {
    ReportToDebugger(L"surface", L"paint the back colour and constituents", WideFromUtf8(e.what()));
  }
  {
    SaveDCGuard saved(dc);
    try {
      PaintOwn(dc);
    } catch (const std::exception& e) {
      // The owner's drawing failed part way: what was drawn stays, nothing escapes a paint.
      ReportToDebugger(L"surface", L"paint the owner's drawing", WideFromUtf8(e.what()));
    }
  }
  PaintAbove(dc);
}

void SurfaceWindow::PaintBuffered(HDC dc, const RECT& client) {
  RECT area = client;
  // Of a window larger than any screen side, only the part its DC can show is composed: a buffer
  // as large as the window would take a second and its memory would be kept for the next paint.
  if (area.right > kWholeImageSide || area.bottom > kWholeImageSide) {
    RECT shown{};
    const int kind = GetClipBox(dc, &shown);
    if (kind == NULLREGION) return;
    if (kind != ERROR && !IntersectRect(&area, &area, &shown)) return;
  }
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  // A window shown from its kept image alone is one block transfer: composing it in a buffer first
  // would copy every pixel twice.
  if (Constituents().empty() && ImageCovers(area)) {
    Paint(dc);
    return;
  }
  if (HDC shared = Shared().Borrow(dc, width, height)) {
    {
      SaveDCGuard clean(shared);  // the next paint finds the buffer's DC as this one did
      SetViewportOrgEx(shared, -area.left, -area.top, nullptr);
      Paint(shared);
    }
    BitBlt(dc, area.left, area.top, width, height, shared, 0, 0, SRCCOPY);
    Shared().GiveBack();
    return;
  }
  BackBuffer buffer(dc, width, height);
  if (!buffer.ok()) {
    Paint(dc);
    return;
  }
  SetViewportOrgEx(buffer.dc(), -area.left, -area.top, nullptr);
  Paint(buffer.dc());
  buffer.CopyTo(dc, area.left, area.top);
}

bool SurfaceWindow::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_HSCROLL:
    case WM_VSCROLL:
      child = reinterpret_cast<HWND>(lp);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    default:
      return false;
  }
  if (!child) return false;
  for (Constituent* c : Constituents()) {
    if (c->Windowed() && c->Window() == child) return c->OnReflected(msg, wp, lp, result);
  }
  return false;
}

LRESULT SurfaceWindow::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT cueResult = 0;
  bool cuesChanged = false;
  if (cues_.Handle(hwnd_, msg, wp, lp, cueResult, cuesChanged)) {
    if (cuesChanged) CuesChanged();
    return cueResult;
  }
  switch (msg) {
    case WM_NCPAINT:
      // Without a frame the system would take a device context only to draw nothing.
      if (!HasFrame(hwnd_)) return 0;
      break;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel from a back buffer
    case WM_PAINT: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      RemakeOutgrownImage(client);
      if (HasFrame(hwnd_)) {
        PaintDC paint(hwnd_);  // which paints the frame first
        if (paint.get()) PaintBuffered(paint.get(), client);
        return 0;
      }
      // The whole client comes from the back buffer, so the window's own DC serves: BeginPaint
      // would also hide and show a caret these windows never have, two more round trips to the
      // system for every paint. The window is marked painted once it is.
      {
        WindowDC dc(hwnd_);
        if (dc) PaintBuffered(dc.get(), client);
      }
      ValidateRect(hwnd_, nullptr);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == hwnd_ && LOWORD(lp) == HTCLIENT && RouteSetCursor()) return TRUE;
      break;
    case WM_CAPTURECHANGED:
      RouteMouse(msg, wp, lp);
      break;
    case WM_DESTROY:
      Destroying();
      ForgetAccessibleObject(hwnd_);
      break;
    case WM_GETOBJECT:
      // A placed control's window answers with the control's object; any other surface (a
      // picture box) is the system's plain client.
      if (const LRESULT object = AnswerAccessibleQuery(AccessibleKind::Control, hwnd_, wp, lp)) return object;
      break;
    default:
      if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) {
        if (RouteMouse(msg, wp, lp)) return 0;
        break;
      }
      LRESULT result = 0;
      if (Reflect(msg, wp, lp, result)) return result;
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK SurfaceWindow::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<SurfaceWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    Surfaces::Set(hwnd, self);
    self->hwnd_ = hwnd;
    Shared().AddWindow();
  }
  SurfaceWindow* self = FromHandle(hwnd);
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    Surfaces::Erase(hwnd);
    self->hwnd_ = nullptr;
    Shared().RemoveWindow();
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->WindowProc(msg, wp, lp);
  } catch (...) {
    // Nothing may unwind through the system's dispatch.
    ReportToDebugger(L"surface", L"window message", CurrentErrorText());
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace tessel
