#pragma once
// The host's fixtures: a surface window on a visible top-level window, and forms of recorders.
#include "tests/support/Prelude.h"

#include "host/Form.h"
#include "host/SurfaceWindow.h"
#include "host/constituents/Image.h"
#include "host/constituents/Label.h"
#include "host/constituents/Line.h"
#include "host/constituents/PictureBox.h"
#include "host/constituents/Shape.h"
#include "host/constituents/TextBox.h"
#include "host/constituents/Timer.h"
#include "server/contract/Gdi.h"
#include "server/contract/Twips.h"
#include "tests/host/Recorder.h"
#include "tests/support/Bags.h"
#include "tests/support/EventLog.h"
#include "tests/support/GdiCount.h"
#include "tests/support/HostPlacement.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Keys.h"
#include "tests/support/Leaks.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"
#include "tests/support/RecordingHost.h"

namespace tessel::hosttest {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Dib = test::Canvas;
using test::Edges;
using test::EventLog;
using test::ExpectPixels;
using test::Pixel;
using test::PlacedIn;
using test::Pump;
using test::PumpUntil;
using test::Recorder;

constexpr COLORREF kNavy = RGB(0, 0, 128);  // the surface's back colour
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kMagenta = RGB(255, 0, 255);

inline std::unique_ptr<Dib> Print(HWND hwnd, int width, int height) {
  auto dib = std::make_unique<Dib>(width, height, RGB(1, 2, 3));
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib->dc()), PRF_CLIENT);
  return dib;
}
inline int Tw(int pixels) { return TwipsFromPixelsX(pixels); }
// A constituent on a surface, placed in pixels.
template <class C>
std::unique_ptr<C> Made(Surface& on, const wchar_t* name, RECT pixels) {
  auto made = std::make_unique<C>(on, name);
  made->Move(Tw(pixels.left), Tw(pixels.top), Tw(pixels.right - pixels.left), Tw(pixels.bottom - pixels.top));
  return made;
}
// An opaque, borderless shape of one colour, placed in pixels.
inline std::unique_ptr<Shape> Block(Surface& on, const wchar_t* name, RECT pixels, COLORREF color) {
  auto shape = Made<Shape>(on, name, pixels);
  shape->SetBackStyle(1);
  shape->SetBackColor(color);
  shape->SetBorderStyle(0);
  return shape;
}

// A 320 x 240 surface window on a popup at the screen's top left that lives as long as the program: under
// Wine without a window manager, hiding or destroying a visible top-level window waits two seconds.
class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (TwipsPerPixelX() != 15 || TwipsPerPixelY() != 15) GTEST_SKIP() << "the pixel coordinates assume 96 dpi";
    static const HWND top = CreateWindowExW(0, L"STATIC", L"host test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400,
                                            300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    top_ = top;
    ASSERT_NE(top_, nullptr) << "no display";
    SetForegroundWindow(top_);
    surface_.Create(top_, RECT{0, 0, 320, 240});
    surface_.SetBackColor(kNavy);
    Pump(10);
  }
  // After a fixture's own constituents have gone.
  ~SurfaceTest() override {
    surface_.Destroy();
    Pump(10);
  }
  std::unique_ptr<Dib> Paint() { return Print(surface_.hWnd(), 320, 240); }

  HWND top_ = nullptr;
  SurfaceWindow surface_;
  EventLog log_;
};

// Forms of recorder controls (tests/host/Recorder.h) that log every handler into log.
class FormTest : public ::testing::Test {
 protected:
  std::unique_ptr<Form> NewForm(bool userMode = true) { return Form::Create(L"Test form", 6000, 4500, userMode, &types); }
  // Takes what was logged so far and starts a new step.
  std::vector<std::wstring> Take() { return std::exchange(log, {}); }
  // Places controls {type, name} on form one under another, 1500 x 450 twips, 600 apart.
  static void Place(Form& form, std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> controls) {
    int top = 0;
    for (const auto& [type, name] : controls) form.Add(type, name, 0, std::exchange(top, top + 600), 1500, 450);
  }

  std::vector<std::wstring> log;
  ControlTypes types = test::RecorderTypes(log);
};

}  // namespace tessel::hosttest
