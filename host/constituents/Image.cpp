#include "host/constituents/Image.h"

#include <algorithm>

#include "host/ConstituentSurface.h"
#include "server/contract/IconImage.h"
#include "server/contract/Twips.h"

namespace tessel {

Image::Image(Surface& parent, std::wstring name) : Constituent(parent, std::move(name)) {}

void Image::SetPicture(PictureRef picture) {
  picture_ = std::move(picture);
  chosen_.reset();
  chosenSide_ = 0;
  if (!stretch_) FitToPicture();
  Invalidate();
}

void Image::SetStretch(bool stretch) {
  stretch_ = stretch;
  Invalidate();
}

void Image::FitToPicture() {
  if (!picture_) return;
  const SIZE size = picture_->SizePixels();
  Move(Left(), Top(), TwipsFromPixelsX(size.cx), TwipsFromPixelsY(size.cy));
}

void Image::Draw(HDC dc) {
  if (!picture_) return;
  const RECT bounds = BoundsPixels();
  if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return;
  IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  const int w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  if (stretch_ && chosenSide_ != std::max(w, h)) {
    chosenSide_ = std::max(w, h);
    chosen_ = IconImageFor(*picture_, chosenSide_);
  }
  if (stretch_ && chosen_ && DrawIconEx(dc, bounds.left, bounds.top, chosen_.get(), w, h, 0, nullptr, DI_NORMAL)) return;
  picture_->Render(dc, bounds, stretch_);
}

void Image::OnMouseDown(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseDown, button, shift, x, y); }
void Image::OnMouseMove(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseMove, button, shift, x, y); }
void Image::OnMouseUp(int16_t button, int16_t shift, float x, float y) { Raise(events.MouseUp, button, shift, x, y); }
void Image::OnClick() { Raise(events.Click); }
void Image::OnDblClick() { Raise(events.DblClick); }

}  // namespace tessel
