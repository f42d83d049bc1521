#pragma once
// An etched horizontal separator: a light grey line on the top pixel row and a 3D-highlight line
// one row below, spanning the control's whole width. The height is always 30 twips; the background
// is the colour of whatever the control stands on.
#include "host/constituents/Line.h"
#include "server/contract/UserControl.h"

namespace tessel {

class KvLinha final : public UserControl {
 public:
  static constexpr int kHeightTwips = 30;
  static constexpr int kSecondLineTwips = 20;
  static constexpr OleColor kLine1Color = 0xC0C0C0;  // RGB(192,192,192)

  explicit KvLinha(ControlSite& site);
  std::wstring_view TypeName() const override { return L"KvLinha"; }
  void Describe(AccessibleDescription& d) const override;

  void Initialize() override;
  void InitProperties() override;
  void Resize() override;
  void Paint(HDC dc) override;

  const Line& Line1() const { return line1_; }
  const Line& Line2() const { return line2_; }

 private:
  void LayOut();

  Line line1_, line2_;
};

}  // namespace tessel
