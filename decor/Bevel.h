#pragma once
// A decorative rectangle with a 3D edge: four thin colour strips along the sides, dark left and
// top with light right and bottom (sunken) or the other way round (raised). It draws nothing
// itself and stores nothing; the look lives only in the strips' colours.
#include <cstdint>

#include "host/constituents/PictureBox.h"
#include "server/contract/UserControl.h"

namespace tessel {

class Bevel final : public UserControl {
 public:
  static constexpr int kStripTwips = 20;
  static constexpr OleColor kDark = 0x808080;
  static constexpr OleColor kLight = 0xFFFFFF;

  explicit Bevel(ControlSite& site);
  std::wstring_view TypeName() const override { return L"Bevel"; }
  void Describe(AccessibleDescription& d) const override;

  // Write only: 0 sunken, 2 raised; any other value leaves the strips as they are.
  void SetBevelSytle(int32_t value);

  void Resize() override;
  // High contrast draws the strips as lines in the frame colour; its end gives the look back.
  void SystemLookChanged() override { ApplyLook(); }

  PictureBox& Picture1() { return picture1_; }  // left
  PictureBox& Picture2() { return picture2_; }  // top
  PictureBox& Picture3() { return picture3_; }  // right
  PictureBox& Picture4() { return picture4_; }  // bottom

 private:
  void ApplyLook();

  PictureBox picture1_, picture2_, picture3_, picture4_;
  bool raised_ = false;
};

}  // namespace tessel
