// The frame's model: presets, themes, text flags, what each write reports and stores, the
// disabled palette, reading, fonts, the minimum size and the mouse event.
#include <array>
#include <functional>
#include <tuple>

#include "frames/FrameThemes.h"
#include "tests/frames/FrameFixture.h"

namespace tessel::test::frames {
namespace {

constexpr int32_t kKept = 7;       // a value no preset writes: the row leaves the property alone
constexpr int32_t kAmbient = -100;  // the container's back colour

TEST_F(FrameTest, AStyleWriteAppliesItsPresetAndLeavesWhatItsRowDoesNotName) {
  struct Row {
    int32_t style, text, frame, box, align, fill, theme, rounded, roundedTxt, gradient, header;
  };
  // Before each write: fill 0x010203, theme khaki, square corners, rounded caption box, the
  // header kinds kKept and a caption box 40 high.
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
  const auto reset = [&] {
    f.SetStyle(5);  // names neither theme nor headers
    f.SetFillColor(0x010203);
    f.SetThemeColor(3);
    f.SetRoundedCorner(false);
    f.SetRoundedCornerTxtBox(true);
    f.SetGradientHeaderStyle(kKept);
    f.SetHeaderStyle(kKept);
    f.SetTextBoxHeight(40);
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE("Style " + std::to_string(row.style));
    reset();
    const ThemeColors khaki = f.Theme();
    changed_.clear();
    f.SetStyle(row.style);
    EXPECT_EQ(changed_, std::vector<std::wstring>{L"Style"});
    const FrameProperties& p = f.Properties();
    EXPECT_EQ((std::array<int32_t, 11>{p.style, p.textColor, p.frameColor, p.textBoxColor, p.alignment, p.fillColor,
                                       p.themeColor, p.roundedCorner, p.roundedCornerTxtBox, p.gradientHeaderStyle,
                                       p.headerStyle}),
              (std::array<int32_t, 11>{row.style, row.text, row.frame, row.box, row.align,
                                       row.fill == kAmbient ? static_cast<int32_t>(RGB(10, 20, 30)) : row.fill, row.theme, row.rounded,
                                       row.roundedTxt, row.gradient, row.header}));
    EXPECT_EQ(p.textBoxHeight, 22);
    EXPECT_EQ(f.Theme().start, khaki.start) << "a preset stores the theme without working out its colours";
    EXPECT_EQ(f.TextFlags(), row.align == 0 ? (row.style == 8 ? 0x14u : 0x24u) : (row.style == 8 ? 0x15u : 0x25u));
  }
  reset();
  f.SetStyle(9);
  EXPECT_EQ(f.TextBoxHeight(), 40) << "a style above 8 changes nothing else";
}

TEST_F(FrameTest, ThemesAndTextFlagsAreTables) {
  const int32_t silver[] = {RGB(153, 151, 180), RGB(244, 244, 251), RGB(75, 75, 111)};
  const std::array<std::pair<int32_t, std::array<int32_t, 3>>, 8> themes{{
      {0, {RGB(129, 169, 226), RGB(221, 236, 254), RGB(0, 0, 128)}},
      {1, {silver[0], silver[1], silver[2]}},
      {2, {RGB(181, 197, 143), RGB(247, 249, 225), RGB(63, 93, 56)}},
      {3, {RGB(194, 194, 171), RGB(248, 248, 242), RGB(145, 145, 115)}},
      {4, {RGB(217, 172, 1), RGB(255, 239, 165), RGB(117, 91, 30)}},
      {5, {0x111111, 0x222222, 0x333333}},  // ColorFrom, ColorTo, the frame colour of the last drawing
      {6, {silver[0], silver[1], silver[2]}},
      {-1, {silver[0], silver[1], silver[2]}},
  }};
  for (const auto& [theme, colours] : themes) {
    const ThemeColors c = ThemeFor(theme, 0x111111, 0x222222, 0x333333);
    EXPECT_EQ((std::array<int32_t, 3>{c.start, c.end, c.border}), colours) << theme;
  }
  const std::array<int32_t, 4> alignments{0, 1, 2, 7};
  const std::array<UINT, 4> single{0x24, 0x26, 0x25, 0x25}, wrapped{0x14, 0x16, 0x15, 0x15};
  for (size_t a = 0; a < alignments.size(); ++a) {
    EXPECT_EQ(CaptionTextFlags(3, alignments[a]), single[a]) << alignments[a];
    EXPECT_EQ(CaptionTextFlags(8, alignments[a]), wrapped[a]) << alignments[a];
  }
}

TEST_F(FrameTest, EachWriteReportsItsKeyAndColoursAreStoredTranslated) {
  TzFrames& f = AddFrame(L"fra");
  const FontRef font = Font::Create(FontDesc{L"Tahoma", 9.0f});
  const int32_t face = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
  using Colour = std::pair<void (TzFrames::*)(OleColor), int32_t (TzFrames::*)() const>;
  struct Row {
    const wchar_t* key;  // nullptr: nothing is reported
    std::function<void()> write;
    Colour colour{};
  };
  const std::vector<Row> rows{
      {L"FrameColor", {}, {&TzFrames::SetFrameColor, &TzFrames::FrameColor}},
      {L"BackColor", {}, {&TzFrames::SetBackColor, &TzFrames::BackColor}},
      {L"FillColor", {}, {&TzFrames::SetFillColor, &TzFrames::FillColor}},
      {L"TextBoxColor", {}, {&TzFrames::SetTextBoxColor, &TzFrames::TextBoxColor}},
      {L"TextColor", {}, {&TzFrames::SetTextColor, &TzFrames::TextColor}},
      {L"ColorFrom", {}, {&TzFrames::SetColorFrom, &TzFrames::ColorFrom}},
      {L"ColorTo", {}, {&TzFrames::SetColorTo, &TzFrames::ColorTo}},
      {L"TxtBoxShadow", [&] { f.SetTxtBoxShadow(1); }},
      {L"RoundedCorner", [&] { f.SetRoundedCorner(false); }},
      {L"Enabled", [&] { f.SetEnabled(false); }},
      {L"RoundedCornerTxtBox", [&] { f.SetRoundedCornerTxtBox(true); }},
      {nullptr, [&] { f.SetCaption(L"Dados"); }},
      {L"TextBoxHeight", [&] { f.SetTextBoxHeight(30); }},
      {L"Alignment", [&] { f.SetAlignment(0); }},
      {L"IconAlignment", [&] { f.SetIconAlignment(1); }},
      {L"Font", [&] { f.SetFont(font); }},
      {L"Picture", [&] { f.SetPicture(nullptr); }},
      {L"IconSize", [&] { f.SetIconSize(24); }},
      {L"ThemeColor", [&] { f.SetThemeColor(2); }},
      {nullptr, [&] { f.SetThemeColor(2); }},
      {L"HeaderStyle", [&] { f.SetHeaderStyle(0); }},
      {L"GradientHeaderStyle", [&] { f.SetGradientHeaderStyle(3); }},
  };
  for (const Row& row : rows) {
    std::vector<std::wstring> expected;
    if (row.key) expected.assign(row.colour.first ? 2 : 1, row.key);
    const std::string name = row.key ? Utf8FromWide(row.key) : "caption or unchanged theme";
    changed_.clear();
    if (row.write) row.write();
    if (const auto [set, get] = row.colour; set) {
      (f.*set)(kSysButtonFace);
      EXPECT_EQ((f.*get)(), face) << name;
      (f.*set)(0x800000FF);  // no such system colour
      EXPECT_EQ((f.*get)(), -1) << name;
    }
    EXPECT_EQ(changed_, expected) << name;
  }
  f.SetBackColor(RGB(9, 8, 7));
  EXPECT_EQ(f.OwnSurface().BackColor(), RGB(9, 8, 7)) << "BackColor also colours the window";
}

TEST_F(FrameTest, AnUnchangedThemeDoesNotRedrawAndTheGradientFollowsOnlyTheThemeItIsGiven) {
  TzFrames& f = AddFrame(L"fra");
  SetPixelV(f.OwnSurface().DrawingDC(), 100, 60, RGB(1, 1, 1));
  f.SetThemeColor(0);
  EXPECT_EQ(Image(f).At(100, 60), RGB(1, 1, 1)) << "the same theme drew again";
  f.SetColorFrom(RGB(10, 0, 0));
  EXPECT_EQ(f.Theme().start, RGB(129, 169, 226)) << "ColorFrom outside the custom theme changed the gradient";
  f.SetThemeColor(5);
  EXPECT_EQ(f.Theme().start, RGB(10, 0, 0));
  f.SetColorTo(RGB(0, 20, 0));
  EXPECT_EQ(f.Theme().end, RGB(0, 20, 0)) << "ColorTo inside the custom theme goes straight to the gradient";
  f.SetThemeColor(4);
  f.SetStyle(8);
  EXPECT_EQ(f.ThemeColor(), 0);
  EXPECT_EQ(f.Theme().start, RGB(217, 172, 1)) << "the panel preset keeps the gold gradient until a theme write";
}

TEST_F(FrameTest, ReadingColoursTheWindowCopiesTheFontAndMakesTheDisabledPalette) {
  TzFrames& fresh = Plain(0, false);
  EXPECT_EQ(fresh.DisabledColors(), Palette{});
  fresh.SetEnabled(false);
  EXPECT_EQ(Image(fresh).At(100, 118), RGB(0, 0, 0)) << "a never-read frame draws its disabled outline black";

  form_->SetBackColor(RGB(40, 50, 60));
  PropertyBag bag;
  bag.Write(L"BackColor", int32_t{0x020202});
  bag.Write(L"ThemeColor", int32_t{5});
  bag.Write(L"ColorFrom", int32_t{0x060606});
  bag.Write(L"Font", Font::Create(FontDesc{L"Tahoma", 10.0f, FW_BOLD}));
  TzFrames& f = LoadFrame(L"loaded", bag);
  EXPECT_EQ(f.OwnSurface().BackColor(), 0x020202u);
  EXPECT_EQ(f.Theme().start, 0x060606);
  EXPECT_NE(f.Font(), std::get<FontRef>(*bag.Find(L"Font"))) << "the frame copies into its own font";
  EXPECT_EQ(f.Font()->Describe().name, L"Tahoma");
  const auto sys = [](int index) { return static_cast<int32_t>(GetSysColor(index)); };
  const Palette greys{sys(COLOR_INACTIVEBORDER), sys(COLOR_3DLIGHT), RGB(40, 50, 60),
                      sys(COLOR_BTNFACE),        sys(COLOR_BTNFACE), sys(COLOR_INACTIVEBORDER)};
  EXPECT_EQ(f.DisabledColors(), greys);
  f.SetEnabled(false);
  EXPECT_EQ(f.CurrentColors(), greys);
}

TEST_F(FrameTest, AFontWriteCopiesBoldItalicNameAndSizeIntoTheFramesOwnFont) {
  TzFrames& f = AddFrame(L"fra");
  const FontRef own = f.Font();
  f.SetFont(Font::Create(FontDesc{L"Courier New", 12.0f, FW_BOLD, true, true, true, 0}));
  EXPECT_EQ(f.Font(), own) << "the frame keeps its own font object";
  const FontDesc d = own->Describe();
  EXPECT_EQ(std::make_tuple(d.name, d.size, d.bold(), d.italic, d.underline, d.strikethrough, d.charset),
            std::make_tuple(std::wstring(L"Courier New"), 12.0f, true, true, false, false, BYTE{DEFAULT_CHARSET}));
}

TEST_F(FrameTest, ANewFrameStoresItsBackColoursAndGradientHeaderAndIsNeverBelow700By400Twips) {
  TzFrames& f = AddFrame(L"fra");
  const std::vector<SavedControl> saved = form_->Save();
  ASSERT_EQ(saved.size(), 1u);
  const int32_t face = static_cast<int32_t>(GetSysColor(COLOR_BTNFACE));
  // The colours are stored translated, where the default is the ambient system colour itself.
  const std::array<std::pair<std::wstring, int32_t>, 3> want{{{L"BackColor", face}, {L"FillColor", face}, {L"HeaderStyle", 1}}};
  const auto& entries = saved[0].bag.Entries();
  ASSERT_EQ(entries.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(entries[i].first, want[i].first);
    EXPECT_TRUE(BagValuesEqual(entries[i].second, BagValue(want[i].second))) << Utf8FromWide(want[i].first);
  }
  form_->Site(L"fra")->Move(0, 0, 500, 300);
  EXPECT_EQ(std::make_pair(f.Width(), f.Height()), std::make_pair(700, 400));
  form_->Site(L"fra")->Move(0, 0, 900, 300);
  EXPECT_EQ(std::make_pair(f.Width(), f.Height()), std::make_pair(900, 400));
}

TEST_F(FrameTest, MouseMoveReachesTheHostInPixelsByReference) {
  TzFrames& f = AddFrame(L"fra");
  std::vector<std::array<float, 4>> seen;
  f.events.MouseMove = [&](int16_t& b, int16_t& s, float& x, float& y) { seen.push_back({float(b), float(s), x, y}); };
  SendMessageW(f.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 34));
  EXPECT_EQ(seen, (std::vector<std::array<float, 4>>{{1, 0, 12, 34}}));
}

}  // namespace
}  // namespace tessel::test::frames
