// The gallery window: a band per section of the table, and the screenshot mode the scripts use.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gallery/Gallery.h"
#include "server/contract/Gdi.h"

namespace tessel::gallery {

namespace {

// In pixels of a 96-dpi screen (Px).
constexpr int kWidth = 680;      // client width
constexpr int kMargin = 12;
constexpr int kTitle = 24;       // a group box's title, above its band
constexpr int kBandHeight = 120; // what a section gets before it says how much it needs

unique_hfont g_font;
std::vector<HWND> g_hoverTargets;
std::vector<unique_hbitmap> g_stills;  // pictures of the tips shown before the last one
std::vector<HWND> g_stillWindows;      // the windows that show them
std::function<void()> g_focus;
std::vector<std::unique_ptr<SectionArea>> g_areas;

void UseGuiFont(HWND window) { SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(g_font.get()), FALSE); }

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// Lays the sections out top to bottom, each in a group box titled with its name.
int BuildSections(HWND window, HINSTANCE instance) {
  const int width = Px(kWidth), margin = Px(kMargin), title = Px(kTitle);
  int y = margin;
  for (const Section& section : Sections()) {
    HWND box = CreateWindowExW(0, L"BUTTON", section.title, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, margin, y,
                               width - 2 * margin, Px(kBandHeight), window, nullptr, instance, nullptr);
    UseGuiFont(box);
    RECT inside{2 * margin, y + title, width - 2 * margin, y + title + Px(kBandHeight)};
    auto area = std::make_unique<SectionArea>(window, instance, inside);
    section.add(*area);
    const int height = area->Bounds().bottom - area->Bounds().top;
    SetWindowPos(box, nullptr, 0, 0, width - 2 * margin, height + title + margin, SWP_NOMOVE | SWP_NOZORDER);
    y += height + title + margin + margin;
    g_areas.push_back(std::move(area));
  }
  return y;
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}

BOOL CALLBACK RedrawOwnWindow(HWND window, LPARAM) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(window))
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

// In: a tip not to count (one kept already); out: a shown tip of this process.
BOOL CALLBACK FindShownTip(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  HWND& tip = *reinterpret_cast<HWND*>(found);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpiW(name, L"tooltips_class32") == 0 &&
      window != tip) {
    tip = window;
    return FALSE;
  }
  return TRUE;
}

// Rests the pointer on a part until a tip other than the one before shows; that tip, or null
// when none came.
HWND ShowHoverTip(HWND target, HWND before) {
  RECT r{};
  GetWindowRect(target, &r);
  SetCursorPos(r.left + 12, (r.top + r.bottom) / 2);
  PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(12, (r.bottom - r.top) / 2));
  for (int i = 0; i < 150; ++i) {
    PumpFor(20);
    HWND tip = before;
    EnumWindows(FindShownTip, reinterpret_cast<LPARAM>(&tip));
    if (tip != before) return tip;
  }
  return nullptr;
}

LRESULT CALLBACK StillProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r{};
    GetClientRect(window, &r);
    unique_hdc memory(CreateCompatibleDC(dc));
    if (memory) {
      SelectGuard select(memory.get(), reinterpret_cast<HBITMAP>(GetWindowLongPtrW(window, GWLP_USERDATA)));
      BitBlt(dc, 0, 0, r.right, r.bottom, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Keeps what the screen shows of a tip in a window of its own at the same place, so that the
// picture holds it after the pointer has moved on to the next part.
void KeepStill(HWND tip, HINSTANCE instance) {
  RECT r{};
  GetWindowRect(tip, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  WindowDC screen(nullptr);
  unique_hbitmap picture(CreateCompatibleBitmap(screen.get(), w, h));
  unique_hdc memory(CreateCompatibleDC(screen.get()));
  if (!picture || !memory) return;
  {
    SelectGuard select(memory.get(), picture.get());
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY | CAPTUREBLT);
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = StillProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"TesselGalleryStill";
  RegisterClassW(&wc);
  HWND still = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP,
                               r.left, r.top, w, h, nullptr, nullptr, instance, nullptr);
  if (!still) return;
  SetWindowLongPtrW(still, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture.get()));
  ShowWindow(still, SW_SHOWNOACTIVATE);
  g_stills.push_back(std::move(picture));
  g_stillWindows.push_back(still);
}

// Each chosen part in turn shows its tip; all but the last are kept as stills.
void ShowHoverTips(HINSTANCE instance) {
  HWND before = nullptr;
  for (size_t i = 0; i < g_hoverTargets.size(); ++i) {
    HWND tip = ShowHoverTip(g_hoverTargets[i], before);
    if (!tip || i + 1 == g_hoverTargets.size()) continue;
    PumpFor(300);  // the tip has faded in
    KeepStill(tip, instance);
    SendMessageW(tip, TTM_POP, 0, 0);  // the still stands in for it
    before = tip;
  }
}

int Run(HINSTANCE instance, const std::wstring& screenshot) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  g_font.reset(CreateFontIndirectW(&metrics.lfMessageFont));

  WNDCLASSW wc{};
  wc.lpfnWndProc = GalleryProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"TesselGallery";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"TesselOCX Gallery", WS_OVERLAPPEDWINDOW, 40, 40, Px(kWidth),
                                Px(400), nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  const int height = BuildSections(window, instance);
  RECT frame{0, 0, Px(kWidth), height};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  int result = 0;
  if (!screenshot.empty()) {
    LayOutForScreenshot(window);
    PumpFor(500);
    if (g_focus) g_focus();
    ShowHoverTips(instance);
    EnumWindows(RedrawOwnWindow, 0);
    PumpFor(300);
    result = SUCCEEDED(SaveScreenshot(screenshot)) ? 0 : 1;
    DestroyWindow(window);
  } else {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (IsWindow(window)) DestroyWindow(window);
  for (auto& area : g_areas)
    for (auto& cleanup : area->Cleanups()) cleanup();
  g_areas.clear();
  g_focus = nullptr;
  g_hoverTargets.clear();
  for (HWND still : g_stillWindows) DestroyWindow(still);
  g_stillWindows.clear();
  g_stills.clear();
  g_font.reset();
  return result;
}

}  // namespace

HWND SectionArea::AddText(const std::wstring& text, int x, int y, int width, int height) {
  HWND w = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, bounds_.left + Px(x),
                           bounds_.top + Px(y), Px(width), Px(height), window_, nullptr, instance_, nullptr);
  UseGuiFont(w);
  return w;
}

HWND SectionArea::AddButton(const std::wstring& text, int x, int y, int width, int height) {
  HWND w = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                           bounds_.left + Px(x), bounds_.top + Px(y), Px(width), Px(height), window_, nullptr,
                           instance_, nullptr);
  UseGuiFont(w);
  return w;
}

void HoverInScreenshot(HWND part) { g_hoverTargets.push_back(part); }

void FocusInScreenshot(std::function<void()> focus) { g_focus = std::move(focus); }

}  // namespace tessel::gallery

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::wstring screenshot;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    if (lstrcmpiW(argv[i], L"--screenshot") == 0 && i + 1 < argc) screenshot = argv[++i];
  }
  if (argv) LocalFree(argv);
  if (FAILED(OleInitialize(nullptr))) return 1;
  const int result = tessel::gallery::Run(instance, screenshot);
  OleUninitialize();
  return result;
}
