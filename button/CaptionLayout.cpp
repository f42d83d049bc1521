#include "button/CaptionLayout.h"

#include <algorithm>

#include "button/ButtonPicture.h"
#include "button/ButtonTools.h"
#include "server/contract/ScaledPixels.h"
#include "server/contract/WrappedText.h"

namespace tessel {

std::wstring CaptionText(const std::wstring& caption) {
  std::wstring out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'|' && i + 1 < caption.size() && caption[i + 1] == L'|') {
      out += L"\r\n";
      ++i;
    } else {
      out += caption[i];
    }
  }
  return out;
}

CaptionBand CaptionBandOf(const ButtonState& s, double width) {
  const int32_t w = RoundEven(width);
  const int32_t slantLeft = s.faceLeft - s.faceLeft / 3 + 3;
  const int32_t slantRight = RoundEven(width - s.faceRight) / 3 + s.faceRight;
  switch (s.buttonShape) {
    case shapeSlantLeft: return {slantLeft, RoundEven(width - slantLeft), w};
    case shapeSlantRight: return {0, slantRight, slantRight};
    case shapeSlantBoth: return {slantLeft, slantRight - slantLeft, slantRight};
    case shapeCustom:
    case shapeCustomShaded: return {3, s.faceRight - 3, s.faceRight - 3};
    default: return {0, s.faceRight, w};
  }
}

void CaptionLayout(ButtonPaint& p, bool& rescale) {
  ButtonState& s = p.state;
  const double W = p.width, H = p.height;
  const CaptionBand band = CaptionBandOf(s, W);
  const int32_t L = band.left, A = band.available, R = band.right;
  const bool picture = s.HasPicture();
  // A picture box of 16, 24 or 32 pixels at 96 dpi is as large in inches at any resolution; the
  // stretched and fitted codes stay codes.
  const int32_t code = s.pictureSize;
  const int32_t size = code <= 32 ? PixelsForScreen(code) : code;

  // Room kept beside, above or below the caption for a picture box.
  int32_t Pl = 0, Pr = 0, Pt = 0, Pb = 0;
  if (picture && code <= 32) {
    switch (s.pictureAlign) {
      case picLeftEdge: case picLeftOfCaption: Pl = size; break;
      case picRightEdge: case picRightOfCaption: Pr = size; break;
      case picTopCenter: Pt = size; break;
      case picBottomCenter: Pb = size; break;
      default: break;
    }
  }

  const bool hasCaption = !s.caption.empty();
  s.captionLength = std::wstring::npos;
  int32_t tw = 0, th = 0;
  RECT caption{0, 0, 0, 0};
  if (hasCaption) {
    const std::wstring text = CaptionText(s.caption);
    // A caption taller than the face is measured (and drawn) as far as the face can show it.
    const WrappedText shown =
        MeasureWrappedText(s.memDC.get(), text, RECT{0, 0, A - 8 - Pl - Pr, RoundEven(H - 8 - Pt - Pb)}, DT_WORDBREAK,
                           RoundEven(H));
    if (shown.length < text.size()) s.captionLength = shown.length;
    const RECT& measure = shown.rect;
    tw = measure.right - measure.left;
    th = measure.bottom - measure.top;
    if (s.captionStyle != capStyleFlat) {
      tw += 2;
      th += 2;
    }
    int32_t dx = 0;
    switch (s.captionAlign) {
      case capAlignLeft: dx = Pl + L + 4 + (Pl > 0 ? 4 : 0); break;
      case capAlignRight: dx = R - Pr - 4 - tw - (Pr > 0 ? 4 : 0); break;
      default:
        if (Pl > 0 && s.pictureAlign == picLeftOfCaption) dx = (A - (tw + Pl + 4)) / 2 + L + 4 + Pl;
        else if (Pr > 0 && s.pictureAlign == picRightOfCaption) dx = (A - (tw + Pr + 4)) / 2 + L;
        else dx = (A - Pl - Pr - tw) / 2 + L + Pl;
        break;
    }
    caption = RECT{dx, 0, dx + tw, th};
  }

  RECT box{0, 0, 0, 0};
  if (!picture) {
    OffsetRect(&caption, 0, RoundEven(H - th) / 2);
  } else {
    int32_t pl = 0, pt = 0;
    switch (s.pictureAlign) {
      case picLeftEdge: pl = L + 4; break;
      case picLeftOfCaption: pl = hasCaption ? caption.left - 4 - Pl : L + 4; break;
      case picRightEdge: pl = R - 4 - Pr; break;
      case picRightOfCaption: pl = hasCaption ? caption.right + 4 : R - 4 - Pr; break;
      default: break;
    }
    if (s.pictureAlign == picTopCenter) {
      const int32_t t = RoundEven(H - (th + Pt)) / 2;
      pt = t;
      OffsetRect(&caption, 0, t + 2 + Pt);
    } else if (s.pictureAlign == picBottomCenter) {
      const int32_t t = RoundEven(H - (th + Pb)) / 2;
      pt = t + th + 4;
      OffsetRect(&caption, 0, t + 2);
    } else {
      OffsetRect(&caption, 0, RoundEven(H - th) / 2);
      pt = RoundEven(H - size) / 2;
    }
    if (s.pictureAlign == picTopCenter || s.pictureAlign == picBottomCenter) pl = (A - size) / 2 + L;
    box = RECT{pl, pt, pl + size, pt + size};
  }

  caption.top = std::max<LONG>(caption.top, 4);
  caption.left = std::max<LONG>(caption.left, L + 4);
  caption.right = std::min<LONG>(caption.right, R - 4);
  if (RoundEven(H - 5) < caption.bottom) caption.bottom = RoundEven(H - 5);
  s.captionRect = caption;

  if (code == kPictureStretchPixels) {
    const int inset = s.buttonShape == shapeEllipseFramed ? 1 : 3;
    box = RECT{inset, inset, RoundEven(W - inset), RoundEven(H - inset)};
    rescale = true;
  } else if (code == kPictureFitPixels) {
    if (s.IsCustomShape()) {
      box = RECT{0, 0, RoundEven(W), RoundEven(H)};
    } else if (picture) {
      int32_t fw = 0, fh = 0;
      FitPictureSize(s, A - 12, RoundEven(H - 12), fw, fh);
      const int32_t pl = (A - fw) / 2 + L, pt = RoundEven(H - fh) / 2;
      box = RECT{pl, pt, pl + fw, pt + fh};
      rescale = true;
    }
  } else if (picture) {
    box.top = std::max<LONG>(box.top, 4);
    box.left = std::max<LONG>(box.left, L + 4);
    box.right = std::min<LONG>(box.right, R - 4);
    box.bottom = std::min<LONG>(box.bottom, RoundEven(H - 5));
  }
  s.pictureRect = box;

  if (rescale) BuildPictureCache(p, box.right - box.left, box.bottom - box.top, nullptr);
}

}  // namespace tessel
