// Printing a form: its client area and every visible child through the windows' own print paths.
#include <algorithm>

#include "host/Form.h"

namespace tessel {
namespace {

// Paints one window and then its visible children, bottom of the Z order first, each at its place
// relative to origin (where the window's client area lands in dc).
void PrintTree(HWND w, HDC dc, POINT origin) {
  SaveDCGuard saved(dc);
  SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  RECT client;
  GetClientRect(w, &client);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  HWND child = GetWindow(w, GW_CHILD);
  if (!child) return;
  for (child = GetWindow(child, GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
    if (!IsWindowVisible(child)) continue;
    RECT wr;
    GetWindowRect(child, &wr);
    POINT corner{wr.left, wr.top};
    ScreenToClient(w, &corner);
    POINT clientCorner{0, 0};
    ClientToScreen(child, &clientCorner);
    ScreenToClient(w, &clientCorner);
    if (clientCorner.x != corner.x || clientCorner.y != corner.y) {
      // A border: the window's own non-client paint at its window origin.
      SaveDCGuard frame(dc);
      SetViewportOrgEx(dc, origin.x + corner.x, origin.y + corner.y, nullptr);
      IntersectClipRect(dc, 0, 0, wr.right - wr.left, wr.bottom - wr.top);
      SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
    }
    PrintTree(child, dc, POINT{origin.x + clientCorner.x, origin.y + clientCorner.y});
  }
}

}  // namespace

void Form::RenderTo(HDC dc) const {
  if (!hwnd_) return;
  PrintTree(hwnd_, dc, POINT{0, 0});
}

unique_hbitmap Form::Snapshot() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = std::max<LONG>(r.right, 1);
  bi.bmiHeader.biHeight = -std::max<LONG>(r.bottom, 1);
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  unique_hbitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;
  unique_hdc dc(CreateCompatibleDC(nullptr));
  {
    SelectGuard select(dc.get(), bitmap.get());
    RenderTo(dc.get());
    GdiFlush();
  }
  return bitmap;
}

}  // namespace tessel
