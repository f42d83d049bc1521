#include "button/ButtonStyle.h"

#include "button/ButtonBuffer.h"
#include "button/ButtonPicture.h"
#include "button/ButtonShape.h"
#include "button/ButtonTools.h"
#include "button/CaptionLayout.h"
#include "button/DerivedColors.h"
#include "button/HighContrastLook.h"
#include "button/RendererTable.h"
#include "button/draw/ShiftColor.h"
#include "server/contract/Twips.h"

namespace tessel {

ButtonStyle::ButtonStyle(ControlSite& site)
    : UserControl(site), font_(Font::Create(FontDesc{})) {}

ButtonStyle::~ButtonStyle() {
  // A member that goes away leaves its group first, so no later walk can reach it.
  if (joinedGroup_) OptionGroup(-1);
  StopHoverTimer();
  ReleaseBackBuffer(s_);
}

ButtonPaint ButtonStyle::MakePaint(HDC target) {
  ButtonPaint p{s_};
  p.window = hWnd();
  p.target = target;
  RECT client{};
  if (p.window) GetClientRect(p.window, &client);
  p.width = client.right;
  p.height = client.bottom;
  p.enabled = UserControl::Enabled();
  p.foreColor = ForeColor();
  p.userMode = Ambient().userMode;
  p.host = &Host();
  return p;
}

float ButtonStyle::PixelX(float twips) const { return twips / static_cast<float>(TwipsPerPixelX()); }
float ButtonStyle::PixelY(float twips) const { return twips / static_cast<float>(TwipsPerPixelY()); }

void ButtonStyle::Inform(const std::wstring& text, const std::wstring& title) {
  if (!DesignTime()) return;
  Host().MessageBox(Site().ParentWindow(), text, title, MB_OK | MB_ICONINFORMATION);
}

void ButtonStyle::RefreshColors() { UpdateDerivedColors(s_); }
void ButtonStyle::RefreshPicture() { ReadPictureMetrics(s_); }
void ButtonStyle::RefreshCaptionFont() { UpdateCaptionFont(s_, Font()); }

void ButtonStyle::LayOut(bool rescalePicture) {
  ButtonPaint p = MakePaint();
  p.Step(L"caption layout", [&] { CaptionLayout(p, rescalePicture); });
}

void ButtonStyle::ResizeTo(ButtonPaint& p, int32_t width, int32_t height) {
  const ExtenderProperties& e = Extender();
  Site().Move(e.left, e.top, TwipsFromPixelsX(width), TwipsFromPixelsY(height));
  RECT client{};
  if (p.window) GetClientRect(p.window, &client);
  p.width = client.right;
  p.height = client.bottom;
}

void ButtonStyle::RebuildShape() {
  ButtonPaint p = MakePaint();
  p.Step(L"shape", [&] {
    BuildShape(
        p, [this](ButtonPaint& paint, int32_t w, int32_t h) { ResizeTo(paint, w, h); },
        [](ButtonPaint& paint) { PaintShapeFaceGradient(paint); });
  });
}

void ButtonStyle::HandleResize() {
  ButtonPaint p = MakePaint();
  DropBufferBitmap(s_);
  p.Step(L"back buffer", [&] { CreateBackBuffer(p, Font()); });
  if (s_.delayDrawing) return;
  RebuildShape();
  LayOut(false);
  Redraw();
}

void ButtonStyle::Resize() { HandleResize(); }

void ButtonStyle::Paint(HDC dc) {
  s_.delayDrawing = false;
  Redraw(dc);
}

void ButtonStyle::Redraw(HDC dc) {
  if (s_.delayDrawing || !s_.memDC) return;
  ButtonPaint p = MakePaint(dc);
  // A paint of a button larger than the screen that moved where its buffer shows too little: the
  // buffer is made again as a resize makes it.
  if (dc && RemakeOutgrownBuffer(p, Font())) {
    RebuildShape();
    LayOut(false);
  }
  BevelPoints points{};
  BevelColors colors{};
  int32_t faceState = 0;
  int16_t outcome = 0;
  const HighContrastLook look(p);
  if (const Renderer render = look.Choose())
    p.Step(L"render", [&] { render(p, points, colors, faceState, outcome); });
  const int32_t outlineColor = colors[12];
  if (outcome == 0) return;
  p.Step(L"copy", [&] { CopyBackBuffer(p); });
  if (outcome > 1) p.Step(L"outline", [&] { FrameOutline(p, outlineColor); });
  // The frame now stands on the window (or on the paint's DC, which the paint shows): nothing is
  // invalidated, so no paint comes back here.
  GdiFlush();
}

void ButtonStyle::FrameOutline(const ButtonPaint& p, int32_t color) {
  const bool pressedLook = s_.PressedLook();
  const bool rounded = s_.buttonStyle == bsRounded;
  HRGN chosen = nullptr;
  unique_hrgn copy;
  auto windowRegion = [&] {
    copy.reset(CreateRectRgn(0, 0, 0, 0));
    if (p.window && GetWindowRgn(p.window, copy.get()) != ERROR) chosen = copy.get();
  };
  switch (s_.buttonShape) {
    case shapeEllipse:
    case shapeEllipseAlt:
      if (rounded && !pressedLook) chosen = s_.regionB.get();
      break;
    case shapeEllipseFramed:
      if (rounded && !pressedLook) chosen = s_.regionB.get();
      else windowRegion();
      break;
    case shapeCustom:
    case shapeCustomShaded:
      if (s_.isHoverTracking && !pressedLook) {
        if (!rounded) color = s_.hoverFaceColor;
        if (color != ResolveColor(s_.backColor) || rounded) windowRegion();
      } else if (s_.Has(isDefault)) {
        chosen = s_.buttonShape == shapeCustomShaded ? s_.regionA.get() : s_.regionB.get();
        if (s_.value && !rounded) color = ShiftColor(s_.faceShadeColor, -32);
      }
      break;
    default:
      break;
  }
  if (!chosen) return;
  unique_hbrush brush(CreateSolidBrush(static_cast<COLORREF>(color)));
  if (p.target) {
    FrameRgn(p.target, chosen, brush.get(), 1, 1);
  } else if (p.window) {
    WindowDC dc(p.window);
    if (dc) FrameRgn(dc.get(), chosen, brush.get(), 1, 1);
  }
}

void ButtonStyle::AmbientChanged(std::wstring_view name) {
  if (SameKey(name, L"DisplayAsDefault")) {
    s_.Set(isDefault, Ambient().displayAsDefault && (s_.showFocusRect || DesignTime()));
    if (DesignTime() && s_.IsCustomShape()) {
      s_.isHoverTracking = s_.Has(isDefault);
      Redraw();
      s_.isHoverTracking = false;
    } else {
      Redraw();
    }
  } else if (SameKey(name, L"BackColor")) {
    s_.ambientBackColor = TranslateColor(Ambient().backColor);
    if (s_.buttonShape >= shapeEllipse || s_.buttonStyle == bsRing) Redraw();
  }
}

void ButtonStyle::SystemLookChanged() {
  // System colours are resolved again into the faces derived from them; the repaint that follows
  // renders the back buffer anew.
  s_.ambientBackColor = TranslateColor(Ambient().backColor);
  RefreshColors();
  // At another resolution the caption font has another height, and the caption another place.
  RefreshCaptionFont();
  LayOut(false);
}

void ButtonStyle::Show() {
  if (DesignTime() && Ambient().displayAsDefault && s_.showFocusRect) {
    s_.Set(isDefault, true);
    Redraw();
  }
}

void ButtonStyle::Terminate() {
  StopHoverTimer();
  s_.regionA.reset();
  s_.regionB.reset();
  ReleaseBackBuffer(s_);
  s_.pictureCache.reset();
  s_.iconImage.reset();
}

}  // namespace tessel
