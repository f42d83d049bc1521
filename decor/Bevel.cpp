#include "decor/Bevel.h"

#include "server/contract/Palette.h"

namespace tessel {

// The strips are plain borderless picture boxes that the control's window draws itself: a bevel is
// one window until something asks a strip for a window of its own.
Bevel::Bevel(ControlSite& site)
    : UserControl(site),
      picture1_(site.OwnSurface(), L"Picture1", PictureBox::DrawnByParent{}),
      picture2_(site.OwnSurface(), L"Picture2", PictureBox::DrawnByParent{}),
      picture3_(site.OwnSurface(), L"Picture3", PictureBox::DrawnByParent{}),
      picture4_(site.OwnSurface(), L"Picture4", PictureBox::DrawnByParent{}) {
  ApplyLook();
}

void Bevel::SetBevelSytle(int32_t value) {
  if (value != 0 && value != 2) return;
  raised_ = value == 2;
  ApplyLook();
}

void Bevel::ApplyLook() {
  constexpr OleColor kSysWindowFrame = 0x80000006;
  const bool lines = HighContrast();
  const OleColor first = lines ? kSysWindowFrame : raised_ ? kLight : kDark;
  const OleColor second = lines ? kSysWindowFrame : raised_ ? kDark : kLight;
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
