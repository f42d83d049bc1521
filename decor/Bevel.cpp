#include "decor/Bevel.h"

namespace tessel {

// The strips are plain borderless picture boxes that the control's window draws itself: a bevel is
// one window until something asks a strip for a window of its own.
Bevel::Bevel(ControlSite& site)
    : UserControl(site),
      picture1_(site.OwnSurface(), L"Picture1", PictureBox::DrawnByParent{}),
      picture2_(site.OwnSurface(), L"Picture2", PictureBox::DrawnByParent{}),
      picture3_(site.OwnSurface(), L"Picture3", PictureBox::DrawnByParent{}),
      picture4_(site.OwnSurface(), L"Picture4", PictureBox::DrawnByParent{}) {
  picture1_.SetBackColor(kDark);
  picture2_.SetBackColor(kDark);
  picture3_.SetBackColor(kLight);
  picture4_.SetBackColor(kLight);
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
