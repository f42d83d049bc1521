#include "frames/FrameThemes.h"

#include <array>

#include "server/contract/OleColor.h"
#include "server/contract/Palette.h"

namespace tessel::frames {
namespace {

struct ThemeRow {
  int32_t theme;
  ThemeColors colors;
};

constexpr std::array<ThemeRow, 5> kThemes{{
    {themeBlue, {RGB(129, 169, 226), RGB(221, 236, 254), RGB(0, 0, 128)}},
    {themeSilver, {RGB(153, 151, 180), RGB(244, 244, 251), RGB(75, 75, 111)}},
    {themeOlive, {RGB(181, 197, 143), RGB(247, 249, 225), RGB(63, 93, 56)}},
    {themeKhaki, {RGB(194, 194, 171), RGB(248, 248, 242), RGB(145, 145, 115)}},
    {themeGold, {RGB(217, 172, 1), RGB(255, 239, 165), RGB(117, 91, 30)}},
}};

constexpr OleColor kSysInactiveBorder = 0x8000000B;
constexpr OleColor kSys3DLight = 0x80000016;

}  // namespace

ThemeColors ThemeFor(int32_t theme, int32_t colorFrom, int32_t colorTo, int32_t lastFrameColor) {
  if (theme == themeCustom) return ThemeColors{colorFrom, colorTo, lastFrameColor};
  for (const ThemeRow& row : kThemes)
    if (row.theme == theme) return row.colors;
  return kThemes[1].colors;
}

Palette DisabledPalette(int32_t ambientBack) {
  const int32_t face = TranslateColor(kSysButtonFace);
  const int32_t border = TranslateColor(kSysInactiveBorder);
  return Palette{border, TranslateColor(kSys3DLight), TranslateColor(static_cast<OleColor>(ambientBack)),
                 face, face, border};
}

Palette CurrentPalette(const FrameProperties& p, const ThemeColors& theme, const Palette& disabled) {
  if (HighContrast()) {
    // Faces in the face colour, so gradients run from one colour to itself, lines in the frame's.
    const int32_t face = RoleColor(ColorRole::Face), frame = RoleColor(p.enabled ? ColorRole::Frame : ColorRole::GrayText);
    return Palette{frame, face, face, face, face, frame};
  }
  if (!p.enabled) return disabled;
  return Palette{p.frameColor, p.textBoxColor, p.fillColor, theme.end, theme.start, theme.border};
}

UINT CaptionTextFlags(int32_t style, int32_t alignment) {
  const UINT base = style == fsPanel ? (DT_WORDBREAK | DT_VCENTER) : (DT_SINGLELINE | DT_VCENTER);
  const UINT align = alignment == alignLeft ? DT_LEFT : alignment == alignRight ? DT_RIGHT : DT_CENTER;
  return base | align;
}

}  // namespace tessel::frames
