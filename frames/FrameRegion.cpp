#include "frames/FrameRegion.h"

namespace tessel::frames {

unique_hrgn PanelRegion(int w, int h, int radius) {
  unique_hrgn kept(CreateRectRgn(0, 0, w, h));
  unique_hrgn rounded(CreateRoundRectRgn(0, 0, w, h, radius, radius));
  if (!kept || !rounded || CombineRgn(kept.get(), kept.get(), rounded.get(), RGN_AND) == ERROR) return {};
  return kept;  // the rounded region that is not kept goes here
}

void ApplyWindowRegion(HWND hwnd, WindowRegion& held, const WindowRegion& wanted) {
  if (wanted == held || (held.kind == WindowRegion::kNone && wanted.kind == WindowRegion::kRectangle)) return;
  unique_hrgn region = wanted.kind == WindowRegion::kPanel
                           ? PanelRegion(wanted.width, wanted.height, wanted.radius)
                           : unique_hrgn(CreateRectRgn(0, 0, wanted.width, wanted.height));
  if (!region || !SetWindowRgn(hwnd, region.get(), TRUE)) return;
  region.release();  // the window owns it now
  held = wanted;
}

}  // namespace tessel::frames
