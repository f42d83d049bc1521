#include <gtest/gtest.h>

#include <memory>

#include "button/draw/CaptionAndPicture.h"
#include "tests/button/ButtonCanvas.h"

namespace tessel::test {
namespace {

constexpr COLORREF kFace = 0x808080, kFore = 0x000080, kHoverFore = 0x008000, kOverride = 0x804000;

struct Caption {
  std::wstring text = L"Save";
  int32_t shape = shapeRectangle;
  int32_t style = bsClassic;
  int32_t captionStyle = capStyleFlat;
  int32_t mode = modeCommand;
  bool enabled = true, value = false, pressed = false, hover = false;
  int32_t override = -1;
  int32_t gradientMode = gradNone;
  COLORREF face = kFace;
};

struct Drawn {
  std::unique_ptr<ButtonCanvas> canvas;
  bool toggle;
  RECT Of(COLORREF c) const { return canvas->Bounds(c); }
};

// Draws the caption on the face (0x808080 unless given), the caption rectangle (10, 6)-(70, 26).
Drawn Draw(const Caption& c) {
  Drawn d{std::make_unique<ButtonCanvas>(80, 32), c.mode != modeCommand};
  ButtonCanvas& canvas = *d.canvas;
  canvas.Clear(c.face);
  ButtonState& s = canvas.state;
  s.caption = c.text;
  s.captionRect = {10, 6, 70, 26};
  s.buttonShape = c.shape;
  s.buttonStyle = c.style;
  s.captionStyle = c.captionStyle;
  s.mode = c.mode;
  s.value = c.value;
  s.gradientMode = c.gradientMode;
  s.isHoverTracking = c.hover;
  s.Set(isHot, c.hover || c.pressed);
  s.Set(isPressed, c.pressed);
  s.hoverForeColor = kHoverFore;
  canvas.paint.foreColor = kFore;
  canvas.paint.enabled = c.enabled;
  int32_t face = static_cast<int32_t>(c.face), override = c.override;
  bool latched = c.value;
  DrawCaptionAndPicture(canvas.paint, face, override, latched, d.toggle);
  GdiFlush();
  return d;
}

RECT Moved(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

// The pressed offset: one pixel right and down on the straight shapes, down only on the round
// ones, none at all for the pastel style.
TEST(Caption, PressedOffsetByShapeAndStyle) {
  const RECT flat = Draw({}).Of(kFore);
  ASSERT_GT(flat.right, flat.left);
  struct Case {
    const char* what;
    Caption caption;
    int dx, dy;
  };
  const Case cases[] = {
      {"pressed rectangle", {.pressed = true}, 1, 1},
      {"latched slant", {.shape = shapeSlantBoth, .mode = modeCheck, .value = true}, 1, 1},
      {"pressed ellipse", {.shape = shapeEllipse, .pressed = true}, 0, 1},
      {"pressed pastel", {.style = bsPastel, .pressed = true}, 0, 0},
      {"hovered, not pressed", {.hover = true}, 0, 0},
  };
  for (const Case& c : cases) {
    Drawn d = Draw(c.caption);
    const COLORREF color = c.caption.hover ? kHoverFore : kFore;
    EXPECT_EQ(d.Of(color), Moved(flat, c.dx, c.dy)) << c.what;
  }
}

// Embossed and engraved: a copy shifted by the amount up-left, one by the opposite amount
// down-right, and the text itself one pixel below its place.
TEST(Caption, EffectCopiesTakeShiftedFaceColoursAndOffsets) {
  const RECT flat = Draw({}).Of(kFore);
  struct Case {
    int32_t captionStyle;
    COLORREF upLeft, downRight;
  };
  for (const Case& c : {Case{capStyleEngraved, 0xA8A8A8, 0x585858}, Case{capStyleEmbossed, 0x585858, 0xA8A8A8}}) {
    Drawn d = Draw({.captionStyle = c.captionStyle});
    EXPECT_EQ(d.Of(kFore), Moved(flat, 0, 1)) << c.captionStyle;
    const RECT up = d.Of(c.upLeft), down = d.Of(c.downRight);
    EXPECT_EQ(up.left, flat.left - 1) << c.captionStyle;
    EXPECT_EQ(up.top, flat.top) << c.captionStyle;
    EXPECT_EQ(down.right, flat.right + 1) << c.captionStyle;
    EXPECT_EQ(down.bottom, flat.bottom + 2) << c.captionStyle;
  }
}

// The text colour the kept images cannot show: a style's own colour, given up on a gradient.
TEST(Caption, TextColourByState) {
  struct Case {
    const char* what;
    Caption caption;
    COLORREF color;
  };
  const Case cases[] = {
      {"glossy takes its own colour", {.style = bsGlossy, .override = kOverride}, kOverride},
      {"glossy on a gradient takes the fore colour", {.style = bsGlossy, .override = kOverride, .gradientMode = gradLeftRight}, kFore},
      {"disabled check with an override", {.mode = modeCheck, .enabled = false, .override = kOverride}, kOverride},
  };
  for (const Case& c : cases) {
    Drawn d = Draw(c.caption);
    EXPECT_GT(d.canvas->Count(c.color), 10) << c.what;
    EXPECT_EQ(d.canvas->Count(kFace) + d.canvas->Count(c.color), 80 * 32) << c.what << ": one colour of text only";
  }
}

// Disabled without an override: white one pixel down-right, grey over it at the text's place.
TEST(Caption, DisabledLookIsWhiteUnderGrey) {
  constexpr COLORREF kLight = 0xC0C0C0;
  const RECT flat = Draw({.face = kLight}).Of(kFore);
  Drawn command = Draw({.enabled = false, .face = kLight});
  EXPECT_FALSE(command.toggle);
  EXPECT_EQ(command.Of(0x808080), flat) << "grey where the text is";
  const RECT white = command.Of(0xFFFFFF);
  EXPECT_EQ(white.right, flat.right + 1);
  EXPECT_EQ(white.bottom, flat.bottom + 1);

  // A check button whose style passes a colour shows the caption once, in that colour.
  Drawn check = Draw({.mode = modeCheck, .enabled = false, .override = 0x707070, .face = kLight});
  EXPECT_TRUE(check.toggle);
  EXPECT_EQ(check.canvas->Count(0xFFFFFF), 0);
  EXPECT_EQ(check.canvas->Count(0x808080), 0);
  EXPECT_EQ(check.Of(0x707070), flat);

  // A command button with a colour: that colour at the text's place, then grey one pixel up-left.
  Drawn command2 = Draw({.enabled = false, .override = 0x303030, .face = kLight});
  EXPECT_EQ(command2.canvas->Count(0xFFFFFF), 0);
  EXPECT_EQ(command2.Of(0x303030).right, flat.right);
  EXPECT_EQ(command2.Of(0x808080), Moved(flat, -1, -1));
}

TEST(Caption, LineBreaksPrefixesAndHiddenCaptions) {
  EXPECT_EQ(AnsiCaptionText(L"One||Two \u00e7\u00e3o"), "One\r\nTwo \xe7\xe3o");  // the ANSI code page
  const RECT one = Draw({.text = L"One"}).Of(kFore);
  const RECT two = Draw({.text = L"One||Two"}).Of(kFore);
  EXPECT_GT(two.bottom - two.top, 2 * (one.bottom - one.top) - 2);

  // "&S" underlines the S: its pixels reach lower than the plain S's; "&&" shows one "&".
  EXPECT_GT(Draw({.text = L"&S"}).Of(kFore).bottom, Draw({.text = L"S"}).Of(kFore).bottom);
  ButtonCanvas plain(80, 32);
  plain.Clear(kFace);
  SetTextColor(plain.dc(), kFore);
  RECT r{10, 6, 70, 26};
  DrawTextA(plain.dc(), "a&b", 3, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  GdiFlush();
  EXPECT_EQ(Draw({.text = L"a&&b"}).Of(kFore), plain.Bounds(kFore));

  // Shapes above the ellipse show their caption only while latched.
  EXPECT_EQ(Draw({.shape = shapeEllipseFramed}).canvas->Count(kFore), 0);
  EXPECT_GT(Draw({.shape = shapeEllipseFramed, .mode = modeCheck, .value = true}).canvas->Count(kFore), 0);
  EXPECT_GT(Draw({.shape = shapeEllipse}).canvas->Count(kFore), 0);
}

}  // namespace
}  // namespace tessel::test
