#include "tests/host/HostFixture.h"

#include "server/contract/Twips.h"

namespace tessel::hosttest {

Dib::Dib(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint32_t*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
  const uint32_t value = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
  for (int i = 0; i < width * height; ++i) bits_[i] = value;
}

Dib::~Dib() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

COLORREF Dib::At(int x, int y) const {
  GdiFlush();
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const uint32_t v = bits_[y * width_ + x];
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int Dib::Count(COLORREF color, int left, int top, int right, int bottom) const {
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (At(x, y) == color) ++n;
  return n;
}

std::unique_ptr<Dib> Print(HWND hwnd, int width, int height) {
  auto dib = std::make_unique<Dib>(width, height);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib->dc()), PRF_CLIENT);
  return dib;
}

unsigned GdiObjects() {
  GdiFlush();
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  // Wine answers 0 above; it accepts a handle given by its table index alone.
  unsigned n = 0;
  for (ULONG_PTR index = 0x20; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++n;
  return n;
}

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<unsigned*>(count);
  return TRUE;
}

BOOL CALLBACK CountTop(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<unsigned*>(count);
  EnumChildWindows(hwnd, CountChild, count);
  return TRUE;
}

}  // namespace

unsigned ThreadWindows() {
  unsigned n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountTop, reinterpret_cast<LPARAM>(&n));
  const DWORD me = GetCurrentThreadId();
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
    if (GetWindowThreadProcessId(w, nullptr) == me) ++n;
  return n;
}

int Tw(int pixels) { return TwipsFromPixelsX(pixels); }

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

HWND SurfaceTest::Host() { return HostWindow(); }

void SurfaceTest::SetUp() {
  if (TwipsPerPixelX() != 15 || TwipsPerPixelY() != 15) GTEST_SKIP() << "the pixel coordinates assume 96 dpi";
  top_ = HostWindow();
  ASSERT_NE(top_, nullptr) << "no display";
  SetForegroundWindow(top_);
  surface_.Create(top_, RECT{0, 0, 320, 240});
  surface_.SetBackColor(RGB(0, 0, 128));
  Pump(10);
}

void SurfaceTest::TearDown() {
  surface_.Destroy();
  Pump(10);
}

}  // namespace tessel::hosttest
