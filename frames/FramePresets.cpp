#include "frames/FramePresets.h"

#include <array>
#include <optional>

namespace tessel::frames {
namespace {

constexpr int32_t kAmbient = -2;  // stands for the container's back colour in the table

struct Preset {
  int32_t textColor, frameColor, textBoxColor, textBoxHeight, alignment;
  std::optional<int32_t> fillColor;  // kAmbient or a colour
  std::optional<int32_t> themeColor;  // stored only: the theme colours stay as they are
  std::optional<bool> roundedCorner, roundedCornerTxtBox;
  std::optional<int32_t> gradientHeaderStyle, headerStyle;
};

constexpr std::array<Preset, 9> kPresets{{
    // fsWindows
    {RGB(3, 54, 207), RGB(195, 195, 195), kWhite, 22, alignLeft, kAmbient},
    // fsHeader
    {0, 0, kWhite, 22, alignCenter, {}, themeBlue},
    // fsTextBox
    {0, RGB(106, 106, 106), RGB(240, 239, 176), 22, alignCenter, kAmbient, {}, {}, true},
    // fsRoundHeader
    {0, 0, RGB(240, 239, 176), 22, alignCenter, RGB(255, 255, 224), {}, true, false, gsHorizontal, hsSolid},
    // fsGradientBox
    {0, 0, kWhite, 22, alignCenter, {}, themeBlue, {}, {}, gsVertical, hsSolid},
    // fsTab
    {kWhite, RGB(192, 0, 0), RGB(192, 0, 0), 22, alignLeft, kAmbient},
    // fsBlock
    {kWhite, RGB(0, 0, 166), RGB(0, 0, 166), 22, alignLeft, kAmbient},
    // fsLine
    {RGB(3, 54, 207), RGB(195, 195, 195), kWhite, 22, alignLeft, kAmbient},
    // fsPanel
    {0, 0, kWhite, 22, alignCenter, {}, themeBlue, {}, {}, gsVerticalBands, hsGradient},
}};
static_assert(kPresets.size() == fsPanel + 1, "one preset per frame style");

}  // namespace

void ApplyStylePreset(FrameProperties& p, int32_t ambientBack) {
  if (p.style < 0 || p.style >= static_cast<int32_t>(kPresets.size())) return;
  const Preset& row = kPresets[static_cast<size_t>(p.style)];
  p.textColor = row.textColor;
  p.frameColor = row.frameColor;
  p.textBoxColor = row.textBoxColor;
  p.textBoxHeight = row.textBoxHeight;
  p.alignment = row.alignment;
  if (row.fillColor) p.fillColor = *row.fillColor == kAmbient ? ambientBack : *row.fillColor;
  if (row.themeColor) p.themeColor = *row.themeColor;
  if (row.roundedCorner) p.roundedCorner = *row.roundedCorner;
  if (row.roundedCornerTxtBox) p.roundedCornerTxtBox = *row.roundedCornerTxtBox;
  if (row.gradientHeaderStyle) p.gradientHeaderStyle = *row.gradientHeaderStyle;
  if (row.headerStyle) p.headerStyle = *row.headerStyle;
}

}  // namespace tessel::frames
