#include "host/WindowPrint.h"

#include "server/contract/Gdi.h"

namespace tessel {

void PrintWindowTree(HWND w, HDC dc, POINT origin, bool asIfShown) {
  SaveDCGuard saved(dc);
  SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  RECT client;
  GetClientRect(w, &client);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  HWND child = GetWindow(w, GW_CHILD);
  if (!child) return;
  for (child = GetWindow(child, GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
    const bool shown = asIfShown ? (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0 : IsWindowVisible(child);
    if (!shown) continue;
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
    PrintWindowTree(child, dc, POINT{origin.x + clientCorner.x, origin.y + clientCorner.y}, asIfShown);
  }
}

}  // namespace tessel
