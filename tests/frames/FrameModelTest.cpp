// The frame's model: presets, themes, writes, reading, the disabled palette, size and mouse.
#include "tests/support/Prelude.h"

#include "frames/FrameThemes.h"
#include "tests/frames/FrameFixture.h"

namespace tessel::test::frames {
namespace {

constexpr int32_t kKept = 7;        // a value no preset writes: the row leaves the property alone
constexpr int32_t kAmbient = -100;  // the container's back colour

TEST_F(FrameTest, AStyleWriteAppliesItsPresetAndLeavesWhatItsRowDoesNotName) {
  // style, text, frame, box, alignment, fill, theme, rounded, rounded box, gradient kind, header kind;
  // before each write: fill 0x010203, theme khaki, square corners, rounded box, both kinds kKept.
  using Row = std::array<int32_t, 11>;
  constexpr std::array<Row, 9> kRows{{
      {0, RGB(3, 54, 207), RGB(195, 195, 195), 0xFFFFFF, 0, kAmbient, 3, 0, 1, kKept, kKept},
      {1, 0, 0, 0xFFFFFF, 2, 0x010203, 0, 0, 1, kKept, kKept},
      {2, 0, RGB(106, 106, 106), RGB(240, 239, 176), 2, kAmbient, 3, 0, 1, kKept, kKept},
      {3, 0, 0, RGB(240, 239, 176), 2, RGB(255, 255, 224), 3, 1, 0, 1, 0},
      {4, 0, 0, 0xFFFFFF, 2, 0x010203, 0, 0, 1, 0, 0},
      {5, 0xFFFFFF, RGB(192, 0, 0), RGB(192, 0, 0), 0, kAmbient, 3, 0, 1, kKept, kKept},
      {6, 0xFFFFFF, RGB(0, 0, 166), RGB(0, 0, 166), 0, kAmbient, 3, 0, 1, kKept, kKept},
      {7, RGB(3, 54, 207), RGB(195, 195, 195), 0xFFFFFF, 0, kAmbient, 3, 0, 1, kKept, kKept},
      {8, 0, 0, 0xFFFFFF, 2, 0x010203, 0, 0, 1, 2, 1},
  }};
  form_->SetBackColor(RGB(10, 20, 30));
  TzFrames& f = AddFrame(L"fra");
  for (Row row : kRows) {
    f.SetStyle(5);  // names neither theme nor headers
    f.SetFillColor(0x010203);
    f.SetThemeColor(3);
    f.SetRoundedCorner(false);
    f.SetRoundedCornerTxtBox(true);
    f.SetGradientHeaderStyle(kKept);
    f.SetHeaderStyle(kKept);
    f.SetTextBoxHeight(40);
    const int32_t khaki = f.Theme().start;
    changed_.clear();
    f.SetStyle(row[0]);
    const FrameProperties& p = f.Properties();
    if (row[5] == kAmbient) row[5] = RGB(10, 20, 30);
    EXPECT_EQ((Row{p.style, p.textColor, p.frameColor, p.textBoxColor, p.alignment, p.fillColor, p.themeColor,
                   p.roundedCorner, p.roundedCornerTxtBox, p.gradientHeaderStyle, p.headerStyle}),
              row);
    // No PropertyChanged for what the preset replaces; a theme is stored without its colours.
    const UINT flags = (row[0] == 8 ? 0x14u : 0x24u) | (row[4] == 0 ? 0u : 1u);
    EXPECT_EQ(std::make_tuple(changed_, p.textBoxHeight, f.Theme().start, f.TextFlags()),
              std::make_tuple(std::vector<std::wstring>{L"Style"}, 22, khaki, flags))
        << "Style " << row[0];
  }
  f.SetTextBoxHeight(40);
  f.SetStyle(9);
  EXPECT_EQ(f.TextBoxHeight(), 40) << "a style above 8 changes nothing else";
}

TEST_F(FrameTest, ThemesTheImagesDoNotShowAndTextFlagsAreTables) {
  // Blue, olive, gold and the custom theme stand in the kept images; silver is every other value.
  const std::array<int32_t, 3> silver{RGB(153, 151, 180), RGB(244, 244, 251), RGB(75, 75, 111)};
  const std::array<std::pair<int32_t, std::array<int32_t, 3>>, 4> themes{
      {{1, silver}, {6, silver}, {-1, silver}, {3, {RGB(194, 194, 171), RGB(248, 248, 242), RGB(145, 145, 115)}}}};
  for (const auto& [theme, colours] : themes) {
    const ThemeColors c = ThemeFor(theme, 0, 0, 0);
    EXPECT_EQ((std::array<int32_t, 3>{c.start, c.end, c.border}), colours) << theme;
  }
  const std::array<UINT, 4> single{0x24, 0x26, 0x25, 0x25}, wrapped{0x14, 0x16, 0x15, 0x15};
  for (int32_t a : {0, 1, 2, 7})
    EXPECT_EQ(std::make_pair(CaptionTextFlags(3, a), CaptionTextFlags(8, a)), std::make_pair(single[a % 4], wrapped[a % 4]));
}

TEST_F(FrameTest, ANewFrameStoresItsBackColoursKeepsItsMinimumSizeAndEachWriteReportsItsKey) {
  TzFrames& f = AddFrame(L"fra");
  // The colours are stored translated, where the default is the ambient system colour itself.
  const int32_t face = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
  const std::string stored = "  BackColor = " + std::to_string(face) + "\n  FillColor = " + std::to_string(face);
  EXPECT_NE(WriteFormText(DescribeForm(*form_)).find("  .Enabled = true\n" + stored +
                                                     "\n  HeaderStyle = 1\nEndControl"), std::string::npos);
  std::vector<std::array<float, 4>> seen;
  f.events.MouseMove = [&](int16_t& b, int16_t& s, float& x, float& y) { seen.push_back({float(b), float(s), x, y}); };
  SendMessageW(f.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 34));
  EXPECT_EQ(seen, (std::vector<std::array<float, 4>>{{1, 0, 12, 34}})) << "MouseMove in pixels";
  changed_.clear();
  const std::pair<void (TzFrames::*)(OleColor), int32_t (TzFrames::*)() const> colours[] = {
      {&TzFrames::SetFrameColor, &TzFrames::FrameColor}, {&TzFrames::SetBackColor, &TzFrames::BackColor},
      {&TzFrames::SetFillColor, &TzFrames::FillColor},   {&TzFrames::SetTextBoxColor, &TzFrames::TextBoxColor},
      {&TzFrames::SetTextColor, &TzFrames::TextColor},   {&TzFrames::SetColorFrom, &TzFrames::ColorFrom},
      {&TzFrames::SetColorTo, &TzFrames::ColorTo}};
  for (const auto& [set, get] : colours) {
    (f.*set)(kSysButtonFace);
    EXPECT_EQ((f.*get)(), face) << changed_.size();
  }
  f.SetTextColor(0x800000FF);  // no such system colour
  EXPECT_EQ(f.TextColor(), -1);
  f.SetTxtBoxShadow(1);
  f.SetRoundedCorner(false);
  f.SetEnabled(false);
  f.SetRoundedCornerTxtBox(true);
  f.SetCaption(L"Dados");  // a caption set by the program does not mark the form changed
  f.SetTextBoxHeight(30);
  f.SetAlignment(0);
  f.SetIconAlignment(1);
  f.SetFont(Font::Create(FontDesc{L"Tahoma", 9.0f}));
  f.SetPicture(nullptr);
  f.SetIconSize(24);
  f.SetThemeColor(2);
  f.SetThemeColor(2);  // the same theme again does nothing
  f.SetHeaderStyle(0);
  f.SetGradientHeaderStyle(3);
  EXPECT_EQ(changed_, (std::vector<std::wstring>{L"FrameColor", L"BackColor", L"FillColor", L"TextBoxColor", L"TextColor",
                                                  L"ColorFrom", L"ColorTo", L"TextColor", L"TxtBoxShadow", L"RoundedCorner", L"Enabled", L"RoundedCornerTxtBox",
                                                  L"TextBoxHeight", L"Alignment", L"IconAlignment", L"Font", L"Picture",
                                                  L"IconSize", L"ThemeColor", L"HeaderStyle", L"GradientHeaderStyle"}));
  f.SetBackColor(RGB(9, 8, 7));
  EXPECT_EQ(f.OwnSurface().BackColor(), RGB(9, 8, 7)) << "BackColor also colours the window";
  SetPixelV(f.OwnSurface().DrawingDC(), 100, 60, RGB(1, 1, 1));
  f.SetThemeColor(2);
  EXPECT_EQ(Image(f)->At(100, 60), RGB(1, 1, 1)) << "the same theme drew again";
  f.SetColorFrom(RGB(10, 0, 0));
  EXPECT_EQ(f.Theme().start, RGB(181, 197, 143)) << "ColorFrom outside the custom theme changed the gradient";
  f.SetThemeColor(5);
  f.SetColorTo(RGB(0, 20, 0));
  EXPECT_EQ(std::make_pair(f.Theme().start, f.Theme().end), std::make_pair(int32_t{RGB(10, 0, 0)}, int32_t{RGB(0, 20, 0)}));
  form_->Site(L"fra")->Move(0, 0, 500, 300);
  EXPECT_EQ(std::make_pair(f.Width(), f.Height()), std::make_pair(700, 400));
  form_->Site(L"fra")->Move(0, 0, 900, 300);
  EXPECT_EQ(std::make_pair(f.Width(), f.Height()), std::make_pair(900, 400));
}

TEST_F(FrameTest, ADisabledFrameIsBlackUntilReadAndReadingMakesItsGreysColoursTheWindowAndCopiesTheFontInParts) {
  TzFrames& fresh = AddFrame(L"fresh");
  fresh.SetStyle(0);
  fresh.SetEnabled(false);
  EXPECT_EQ(fresh.DisabledColors(), Palette{});
  ExpectPixels(*Image(fresh), {{100, 118, RGB(0, 0, 0)}, {100, 60, RGB(0, 0, 0)}});  // outline and body
  form_->SetBackColor(RGB(40, 50, 60));
  PropertyBag bag;
  bag.Write(L"BackColor", int32_t{0x020202});
  bag.Write(L"Enabled", false);
  bag.Write(L"ThemeColor", int32_t{5});
  bag.Write(L"ColorFrom", int32_t{0x060606});
  bag.Write(L"Font", Font::Create(FontDesc{L"Courier New", 12.0f, FW_BOLD, true, true, true, 0}));
  auto& f = static_cast<TzFrames&>(*form_->AddLoaded(L"tzFrames", L"loaded", ExtenderProperties{L"", 0, 0, 3000, 1800}, bag));
  EXPECT_EQ(std::make_pair(int32_t(f.OwnSurface().BackColor()), f.Theme().start), std::make_pair(0x020202, 0x060606));
  // The frame copies bold, italic, name and size into its own font, nothing else.
  EXPECT_NE(f.Font(), std::get<FontRef>(*bag.Find(L"Font")));
  const FontDesc d = f.Font()->Describe();
  EXPECT_EQ(std::make_tuple(d.name, d.size, d.bold(), d.italic, d.underline, d.strikethrough, d.charset),
            std::make_tuple(std::wstring(L"Courier New"), 12.0f, true, true, false, false, BYTE{DEFAULT_CHARSET}));
  // Its greys (what they are stands in the kept images) are the colours a disabled frame draws with.
  EXPECT_EQ(std::make_pair(f.DisabledColors().fill, f.CurrentColors()), std::make_pair(int32_t{RGB(40, 50, 60)}, f.DisabledColors()));
}

}  // namespace
}  // namespace tessel::test::frames
