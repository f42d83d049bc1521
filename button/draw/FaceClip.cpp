#include "button/draw/FaceClip.h"

#include "button/ButtonTools.h"
#include "button/CustomClick.h"
#include "button/draw/Gradient.h"
#include "server/contract/Gdi.h"

namespace tessel {
namespace {

void ClipTo(HDC dc, const unique_hrgn& region) { SelectClipRgn(dc, region.get()); }

// Frames the control's window region in the back buffer, one pixel wide and high.
void FrameWindowRegion(ButtonPaint& paint, int32_t rgb) {
  if (!paint.window) return;
  unique_hrgn region(CreateRectRgn(0, 0, 0, 0));
  if (!region || GetWindowRgn(paint.window, region.get()) == ERROR) return;
  unique_hbrush brush(CreateSolidBrush(static_cast<COLORREF>(rgb)));
  if (brush) FrameRgn(paint.memDC(), region.get(), brush.get(), 1, 1);
}

}  // namespace

void PrepareFaceClip(ButtonPaint& paint, int16_t& outcome) {
  ButtonState& s = paint.state;
  bool moved = false;
  ApplyCustomClick(paint, moved);
  if (moved) {
    outcome = kClipNothing;  // the move brings a paint of its own
    return;
  }
  outcome = kClipPlain;
  HDC dc = paint.memDC();
  const bool pressedLook = s.PressedLook();
  const int shape = s.buttonShape;
  const bool framedOrCustom = shape == shapeEllipseFramed || shape == shapeCustom;

  if (s.buttonStyle == bsRing && !s.isHoverTracking && !pressedLook && !s.value) {
    SelectClipRgn(dc, nullptr);  // the ring style at rest: no ring, no clip
    return;
  }
  // The rings are painted top to bottom whatever gradient the button itself has. A ring is only
  // seen where the face that follows is clipped away from it: with no face region (the straight
  // shapes) a face that covers every pixel paints it over entirely, so it is not painted at all.
  const int W = paint.W(), H = paint.H();
  const bool ringStyle = s.buttonStyle == bsRing && (s.value || !framedOrCustom);
  const bool sunken = (pressedLook || s.value) && !framedOrCustom;
  const bool framed = framedOrCustom && (shape == shapeCustom || s.isHoverTracking);
  HRGN faceRegion = nullptr;  // the clip the face is painted in
  if (sunken)
    faceRegion = s.regionA.get();
  else if (!framedOrCustom || framed)
    faceRegion = s.regionB.get();
  else if (ringStyle)
    faceRegion = s.regionA.get();
  // Only a gradient face can leave pixels unpainted (the odd last band).
  const bool faceCoversAll = s.gradientMode == gradNone || s.value || shape >= shapeCustom;
  const bool ringsShow = faceRegion || !faceCoversAll;
  SelectClipRgn(dc, nullptr);
  if (ringStyle) {
    if (ringsShow) DrawGradient(dc, gradTopBottom, W, H, 0xFFFFFF, 0x808080);
    ClipTo(dc, s.regionA);
    outcome = kClipRing;
  }
  if (sunken) {
    ClipTo(dc, s.regionB);
    if (ringsShow) DrawGradient(dc, gradTopBottom, W, H, 0x808080, 0xFFFFFF);
    ClipTo(dc, s.regionA);
    outcome = kClipRing;
  } else if (!framedOrCustom) {
    ClipTo(dc, s.regionB);
    outcome = kClipFace;
  } else if (framed) {
    FrameWindowRegion(paint, shape == shapeEllipseFramed ? 0 : ResolveColor(s.backColor));
    ClipTo(dc, s.regionB);
    outcome = kClipFace;
  }
}

}  // namespace tessel
