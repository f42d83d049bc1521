#include "frames/FrameRegion.h"

namespace tessel::frames {

unique_hrgn PanelRegion(int w, int h, int radius) {
  unique_hrgn kept(CreateRectRgn(0, 0, w, h));
  unique_hrgn rounded(CreateRoundRectRgn(0, 0, w, h, radius, radius));
  if (!kept || !rounded || CombineRgn(kept.get(), kept.get(), rounded.get(), RGN_AND) == ERROR) return {};
  return kept;  // the rounded region that is not kept goes here
}

bool WindowHoldsRegion(HWND hwnd, HRGN region) {
  unique_hrgn current(CreateRectRgn(0, 0, 0, 0));
  return region && current && GetWindowRgn(hwnd, current.get()) != ERROR && EqualRgn(current.get(), region);
}

void SetWindowRegion(HWND hwnd, unique_hrgn region) {
  if (!region || WindowHoldsRegion(hwnd, region.get())) return;
  if (SetWindowRgn(hwnd, region.get(), TRUE)) region.release();
}

}  // namespace tessel::frames
