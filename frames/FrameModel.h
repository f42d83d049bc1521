#pragma once
// The settings of a tzFrames group frame as plain data, and the colours and metrics a drawing is
// made from. The control (TzFrames) changes this state through its property writes; the redraw
// and the style routines only read it.
#include <windows.h>

#include <cstdint>
#include <string>

#include "server/contract/Font.h"
#include "server/contract/Picture.h"

namespace tessel::frames {

enum FrameStyle : int32_t {
  fsWindows = 0, fsHeader = 1, fsTextBox = 2, fsRoundHeader = 3, fsGradientBox = 4,
  fsTab = 5, fsBlock = 6, fsLine = 7, fsPanel = 8,
};
enum CaptionAlign : int32_t { alignLeft = 0, alignRight = 1, alignCenter = 2 };
enum IconAlign : int32_t { iconLeft = 0, iconRight = 1 };
enum ThemeColorIndex : int32_t {
  themeBlue = 0, themeSilver = 1, themeOlive = 2, themeKhaki = 3, themeGold = 4, themeCustom = 5,
};
enum HeaderStyleKind : int32_t { hsSolid = 0, hsGradient = 1 };
enum GradientStyle : int32_t {
  gsVertical = 0, gsHorizontal = 1, gsVerticalBands = 2, gsHorizontalBands = 3,
};
enum ShadowKind : int32_t { shNone = 0, shShadow = 1 };

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kColorFromDefault = 0x9E9EFF;  // RGB(255,158,158)
constexpr int32_t kColorToDefault = 0xF0F0FF;    // RGB(255,240,240)
constexpr int32_t kTextBoxHeightDefault = 22;
constexpr int16_t kIconSizeDefault = 16;
// The smallest size the frame lets itself be given, in twips.
constexpr int kMinWidthTwips = 700;
constexpr int kMinHeightTwips = 400;

// Colours are RGB values 0x00BBGGRR once translated; -1 where a translation failed; a value read
// from a bag is kept as it was stored.
struct FrameProperties {
  int32_t frameColor = 0;
  int32_t backColor = 0;
  int32_t fillColor = 0;
  int32_t textBoxColor = kWhite;
  int32_t txtBoxShadow = shNone;
  int32_t style = fsHeader;
  bool roundedCorner = true;
  bool enabled = true;
  bool roundedCornerTxtBox = false;
  std::wstring caption;
  int32_t textBoxHeight = kTextBoxHeightDefault;
  int32_t textColor = 0;
  int32_t alignment = alignCenter;
  int32_t iconAlignment = iconLeft;
  FontRef font;        // the control's own font object
  PictureRef picture;  // the header icon, by reference
  int16_t iconSize = kIconSizeDefault;
  int32_t themeColor = themeBlue;
  int32_t colorFrom = kColorFromDefault;
  int32_t colorTo = kColorToDefault;
  int32_t headerStyle = hsSolid;
  int32_t gradientHeaderStyle = gsVertical;
};

// The colours of the gradient theme.
struct ThemeColors {
  int32_t start = 0;
  int32_t end = 0;
  int32_t border = 0;
};

// The six colours one drawing is made with: the live ones, or the disabled ones.
struct Palette {
  int32_t frame = 0;
  int32_t textBox = 0;
  int32_t fill = 0;
  int32_t gradientEnd = 0;
  int32_t gradientStart = 0;
  int32_t themeBorder = 0;
  bool operator==(const Palette&) const = default;
};

// What the caption measured at the last drawing.
struct TextMetrics {
  int width = 0;
  int height = 0;
  int halfHeight = 0;
};

}  // namespace tessel::frames
