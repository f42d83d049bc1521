// The frame's model: presets, themes, text flags, what each write reports and changes, the
// disabled palette, fonts, the minimum size, the mouse event and the stored properties.
#include <array>
#include <functional>

#include "frames/FrameThemes.h"
#include "tests/frames/FrameFixture.h"

namespace tessel::test::frames {
namespace {

constexpr int32_t kSentinel = 7;  // a value no preset writes

struct PresetRow {
  int32_t style, textColor, frameColor, textBoxColor, alignment, fill, theme, rounded, roundedTxt, gradient, header;
};
constexpr int32_t kAmbientFill = -100;  // the container's back colour

TEST_F(FrameTest, AStyleWriteAppliesItsPresetAndLeavesWhatItsRowDoesNotName) {
  // Before each write: fill 0x010203, theme khaki, square corners, rounded caption box, and
  // sentinel header values; the row says what each style leaves.
  constexpr std::array<PresetRow, 9> kRows{{
      {0, RGB(3, 54, 207), RGB(195, 195, 195), 0xFFFFFF, 0, kAmbientFill, 3, 0, 1, kSentinel, kSentinel},
      {1, 0, 0, 0xFFFFFF, 2, 0x010203, 0, 0, 1, kSentinel, kSentinel},
      {2, 0, RGB(106, 106, 106), RGB(240, 239, 176), 2, kAmbientFill, 3, 0, 1, kSentinel, kSentinel},
      {3, 0, 0, RGB(240, 239, 176), 2, RGB(255, 255, 224), 3, 1, 0, 1, 0},
      {4, 0, 0, 0xFFFFFF, 2, 0x010203, 0, 0, 1, 0, 0},
      {5, 0xFFFFFF, RGB(192, 0, 0), RGB(192, 0, 0), 0, kAmbientFill, 3, 0, 1, kSentinel, kSentinel},
      {6, 0xFFFFFF, RGB(0, 0, 166), RGB(0, 0, 166), 0, kAmbientFill, 3, 0, 1, kSentinel, kSentinel},
      {7, RGB(3, 54, 207), RGB(195, 195, 195), 0xFFFFFF, 0, kAmbientFill, 3, 0, 1, kSentinel, kSentinel},
      {8, 0, 0, 0xFFFFFF, 2, 0x010203, 0, 0, 1, 2, 1},
  }};
  form_->SetBackColor(RGB(10, 20, 30));
  TzFrames& f = AddFrame(L"fra");
  for (const PresetRow& row : kRows) {
    SCOPED_TRACE("Style " + std::to_string(row.style));
    f.SetStyle(5);  // a preset that names neither theme nor headers, so the sentinels below hold
    f.SetFillColor(0x010203);
    f.SetThemeColor(3);
    f.SetRoundedCorner(false);
    f.SetRoundedCornerTxtBox(true);
    f.SetGradientHeaderStyle(kSentinel);
    f.SetHeaderStyle(kSentinel);
    f.SetTextBoxHeight(40);
    const ThemeColors khaki = f.Theme();
    changed_.clear();
    f.SetStyle(row.style);
    EXPECT_EQ(changed_, std::vector<std::wstring>{L"Style"});
    const FrameProperties& p = f.Properties();
    EXPECT_EQ(p.textColor, row.textColor);
    EXPECT_EQ(p.frameColor, row.frameColor);
    EXPECT_EQ(p.textBoxColor, row.textBoxColor);
    EXPECT_EQ(p.textBoxHeight, 22);
    EXPECT_EQ(p.alignment, row.alignment);
    EXPECT_EQ(p.fillColor, row.fill == kAmbientFill ? RGB(10, 20, 30) : row.fill);
    EXPECT_EQ(p.themeColor, row.theme);
    EXPECT_EQ(f.Theme().start, khaki.start) << "a preset stores the theme without recomputing its colours";
    EXPECT_EQ(p.roundedCorner, row.rounded != 0);
    EXPECT_EQ(p.roundedCornerTxtBox, row.roundedTxt != 0);
    EXPECT_EQ(p.gradientHeaderStyle, row.gradient);
    EXPECT_EQ(p.headerStyle, row.header);
    EXPECT_EQ(f.TextFlags(), CaptionTextFlags(row.style, row.alignment));
  }
  f.SetTextBoxHeight(40);
  f.SetStyle(9);
  EXPECT_EQ(f.Style(), 9);
  EXPECT_EQ(f.TextBoxHeight(), 40) << "a style above 8 changes nothing else";
}

TEST_F(FrameTest, ThemesGiveTheirGradientAndBorderColoursAndTheCustomThemeItsOwn) {
  struct Row {
    int32_t theme;
    ThemeColors colors;
  };
  const std::array<Row, 8> rows{{
      {0, {RGB(129, 169, 226), RGB(221, 236, 254), RGB(0, 0, 128)}},
      {1, {RGB(153, 151, 180), RGB(244, 244, 251), RGB(75, 75, 111)}},
      {2, {RGB(181, 197, 143), RGB(247, 249, 225), RGB(63, 93, 56)}},
      {3, {RGB(194, 194, 171), RGB(248, 248, 242), RGB(145, 145, 115)}},
      {4, {RGB(217, 172, 1), RGB(255, 239, 165), RGB(117, 91, 30)}},
      {5, {0x111111, 0x222222, 0x333333}},
      {6, {RGB(153, 151, 180), RGB(244, 244, 251), RGB(75, 75, 111)}},
      {-1, {RGB(153, 151, 180), RGB(244, 244, 251), RGB(75, 75, 111)}},
  }};
  for (const Row& row : rows) {
    const ThemeColors c = ThemeFor(row.theme, 0x111111, 0x222222, 0x333333);
    EXPECT_EQ(c.start, row.colors.start) << row.theme;
    EXPECT_EQ(c.end, row.colors.end) << row.theme;
    EXPECT_EQ(c.border, row.colors.border) << row.theme;
  }
}

TEST_F(FrameTest, TextFlagsWrapOnlyThePanelAndAlignByAlignment) {
  const std::array<std::array<UINT, 4>, 2> expected{{{0x24, 0x26, 0x25, 0x25}, {0x14, 0x16, 0x15, 0x15}}};
  const std::array<int32_t, 4> alignments{0, 1, 2, 7};
  for (int panel = 0; panel < 2; ++panel)
    for (size_t a = 0; a < alignments.size(); ++a)
      EXPECT_EQ(CaptionTextFlags(panel ? 8 : 3, alignments[a]), expected[panel][a]) << panel << "/" << a;
}

TEST_F(FrameTest, EachWriteReportsItsOwnKeyExceptCaptionAndAnUnchangedTheme) {
  TzFrames& f = AddFrame(L"fra");
  const FontRef font = Font::Create(FontDesc{L"Tahoma", 9.0f});
  struct Row {
    const wchar_t* key;  // nullptr: nothing is reported
    std::function<void(TzFrames&)> write;
  };
  const std::vector<Row> rows{
      {L"FrameColor", [](TzFrames& t) { t.SetFrameColor(1); }},
      {L"BackColor", [](TzFrames& t) { t.SetBackColor(2); }},
      {L"FillColor", [](TzFrames& t) { t.SetFillColor(3); }},
      {L"TextBoxColor", [](TzFrames& t) { t.SetTextBoxColor(4); }},
      {L"TxtBoxShadow", [](TzFrames& t) { t.SetTxtBoxShadow(1); }},
      {L"RoundedCorner", [](TzFrames& t) { t.SetRoundedCorner(false); }},
      {L"Enabled", [](TzFrames& t) { t.SetEnabled(false); }},
      {L"RoundedCornerTxtBox", [](TzFrames& t) { t.SetRoundedCornerTxtBox(true); }},
      {nullptr, [](TzFrames& t) { t.SetCaption(L"Dados"); }},
      {L"TextBoxHeight", [](TzFrames& t) { t.SetTextBoxHeight(30); }},
      {L"TextColor", [](TzFrames& t) { t.SetTextColor(5); }},
      {L"Alignment", [](TzFrames& t) { t.SetAlignment(0); }},
      {L"IconAlignment", [](TzFrames& t) { t.SetIconAlignment(1); }},
      {L"Font", [&](TzFrames& t) { t.SetFont(font); }},
      {L"Picture", [](TzFrames& t) { t.SetPicture(nullptr); }},
      {L"IconSize", [](TzFrames& t) { t.SetIconSize(24); }},
      {L"ThemeColor", [](TzFrames& t) { t.SetThemeColor(2); }},
      {nullptr, [](TzFrames& t) { t.SetThemeColor(2); }},
      {L"ColorFrom", [](TzFrames& t) { t.SetColorFrom(6); }},
      {L"ColorTo", [](TzFrames& t) { t.SetColorTo(7); }},
      {L"HeaderStyle", [](TzFrames& t) { t.SetHeaderStyle(0); }},
      {L"GradientHeaderStyle", [](TzFrames& t) { t.SetGradientHeaderStyle(3); }},
  };
  for (const Row& row : rows) {
    changed_.clear();
    row.write(f);
    const std::vector<std::wstring> expected = row.key ? std::vector<std::wstring>{row.key} : std::vector<std::wstring>{};
    EXPECT_EQ(changed_, expected) << (row.key ? Utf8FromWide(row.key) : "caption or unchanged theme");
  }
}

TEST_F(FrameTest, ColourWritesStoreTheTranslatedValueAndBackColorAlsoColoursTheWindow) {
  TzFrames& f = AddFrame(L"fra");
  const int32_t face = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
  const std::vector<std::pair<std::function<void(OleColor)>, std::function<int32_t()>>> colours{
      {[&](OleColor c) { f.SetFrameColor(c); }, [&] { return f.FrameColor(); }},
      {[&](OleColor c) { f.SetBackColor(c); }, [&] { return f.BackColor(); }},
      {[&](OleColor c) { f.SetFillColor(c); }, [&] { return f.FillColor(); }},
      {[&](OleColor c) { f.SetTextBoxColor(c); }, [&] { return f.TextBoxColor(); }},
      {[&](OleColor c) { f.SetTextColor(c); }, [&] { return f.TextColor(); }},
      {[&](OleColor c) { f.SetColorFrom(c); }, [&] { return f.ColorFrom(); }},
      {[&](OleColor c) { f.SetColorTo(c); }, [&] { return f.ColorTo(); }},
  };
  for (size_t i = 0; i < colours.size(); ++i) {
    colours[i].first(kSysButtonFace);
    EXPECT_EQ(colours[i].second(), face) << i;
    colours[i].first(0x800000FF);  // no such system colour
    EXPECT_EQ(colours[i].second(), -1) << i;
  }
  f.SetBackColor(RGB(9, 8, 7));
  EXPECT_EQ(f.OwnSurface().BackColor(), RGB(9, 8, 7));
}

TEST_F(FrameTest, AnUnchangedThemeDoesNotRedrawAndTheGradientFollowsOnlyTheThemeItIsGiven) {
  TzFrames& f = AddFrame(L"fra");
  HDC image = f.OwnSurface().DrawingDC();
  SetPixelV(image, 100, 60, RGB(1, 1, 1));
  f.SetThemeColor(0);
  EXPECT_EQ(Image(f).At(100, 60), RGB(1, 1, 1)) << "the same theme drew again";

  f.SetColorFrom(RGB(10, 0, 0));
  EXPECT_EQ(f.Theme().start, RGB(129, 169, 226)) << "ColorFrom outside the custom theme changed the gradient";
  f.SetThemeColor(5);
  EXPECT_EQ(f.Theme().start, RGB(10, 0, 0));
  f.SetColorTo(RGB(0, 20, 0));
  EXPECT_EQ(f.Theme().end, RGB(0, 20, 0)) << "ColorTo inside the custom theme goes straight to the gradient";
  EXPECT_NE(Image(f).At(100, 60), RGB(1, 1, 1));

  f.SetThemeColor(4);
  f.SetStyle(8);
  EXPECT_EQ(f.ThemeColor(), 0);
  EXPECT_EQ(f.Theme().start, RGB(217, 172, 1)) << "the panel preset keeps the gold gradient until a theme write";
}

TEST_F(FrameTest, TheDisabledPaletteIsBlackUntilPropertiesAreReadThenSystemGreys) {
  TzFrames& fresh = AddFrame(L"fresh");
  EXPECT_EQ(fresh.DisabledColors(), Palette{});
  fresh.SetStyle(0);
  fresh.SetCaption(L"");
  fresh.SetEnabled(false);
  EXPECT_EQ(Image(fresh).At(100, 119 - 1), RGB(0, 0, 0)) << "a never-read frame draws its disabled outline black";

  form_->SetBackColor(RGB(40, 50, 60));
  PropertyBag bag;
  TzFrames& loaded = LoadFrame(L"loaded", bag);
  const auto sys = [](int index) { return static_cast<int32_t>(GetSysColor(index)); };
  const Palette expected{sys(COLOR_INACTIVEBORDER), sys(COLOR_3DLIGHT), RGB(40, 50, 60),
                         sys(COLOR_BTNFACE), sys(COLOR_BTNFACE), sys(COLOR_INACTIVEBORDER)};
  EXPECT_EQ(loaded.DisabledColors(), expected);
  loaded.SetEnabled(false);
  EXPECT_EQ(loaded.CurrentColors(), expected);
  loaded.SetEnabled(true);
  EXPECT_EQ(loaded.CurrentColors().gradientStart, RGB(129, 169, 226));
}

TEST_F(FrameTest, AFontWriteCopiesBoldItalicNameAndSizeIntoTheFramesOwnFont) {
  TzFrames& f = AddFrame(L"fra");
  const FontRef own = f.Font();
  FontDesc given{L"Courier New", 12.0f, FW_BOLD, true, true, true, 0};
  f.SetFont(Font::Create(given));
  EXPECT_EQ(f.Font(), own) << "the frame keeps its own font object";
  const FontDesc d = own->Describe();
  EXPECT_EQ(d.name, L"Courier New");
  EXPECT_FLOAT_EQ(d.size, 12.0f);
  EXPECT_TRUE(d.bold());
  EXPECT_TRUE(d.italic);
  EXPECT_FALSE(d.underline);
  EXPECT_FALSE(d.strikethrough);
  EXPECT_EQ(d.charset, DEFAULT_CHARSET);
}

TEST_F(FrameTest, AFrameIsNeverSmallerThan700By400Twips) {
  TzFrames& f = AddFrame(L"fra");
  form_->Site(L"fra")->Move(0, 0, 500, 300);
  EXPECT_EQ(f.Width(), kMinWidthTwips);
  EXPECT_EQ(f.Height(), kMinHeightTwips);
  form_->Site(L"fra")->Move(0, 0, 900, 300);
  EXPECT_EQ(f.Width(), 900);
  EXPECT_EQ(f.Height(), kMinHeightTwips);
}

TEST_F(FrameTest, MouseMoveReachesTheHostInPixelsByReference) {
  TzFrames& f = AddFrame(L"fra");
  std::vector<std::array<float, 4>> seen;
  f.events.MouseMove = [&](int16_t& b, int16_t& s, float& x, float& y) {
    seen.push_back({static_cast<float>(b), static_cast<float>(s), x, y});
  };
  SendMessageW(f.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 34));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], (std::array<float, 4>{1, 0, 12, 34}));
}

