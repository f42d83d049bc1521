#pragma once
// A visible top-level window with a surface window in it, printed into a 32-bpp DIB, for the
// host's tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "host/SurfaceWindow.h"
#include "host/constituents/Shape.h"
#include "tests/support/EventLog.h"
#include "tests/support/GdiCount.h"
#include "tests/support/Leaks.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"

namespace tessel::hosttest {

using Dib = test::Canvas;
using test::EventLog;
using test::ExpectPixels;
using test::Pixel;
using test::Pump;
using test::PumpUntil;

constexpr COLORREF kNavy = RGB(0, 0, 128);  // the surface's back colour
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kMagenta = RGB(255, 0, 255);

// Paints a window's client area through WM_PRINTCLIENT into a new DIB.
std::unique_ptr<Dib> Print(HWND hwnd, int width, int height);

// Twips of n pixels at the screen's resolution.
int Tw(int pixels);

// A rectangle's edges, to compare in one expectation.
inline std::tuple<LONG, LONG, LONG, LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
// An opaque, borderless shape of one colour, placed in pixels.
std::unique_ptr<Shape> Block(Surface& on, const wchar_t* name, RECT pixels, COLORREF color);
// Where a child window stands in its parent's client area, in pixels.
RECT PlacedIn(HWND child, HWND parent);

// The host: a popup window at the top left of the screen holding a 320 x 240 surface window.
class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<Dib> Paint() { return Print(surface_.hWnd(), 320, 240); }

  HWND top_ = nullptr;
  SurfaceWindow surface_;
};

}  // namespace tessel::hosttest
