// The frame's one drawing path: clear the persistent image, measure the caption, choose the
// palette, draw the style, give the window its region, then place and draw the caption and the icon.
// Each step that fails is skipped and reported; nothing escapes a drawing.
#include <stdexcept>

#include "frames/DisabledPicture.h"
#include "frames/FrameCaption.h"
#include "frames/FrameRegion.h"
#include "frames/FrameStyles.h"
#include "frames/FrameThemes.h"
#include "frames/TzFrames.h"
#include "server/contract/WrappedText.h"
#include "server/contract/Gdi.h"
#include "server/contract/IconImage.h"
#include "server/contract/ScaledPixels.h"
#include "server/contract/Surface.h"

namespace tessel {

using namespace frames;

namespace {

constexpr OleColor kSysGrayText = 0x80000011;

int16_t Checked16(int value) {
  if (value < INT16_MIN || value > INT16_MAX) throw std::overflow_error("icon position overflows 16 bits");
  return static_cast<int16_t>(value);
}

// Moves the caption rectangle aside for the icon and says where the icon's left edge is.
int LayOutIcon(const FrameProperties& p, StyleFrame& f) {
  const bool centred = p.alignment != alignLeft && p.alignment != alignRight;
  const int room = f.iconSide + kMargin;
  if (p.iconAlignment == iconLeft) {
    f.caption.left += room;
    if (centred) f.caption.right -= room;
    return Checked16(p.style == fsTextBox ? 2 * kMargin + kHeaderInset : kMargin);
  }
  if (p.iconAlignment == iconRight) {
    f.caption.right -= room;
    if (centred) f.caption.left += room;
    return Checked16(p.style == fsTextBox ? f.W - 2 * kMargin - f.iconSide - kHeaderInset
                                          : f.W - kMargin - f.iconSide);
  }
  return f.iconX;
}

int IconTop(int32_t style, int y) {
  if (style == fsGradientBox) return y < 2 * kCornerInset + 2 ? 2 * kCornerInset + 2 : y;
  if (style == fsHeader) return y < kCornerInset + 2 ? kCornerInset + 2 : y;
  return y < 0 ? RoundEven(kMargin / 2.0) : y;
}

}  // namespace

void TzFrames::Redraw() {
  Surface& s = OwnSurface();
  const HWND hwnd = s.hWnd();
  RECT client{};
  if (!sized_ || !hwnd || !GetClientRect(hwnd, &client) || client.right <= 0 || client.bottom <= 0) return;
  const int W = client.right, H = client.bottom;

  const HDC dc = s.DrawingDC();
  if (!dc) {
    ReportSkippedStep(L"Redraw", "the window keeps no image to draw in");
    return;
  }
  Step(L"Cls", [&] { s.Cls(); });
  Step(L"MeasureCaption", [&] {
    if (p_.caption.empty()) {
      text_.halfHeight = 0;
      return;
    }
    text_.width = s.TextWidth(p_.caption);
    text_.height = s.TextHeight(p_.caption);
    text_.halfHeight = RoundEven(text_.height / 2.0);
  });
  current_ = CurrentPalette(p_, theme_, disabled_);

  DrawTarget canvas{s, dc};
  const int iconSide = PixelsForScreen(p_.iconSize);
  StyleFrame f{p_, current_, W, H, text_, PixelsForScreen(p_.textBoxHeight), iconSide};
  const StyleRoutine routine = StyleRoutineFor(p_.style);
  if (routine) Step(L"DrawStyle", [&] { routine(canvas, f); });
  Step(L"ResetRegion", [&] {
    // The panel is clipped to its rounded rectangle; every other style shows the whole window.
    const WindowRegion wanted = p_.style == fsPanel
                                    ? WindowRegion{WindowRegion::kPanel, W, H, PanelRadius(p_)}
                                    : WindowRegion{WindowRegion::kRectangle, W, H, 0};
    ApplyWindowRegion(hwnd, region_, wanted);
  });

  int iconX = f.iconX;
  const bool icon = p_.picture && p_.style != fsWindows;
  if (icon) Step(L"LayOutIcon", [&] { iconX = LayOutIcon(p_, f); });

  if (!p_.caption.empty()) {
    Step(L"DrawCaption", [&] {
      s.SetForeColor(p_.enabled ? static_cast<OleColor>(p_.textColor) : kSysGrayText);
      RECT r = f.caption;
      if (p_.style != fsPanel) {
        std::wstring text = FitCaption(p_.caption, r.right - r.left, [&](std::wstring_view t) { return s.TextWidth(t); });
        DrawTextExW(dc, text.data(), static_cast<int>(text.size()), &r, textFlags_, nullptr);
        return;
      }
      // The panel wraps the whole caption and centres the block in its rectangle; of a caption far
      // taller than the rectangle, the start that reaches past it.
      const WrappedText shown = MeasureWrappedText(dc, p_.caption, r, DT_WORDBREAK, r.bottom - r.top);
      RECT block = shown.rect;
      OffsetRect(&block, (r.right - block.right) / 2, (r.bottom - block.bottom) / 2);
      std::wstring text = p_.caption.substr(0, shown.length);
      DrawTextExW(dc, text.data(), static_cast<int>(text.size()), &block, textFlags_, nullptr);
    });
  }

  if (icon && p_.style != fsTab && p_.style != fsBlock) {
    Step(L"DrawIcon", [&] {
      const int y = Checked16(IconTop(p_.style, f.iconY));
      // An icon file with several images shows the one the system chooses for the icon's side.
      if (iconImageOf_.lock() != p_.picture || iconImageSide_ != iconSide) {
        iconImageOf_ = p_.picture;
        iconImageSide_ = iconSide;
        iconImage_ = IconImageFor(*p_.picture, iconSide);
      }
      if (p_.enabled && iconImage_)
        DrawIconEx(dc, iconX, y, iconImage_.get(), iconSide, iconSide, 0, nullptr, DI_NORMAL);
      else if (p_.enabled)
        s.PaintPicture(*p_.picture, iconX, y, iconSide, iconSide);
      else
        DrawDisabledPicture(dc, iconX, y, iconSide, iconSide, *p_.picture, 0);
    });
  }
  s.Invalidate();
}

}  // namespace tessel
