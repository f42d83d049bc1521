#include "tests/host/HostFixture.h"

#include "server/contract/Twips.h"

namespace tessel::hosttest {

std::unique_ptr<Dib> Print(HWND hwnd, int width, int height) {
  auto dib = std::make_unique<Dib>(width, height, RGB(1, 2, 3));
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib->dc()), PRF_CLIENT);
  return dib;
}

int Tw(int pixels) { return TwipsFromPixelsX(pixels); }

std::unique_ptr<Shape> Block(Surface& on, const wchar_t* name, RECT pixels, COLORREF color) {
  auto shape = std::make_unique<Shape>(on, name);
  shape->Move(Tw(pixels.left), Tw(pixels.top), Tw(pixels.right - pixels.left), Tw(pixels.bottom - pixels.top));
  shape->SetBackStyle(1);
  shape->SetBackColor(color);
  shape->SetBorderStyle(0);
  return shape;
}

RECT PlacedIn(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

namespace {

// One visible top-level window for the whole program. Hiding or destroying a visible top-level
// window under Wine without a window manager waits two seconds for the X server, so it is left
// to the end of the process.
HWND HostWindow() {
  static HWND top = [] {
    static const wchar_t kHost[] = L"TesselHostTestTop";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kHost;
    RegisterClassExW(&wc);
    return CreateWindowExW(0, kHost, L"host test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  }();
  return top;
}

}  // namespace

void SurfaceTest::SetUp() {
  if (TwipsPerPixelX() != 15 || TwipsPerPixelY() != 15) GTEST_SKIP() << "the pixel coordinates assume 96 dpi";
  top_ = HostWindow();
  ASSERT_NE(top_, nullptr) << "no display";
  SetForegroundWindow(top_);
  surface_.Create(top_, RECT{0, 0, 320, 240});
  surface_.SetBackColor(kNavy);
  Pump(10);
}

void SurfaceTest::TearDown() {
  surface_.Destroy();
  Pump(10);
}

}  // namespace tessel::hosttest
