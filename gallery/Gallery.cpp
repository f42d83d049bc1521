// The gallery window: a band per section of the table, and the screenshot mode the scripts use.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "gallery/Gallery.h"
#include "server/contract/Gdi.h"

namespace tessel::gallery {

namespace {

constexpr int kWidth = 680;      // client width
constexpr int kMargin = 12;
constexpr int kBandHeight = 120; // what a section gets before it says how much it needs

unique_hfont g_font;
HWND g_hoverTarget = nullptr;
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
  int y = kMargin;
  for (const Section& section : Sections()) {
    HWND box = CreateWindowExW(0, L"BUTTON", section.title, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, kMargin, y,
                               kWidth - 2 * kMargin, kBandHeight, window, nullptr, instance, nullptr);
    UseGuiFont(box);
    RECT inside{2 * kMargin, y + 24, kWidth - 2 * kMargin, y + 24 + kBandHeight};
    auto area = std::make_unique<SectionArea>(window, instance, inside);
    section.add(*area);
    const int height = area->Bounds().bottom - area->Bounds().top;
    SetWindowPos(box, nullptr, 0, 0, kWidth - 2 * kMargin, height + 24 + kMargin, SWP_NOMOVE | SWP_NOZORDER);
    y += height + 24 + kMargin + kMargin;
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

BOOL CALLBACK FindShownTip(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpiW(name, L"tooltips_class32") == 0) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

// Rests the pointer on the chosen part until its tip shows, so that the picture has one.
void ShowHoverTip() {
  if (!g_hoverTarget) return;
  RECT r{};
  GetWindowRect(g_hoverTarget, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  POINT inside{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
  PostMessageW(g_hoverTarget, WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
  for (int i = 0; i < 150; ++i) {
    PumpFor(20);
    bool shown = false;
    EnumWindows(FindShownTip, reinterpret_cast<LPARAM>(&shown));
    if (shown) break;
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
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"TesselOCX Gallery", WS_OVERLAPPEDWINDOW, 40, 40, kWidth, 400,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  const int height = BuildSections(window, instance);
  RECT frame{0, 0, kWidth, height};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  int result = 0;
  if (!screenshot.empty()) {
    LayOutForScreenshot(window);
    PumpFor(500);
    ShowHoverTip();
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
  g_font.reset();
  return result;
}

}  // namespace

HWND SectionArea::AddText(const std::wstring& text, int x, int y, int width, int height) {
  HWND w = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, bounds_.left + x,
                           bounds_.top + y, width, height, window_, nullptr, instance_, nullptr);
  UseGuiFont(w);
  return w;
}

HWND SectionArea::AddButton(const std::wstring& text, int x, int y, int width, int height) {
  HWND w = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                           bounds_.left + x, bounds_.top + y, width, height, window_, nullptr, instance_, nullptr);
  UseGuiFont(w);
  return w;
}

void HoverInScreenshot(HWND part) { g_hoverTarget = part; }

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
