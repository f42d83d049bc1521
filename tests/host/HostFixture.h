#pragma once
// A visible top-level window with a surface window in it, a 32-bpp DIB to paint surfaces into,
// a bounded message pump and object counters for the host's tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/SurfaceWindow.h"
#include "tests/support/MessagePump.h"

namespace tessel::hosttest {

// A top-down 32-bpp DIB section selected into a memory DC of its own.
class Dib {
 public:
  Dib(int width, int height, COLORREF fill = RGB(1, 2, 3));
  ~Dib();
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const;  // 0x00BBGGRR like GetPixel
  // Pixels of one colour inside [left, right) x [top, bottom).
  int Count(COLORREF color, int left, int top, int right, int bottom) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// Paints a window's client area through WM_PRINTCLIENT into a new DIB.
std::unique_ptr<Dib> Print(HWND hwnd, int width, int height);

// Dispatches messages until done() or the time runs out; true when done() held.
using test::Pump;
using test::PumpUntil;

// Objects of the process: GDI objects, and windows of this thread (top-level, child, message-only).
unsigned GdiObjects();
unsigned ThreadWindows();

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