TEST_F(FrameTest, ANewFrameStoresItsTranslatedBackColoursAndItsGradientHeader) {
  // Every other value a new frame starts with is its key's default; the two colours are stored
  // translated while the default is the ambient system colour itself.
  AddFrame(L"fra");
  const std::vector<SavedControl> saved = form_->Save();
  ASSERT_EQ(saved.size(), 1u);
  const auto& entries = saved[0].bag.Entries();
  ASSERT_EQ(entries.size(), 3u);
  const int32_t face = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(entries[0].first, L"BackColor");
  EXPECT_TRUE(BagValuesEqual(entries[0].second, face));
  EXPECT_EQ(entries[1].first, L"FillColor");
  EXPECT_TRUE(BagValuesEqual(entries[1].second, face));
  EXPECT_EQ(entries[2].first, L"HeaderStyle");
  EXPECT_TRUE(BagValuesEqual(entries[2].second, int32_t{1}));
}

TEST_F(FrameTest, ReadingColoursTheWindowAppliesTheThemeAndCopiesTheFont) {
  PropertyBag bag;
  bag.Write(L"BackColor", int32_t{0x020202});
  bag.Write(L"ThemeColor", int32_t{5});
  bag.Write(L"ColorFrom", int32_t{0x060606});
  bag.Write(L"Font", Font::Create(FontDesc{L"Tahoma", 10.0f, FW_BOLD}));
  TzFrames& f = LoadFrame(L"fra", bag);
  EXPECT_EQ(f.OwnSurface().BackColor(), 0x020202u);
  EXPECT_EQ(f.Theme().start, 0x060606);
  EXPECT_NE(f.Font(), std::get<FontRef>(*bag.Find(L"Font"))) << "the frame copies into its own font";
  EXPECT_EQ(f.Font()->Describe().name, L"Tahoma");
}

}  // namespace
}  // namespace tessel::test::frames
