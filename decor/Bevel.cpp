#include "decor/Bevel.h"

namespace tessel {
namespace {

void PlainStrip(PictureBox& strip, OleColor color) {
  strip.SetBorderStyle(0);
  strip.SetBackColor(color);
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
  // A refused size (a control narrower than its strips) skips that strip only.
  Step(L"move Picture1", [&] { picture1_.Move(0, 0, kStripTwips, Height()); });
  Step(L"move Picture2", [&] { picture2_.Move(0, 0, Width(), kStripTwips); });
  Step(L"move Picture3", [&] { picture3_.Move(ScaleWidth() - kStripTwips, 0, kStripTwips, Height()); });
  Step(L"move Picture4", [&] { picture4_.Move(0, ScaleHeight() - kStripTwips, Width(), kStripTwips); });
}

}  // namespace tessel
