#include "decor/Bevel.h"

namespace tessel {
namespace {

void PlainStrip(PictureBox& strip, OleColor color) {
  strip.SetBorderStyle(0);
  strip.SetBackColor(color);
}

// One strip's move; a refused size (a control narrower than its strips) skips that strip only.
void Place(PictureBox& strip, int left, int top, int width, int height) {
  try {
    strip.Move(left, top, width, height);
  } catch (...) {
  }
}

}  // namespace

Bevel::Bevel(ControlSite& site)
    : UserControl(site),
      picture1_(site.OwnSurface(), L"Picture1"),
      picture2_(site.OwnSurface(), L"Picture2"),
      picture3_(site.OwnSurface(), L"Picture3"),
      picture4_(site.OwnSurface(), L"Picture4") {
  PlainStrip(picture1_, kDark);
  PlainStrip(picture2_, kDark);
  PlainStrip(picture3_, kLight);
  PlainStrip(picture4_, kLight);
}

void Bevel::SetBevelSytle(int32_t value) {
  OleColor first, second;
  if (value == 0) {
    first = kDark;
    second = kLight;
  } else if (value == 2) {
    first = kLight;
    second = kDark;
  } else {
    return;
  }
  picture1_.SetBackColor(first);
  picture2_.SetBackColor(first);
  picture3_.SetBackColor(second);
  picture4_.SetBackColor(second);
}

void Bevel::Resize() {
  // Widths and heights are the control's as the container sees them; the right and bottom strips
  // stand against the inner extent of the control's own window.
  Place(picture1_, 0, 0, kStripTwips, Height());
  Place(picture2_, 0, 0, Width(), kStripTwips);
  Place(picture3_, ScaleWidth() - kStripTwips, 0, kStripTwips, Height());
  Place(picture4_, 0, ScaleHeight() - kStripTwips, Width(), kStripTwips);
}

}  // namespace tessel
