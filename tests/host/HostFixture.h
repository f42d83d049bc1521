#pragma once
// A visible top-level window with a surface window in it, printed into a 32-bpp DIB, for the
// host's tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/SurfaceWindow.h"
#include "tests/support/GdiCount.h"
#include "tests/support/Leaks.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"

namespace tessel::hosttest {

using Dib = test::Canvas;
using test::ExpectPixels;
using test::Pixel;

// Paints a window's client area through WM_PRINTCLIENT into a new DIB.
std::unique_ptr<Dib> Print(HWND hwnd, int width, int height);

// Dispatches messages until done() or the time runs out; true when done() held.
using test::Pump;
using test::PumpUntil;

// Twips of n pixels at the screen's resolution.
int Tw(int pixels);

// The host: a popup window at the top left of the screen holding a 320 x 240 surface window.
class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<Dib> Paint() { return Print(surface_.hWnd(), 320, 240); }
  // The program's one visible top-level window, which the surface stands on.
  static HWND Host();

  HWND top_ = nullptr;
  SurfaceWindow surface_;
};

// Events recorded as text, compared with an expected list.
struct Recorder {
  std::vector<std::string> lines;
  void operator()(std::string line) { lines.push_back(std::move(line)); }
};

}  // namespace tessel::hosttest
