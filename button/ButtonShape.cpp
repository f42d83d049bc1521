#include "button/ButtonShape.h"

#include "button/ButtonPicture.h"
#include "button/ButtonTools.h"

namespace tessel {
namespace {

enum CutSide : unsigned { cutLeft = 1, cutRight = 2 };

void Subtract(HRGN outline, unique_hrgn cut) {
  if (cut) CombineRgn(outline, outline, cut.get(), RGN_DIFF);
}

unique_hrgn Pixel(int x, int y) { return unique_hrgn(CreateRectRgn(x, y, x + 1, y + 1)); }

unique_hrgn Triangle(POINT a, POINT b, POINT c) {
  const POINT pts[3] = {a, b, c};
  return unique_hrgn(CreatePolygonRgn(pts, 3, WINDING));
}

// The corners a style takes off the straight sides of the rectangular and slanted shapes.
void ApplyCornerCuts(const ButtonPaint& p, HRGN outline, unsigned sides) {
  const int W = p.W(), H = p.H();
  const bool left = (sides & cutLeft) != 0, right = (sides & cutRight) != 0;
  switch (p.state.buttonStyle) {
    case bsSoft:
      if (left) {
        Subtract(outline, Pixel(0, 0));
        Subtract(outline, Pixel(0, H - 1));
      }
      if (right) {
        Subtract(outline, Pixel(W - 1, 0));
        Subtract(outline, Pixel(W - 1, H - 1));
      }
      break;
    case bsPastel:
      if (!p.enabled) break;
      if (left) Subtract(outline, Pixel(0, H - 1));
      if (right) Subtract(outline, Pixel(W - 1, 0));
      break;
    case bsRounded:
    case bsGlossy:
      if (left) {
        Subtract(outline, Triangle({0, 0}, {2, 0}, {0, 2}));
        Subtract(outline, Triangle({0, H}, {3, H}, {0, H - 3}));
      }
      if (right) {
        Subtract(outline, Triangle({W, 0}, {W - 2, 0}, {W, 2}));
        Subtract(outline, Triangle({W, H}, {W - 3, H}, {W, H - 3}));
      }
      break;
    default:
      break;
  }
}

bool CoversWindow(HRGN region, int width, int height) {
  RECT box{};
  return GetRgnBox(region, &box) == SIMPLEREGION && box.left <= 0 && box.top <= 0 && box.right >= width &&
         box.bottom >= height;
}

void Frame(HDC dc, HRGN region, COLORREF color) {
  unique_hbrush brush(CreateSolidBrush(color));
  FrameRgn(dc, region, brush.get(), 1, 1);
}

}  // namespace

void BuildShape(ButtonPaint& p, const ShapeResize& resize, const ShapeFaceGradient& faceGradient) {
  ButtonState& s = p.state;
  HDC mem = s.memDC.get();
  s.faceLeft = 0;
  s.faceRight = p.W();
  if (mem) SelectClipRgn(mem, nullptr);
  s.regionA.reset();
  s.regionB.reset();

  unique_hrgn outline;
  switch (s.buttonShape) {
    case shapeRectangle:
      outline.reset(CreateRectRgn(0, 0, RoundEven(p.width + 1), RoundEven(p.height + 1)));
      ApplyCornerCuts(p, outline.get(), cutLeft | cutRight);
      break;
    case shapeSlantLeft:
    case shapeSlantRight:
    case shapeSlantBoth: {
      const double half = (p.height + 1) / 2;
      const int32_t d = RoundEven(2 * half);
      int32_t w = p.W();
      while (w - d < 5) w += 5;
      if (w != p.width) {
        // Too narrow for the slant: the control grows.
        s.delayDrawing = true;
        resize(p, w, p.H());
        s.faceRight = p.W();
        s.delayDrawing = false;
      }
      const int32_t e = RoundEven(p.width - d);
      POINT pts[4] = {{0, 0}, {0, RoundEven(p.height + 1)}, {RoundEven(p.width + 1), RoundEven(p.height + 1)},
                      {RoundEven(p.width + 1), 0}};
      if (s.buttonShape != shapeSlantRight) {
        pts[1].x = d;
        s.faceLeft = d;
      }
      if (s.buttonShape != shapeSlantLeft) {
        pts[3].x = e + 1;
        s.faceRight = e;
      }
      outline.reset(CreatePolygonRgn(pts, 4, WINDING));
      if (s.buttonShape == shapeSlantRight) ApplyCornerCuts(p, outline.get(), cutLeft);
      if (s.buttonShape == shapeSlantLeft) ApplyCornerCuts(p, outline.get(), cutRight);
      break;
    }
    case shapeEllipse:
    case shapeEllipseAlt:
    case shapeEllipseFramed:
      outline.reset(CreateEllipticRgn(0, 0, p.W(), p.H()));
      if (s.buttonStyle != bsRing && mem) {
        if (s.buttonShape == shapeEllipseFramed) Frame(mem, outline.get(), RGB(0, 0, 0));
        else if (faceGradient) faceGradient(p);
      }
      s.regionB.reset(CreateEllipticRgn(1, 1, RoundEven(p.width - 1), RoundEven(p.height - 1)));
      s.regionA.reset(CreateEllipticRgn(2, 2, RoundEven(p.width - 2), RoundEven(p.height - 2)));
      break;
    case shapeCustom:
    case shapeCustomShaded: {
      if (s.pictureWidth == 0 || s.pictureHeight == 0) return;  // the window keeps its region
      // What is built up to a failure stays in place.
      p.Step(L"custom shape", [&] {
        s.delayDrawing = true;
        int32_t fw = 0, fh = 0;
        FitPictureSize(s, p.W(), p.H(), fw, fh);
        resize(p, fw, fh);
        s.faceRight = p.W();
        s.delayDrawing = false;
        outline.reset(CreateRectRgn(0, 0, p.W(), p.H()));
        BuildPictureCache(p, p.W(), p.H(), outline.get());
        if (mem) {
          if (s.buttonShape == shapeCustomShaded) {
            if (faceGradient) faceGradient(p);
          } else {
            Frame(mem, outline.get(), static_cast<COLORREF>(ResolveColor(s.backColor)));
          }
          if (s.regionB) SelectClipRgn(mem, s.regionB.get());
        }
      });
      s.delayDrawing = false;
      break;
    }
    default:
      break;
  }
  // An outline of the whole window shows what a window without a region shows: it is given only
  // to replace a region the window holds, and setting one repaints the window and its parent.
  if (outline && p.window && (s.windowShaped || !CoversWindow(outline.get(), p.W(), p.H())) &&
      SetWindowRgn(p.window, outline.get(), TRUE)) {
    outline.release();  // the window owns it now
    s.windowShaped = true;
  }
  if (s.faceRight == 0) s.faceRight = p.W();
}

}  // namespace tessel
