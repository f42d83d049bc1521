// The caption and the focus indicator drawn on a canvas, read back pixel for pixel.
#include "tests/support/Prelude.h"

#include "button/CaptionLayout.h"
#include "button/draw/CaptionAndPicture.h"
#include "button/draw/FocusIndicator.h"
#include "server/contract/Ansi.h"
#include "server/contract/Gdi.h"
#include "server/contract/PropertyBag.h"
#include "tests/button/ButtonCanvas.h"

namespace tessel::test {
namespace {

constexpr COLORREF kFace = 0x808080, kFore = 0x000080, kHoverFore = 0x008000, kOverride = 0x804000;

struct Caption {
  const wchar_t* text = L"Save";  // a literal: a string member here makes the case tables look uninitialized to GCC 12
  int32_t shape = shapeRectangle, style = bsClassic, captionStyle = capStyleFlat, mode = modeCommand;
  bool enabled = true, value = false, pressed = false, hover = false;
  int32_t override = -1, gradientMode = gradNone;
  COLORREF face = kFace;
  const wchar_t* fontFace = nullptr;  // the canvas's Tahoma unless named
};

// Whether the system has the face: a font asked for one it lacks gets another.
bool FaceExists(const wchar_t* face) {
  ButtonCanvas canvas(1, 1, 0, face);
  wchar_t got[LF_FACESIZE]{};
  GetTextFaceW(canvas.dc(), LF_FACESIZE, got);
  return _wcsicmp(got, face) == 0;
}

// Draws the caption on the face, the caption rectangle (10, 6)-(70, 26).
std::unique_ptr<ButtonCanvas> Draw(const Caption& c) {
  auto canvas = std::make_unique<ButtonCanvas>(80, 32, c.face, c.fontFace);
  ButtonState& s = canvas->state;
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
  canvas->paint.foreColor = kFore;
  canvas->paint.enabled = c.enabled;
  int32_t face = static_cast<int32_t>(c.face), override = c.override;
  bool latched = c.value, toggle = c.mode != modeCommand;
  DrawCaptionAndPicture(canvas->paint, face, override, latched, toggle);
  GdiFlush();
  return canvas;
}

RECT Moved(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

// Where each colour lands against the flat caption: the pressed offset by shape and style, the effect
// copies, the disabled look and a style's own colour.
TEST(Caption, EachColourLandsWhereTheLookPutsIt) {
  const RECT flat = Draw({})->Bounds(kFore);
  ASSERT_GT(flat.right, flat.left);
  // corner 1: only its top-left corner, 2: its bottom-right one (the text covers the rest)
  struct Place { COLORREF color; RECT at; int corner = 0; };
  struct Case { const char* what; Caption caption; std::vector<Place> places; };
  const RECT none{};
  const Case cases[] = {
      {"pressed rectangle", {.pressed = true}, {{kFore, Moved(flat, 1, 1)}}},
      {"latched slant", {.shape = shapeSlantBoth, .mode = modeCheck, .value = true}, {{kFore, Moved(flat, 1, 1)}}},
      {"pressed ellipse", {.shape = shapeEllipse, .pressed = true}, {{kFore, Moved(flat, 0, 1)}}},
      {"pressed pastel", {.style = bsPastel, .pressed = true}, {{kFore, flat}}},
      {"hovered", {.hover = true}, {{kHoverFore, flat}}},
      {"engraved", {.captionStyle = capStyleEngraved},
       {{kFore, Moved(flat, 0, 1)}, {0xA8A8A8, Moved(flat, -1, 0), 1}, {0x585858, Moved(flat, 1, 2), 2}}},
      {"embossed", {.captionStyle = capStyleEmbossed},
       {{kFore, Moved(flat, 0, 1)}, {0x585858, Moved(flat, -1, 0), 1}, {0xA8A8A8, Moved(flat, 1, 2), 2}}},
      {"disabled", {.enabled = false, .face = 0xC0C0C0}, {{0x808080, flat}, {0xFFFFFF, Moved(flat, 1, 1)}}},
      {"disabled check with a colour: once, in it", {.mode = modeCheck, .enabled = false, .override = 0x707070},
       {{0x707070, flat}, {0xFFFFFF, none}}},
      {"disabled command with a colour: grey up-left over it", {.enabled = false, .override = 0x303030, .face = 0xC0C0C0},
       {{0x808080, Moved(flat, -1, -1)}, {0xFFFFFF, none}}},
      {"glossy takes its own colour", {.style = bsGlossy, .override = kOverride}, {{kOverride, flat}}},
      {"glossy on a gradient takes the fore colour", {.style = bsGlossy, .override = kOverride, .gradientMode = 1},
       {{kFore, flat}, {kOverride, none}}},
  };
  for (const Case& c : cases)
    for (const Place& p : c.places) {
      RECT got = Draw(c.caption)->Bounds(p.color);
      if (p.corner == 1) got.right = p.at.right, got.bottom = p.at.bottom;
      if (p.corner == 2) got.left = p.at.left, got.top = p.at.top;
      EXPECT_EQ(got, p.at) << c.what << ", " << Hex(p.color);
    }
}

TEST(Caption, LineBreaksAndPrefixes) {
  EXPECT_EQ(AnsiCaptionText(L"One||Two \u00e7\u00e3o"), "One\r\nTwo \xe7\xe3o");  // the ANSI code page
  const RECT one = Draw({.text = L"One"})->Bounds(kFore), two = Draw({.text = L"One||Two"})->Bounds(kFore);
  EXPECT_GT(two.bottom - two.top, 2 * (one.bottom - one.top) - 2);
  // "&S" underlines the S; "&&" shows one "&".
  EXPECT_GT(Draw({.text = L"&S"})->Bounds(kFore).bottom, Draw({.text = L"S"})->Bounds(kFore).bottom);
  ButtonCanvas plain(80, 32, kFace);
  SetTextColor(plain.dc(), kFore);
  RECT r{10, 6, 70, 26};
  DrawTextA(plain.dc(), "a&b", 3, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  EXPECT_EQ(Draw({.text = L"a&&b"})->Bounds(kFore), plain.Bounds(kFore));
}

// A caption beyond the ANSI code page is drawn as DrawTextW draws it, not as the code page's "?"s;
// one it holds goes narrow (the kept images pin those pixels).
TEST(Caption, TextBeyondTheCodePageDrawsItsOwnGlyphs) {
  struct Row { const wchar_t* text; const wchar_t* face; bool glyphsDifferFromQuestionMarks; };  // face null: the canvas's
  const Row rows[] = {
      {L"\u03a9\u03bc\u03ad\u03b3\u03b1", nullptr, true},                // Greek
      {L"&\u4fdd\u5b58 Salvar", L"VL Gothic", true},                      // Japanese, with its access key
      {L"\u2705 ok||\U0001F600", nullptr, false},                           // emoji (whatever glyph the face has)
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::PrintToString(Utf8FromWide(row.text)));
    if (row.face && !FaceExists(row.face)) {
      std::cout << "[ SKIPPED  ] no face " << Utf8FromWide(row.face) << " for these glyphs (fonts-vlgothic)\n";
      continue;
    }
    EXPECT_TRUE(CaptionForDrawing(row.text).IsWide());
    auto drawn = Draw({.text = row.text, .fontFace = row.face});
    ButtonCanvas wide(80, 32, kFace, row.face);
    SetTextColor(wide.dc(), kFore);
    const std::wstring text = CaptionText(row.text);
    RECT r{10, 6, 70, 26};
    DrawTextW(wide.dc(), text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_WORDBREAK);
    ASSERT_GT(wide.Count(kFore), 0);
    EXPECT_EQ(DifferentPixels(*drawn, wide), 0);
    if (row.glyphsDifferFromQuestionMarks) {
      const std::string ansi = AnsiFromWide(row.text);
      EXPECT_NE(ansi.find('?'), std::string::npos) << "the code page lacks these characters";
      const std::wstring questionMarks(ansi.begin(), ansi.end());
      EXPECT_NE(Draw({.text = questionMarks.c_str(), .fontFace = row.face})->Bounds(kFore),
                drawn->Bounds(kFore));
    }
  }
  EXPECT_FALSE(CaptionForDrawing(L"A\u00e7\u00e3o||ok").IsWide());
  EXPECT_EQ(CaptionForDrawing(L"A\u00e7\u00e3o||ok").ansi, "A\xe7\xe3o\r\nok");
}

// The solid outline around caption (20, 10)-(50, 20), picture (10, 5)-(90, 40), on a white 80 x 30
// face: closed, one pixel wide; a colour below 0 draws black and is set so.
TEST(FocusIndicator, OutlineSitsAroundTheCaption) {
  struct Case { const char* what; int32_t shape, style, color; bool value, hug, caption; RECT expected; };
  const Case cases[] = {
      {"around the caption", shapeRectangle, bsClassic, 0xC00000, false, true, true, {18, 8, 52, 22}},
      {"latched: down, right and wider", shapeRectangle, bsClassic, 0xC00000, true, true, true, {19, 9, 54, 24}},
      {"pastel latched: in place", shapeRectangle, bsPastel, 0xC00000, true, true, true, {18, 8, 52, 22}},
      {"ellipse always hugs, latched down", shapeEllipse, bsClassic, 0xC00000, true, false, true, {18, 9, 52, 24}},
      {"no caption: the picture box in the face", shapeRectangle, bsClassic, 0xC00000, false, true, false, {9, 4, 77, 27}},
      {"in the face, black", shapeRectangle, bsClassic, -1, false, false, true, {4, 4, 76, 26}},
  };
  for (const Case& c : cases) {
    ButtonCanvas canvas(80, 30, 0xFFFFFF);
    canvas.state.buttonShape = c.shape;
    canvas.state.buttonStyle = c.style;
    canvas.state.value = c.value;
    canvas.state.Set(isDefault, true);
    canvas.state.caption = c.caption ? L"Caption" : L"";
    canvas.state.captionRect = {20, 10, 50, 20};
    canvas.state.pictureRect = {10, 5, 90, 40};
    int32_t color = c.color;
    bool hug = c.hug;
    BevelPoints points{};
    DrawFocusIndicator(canvas.paint, color, true, hug, points);
    const COLORREF drawn = c.color < 0 ? 0 : c.color;
    const RECT r = canvas.Bounds(drawn);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(std::make_tuple(r, color, hug), std::make_tuple(c.expected, static_cast<int32_t>(drawn), c.hug || c.shape == shapeEllipse));
    ExpectPixels(canvas, {{r.right - 1, r.bottom - 1, drawn}, {r.left, r.bottom - 1, drawn}, {r.left + 1, r.top + 1, 0xFFFFFF}});
  }
}

}  // namespace
}  // namespace tessel::test
