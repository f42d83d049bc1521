#include "server/contract/Font.h"

#include "tests/support/Prelude.h"

#include "server/contract/FontCache.h"
#include "server/contract/Gdi.h"
#include "server/contract/PropertyBag.h"
#include "tests/support/GdiCount.h"
#include "tests/support/Leaks.h"

namespace tessel {
namespace {

const FontDesc kEverything{L"Tahoma", 9.0f, 700, true, true, true, 161};  // Greek

LOGFONTW Realised(const FontRef& font) {
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(font->Handle(), sizeof lf, &lf), int(sizeof lf));
  return lf;
}
// Height, weight, italic, underline, strikeout and charset of the font's handle.
std::vector<int> Attributes(const FontRef& font) {
  const LOGFONTW lf = Realised(font);
  return {lf.lfHeight, lf.lfWeight, !!lf.lfItalic, !!lf.lfUnderline, !!lf.lfStrikeOut, lf.lfCharSet};
}

TEST(Font, KeepsEveryAttributeAndRealisesThemInItsHandle) {
  FontRef font = Font::Create(kEverything);
  EXPECT_EQ(Attributes(font), (std::vector<int>{-12, 700, 1, 1, 1, 161}));  // 9 points at 96 dpi
  const FontDesc plain{L"Arial", 8.25f, 400, false, false, false, 0};
  font->SetName(plain.name);
  font->SetSize(plain.size);
  font->SetBold(false);
  for (auto set : {&Font::SetItalic, &Font::SetUnderline, &Font::SetStrikethrough}) (*font.*set)(false);
  font->SetCharset(0);
  EXPECT_EQ(font->Describe(), plain);
  EXPECT_EQ(Attributes(font), (std::vector<int>{-11, 400, 0, 0, 0, 0}));
  // A font object asked for after changes has the attributes as they stand then.
  CY size{};
  BOOL italic = TRUE;
  SHORT weight = 0;
  ASSERT_TRUE(SUCCEEDED(font->Get()->get_Size(&size)) && SUCCEEDED(font->Get()->get_Italic(&italic)) &&
              SUCCEEDED(font->Get()->get_Weight(&weight)));
  EXPECT_EQ(std::vector<int64_t>({size.int64, italic, weight}), std::vector<int64_t>({82500, 0, 400}));
  EXPECT_EQ(Font::Wrap(font->Get())->Handle(), font->Handle());
}

TEST(Font, KeepsAFaceThatIsNotInstalledAndRefusesWhatOleCannotKeep) {
  const FontDesc missing{L"No Such Face Anywhere"};
  EXPECT_EQ(Font::Create(missing)->Clone()->Describe(), missing);
  for (const FontDesc& bad : {FontDesc{L""}, FontDesc{std::wstring(32, L'x')}, FontDesc{L"Arial", 0.0f}})
    EXPECT_THROW(Font::Create(bad), std::runtime_error);
  FontRef font = Font::Create(FontDesc{});
  EXPECT_THROW(font->SetSize(-1.0f), std::runtime_error);
  EXPECT_EQ(font->Describe().size, 8.25f);
}

// Fonts alike share one handle; a change through any holder (a wrapper of the same font object too)
// moves only the font object changed, one that comes back to the attributes of others shares again, a
// clone is a font object of its own, and every handle realised is released.
TEST(Font, FontsAlikeShareOneHandleAndAChangeMovesOnlyTheFontChanged) {
  test::ExpectNoLeaks([] {
    const size_t shared = SharedFont::Count();
    FontRef first = Font::Create(kEverything);
    ASSERT_NE(first->Handle(), nullptr);
    const unsigned before = test::GdiObjectCount();
    std::vector<FontRef> twins;
    for (int i = 0; i < 20; ++i) twins.push_back(Font::Create(kEverything));
    for (const FontRef& twin : twins) EXPECT_EQ(twin->Handle(), first->Handle());
    EXPECT_EQ(test::GdiObjectCount(), before);
    EXPECT_EQ(SharedFont::Count(), shared + 1);

    twins[0]->SetSize(12.0f);
    Font::Wrap(twins[1]->Get())->SetItalic(false);  // another holder of the same font object
    EXPECT_EQ(Attributes(twins[0])[0], -16);
    EXPECT_EQ(Attributes(twins[1])[2], 0);
    EXPECT_EQ(Attributes(first), (std::vector<int>{-12, 700, 1, 1, 1, 161}));
    EXPECT_EQ(twins[2]->Handle(), first->Handle());
    EXPECT_EQ(SharedFont::Count(), shared + 3);
    twins[0]->SetSize(9.0f);
    EXPECT_EQ(twins[0]->Handle(), first->Handle());
    EXPECT_EQ(SharedFont::Count(), shared + 2);
    FontRef clone = first->Clone();  // a font object of its own
    EXPECT_NE(clone->Get(), first->Get());
    clone->SetSize(12.0f);
    ASSERT_NE(clone->Handle(), nullptr);
    EXPECT_EQ(Attributes(first)[0], -12);
  });
}

// The faces every picture is drawn with, as the test prefix has them (scripts/common.sh): a face gone
// missing would change every kept image and every measured caption; this says which. Each face asked
// for is the one GetTextFace answers, a TrueType or a bitmap face, and has each of its glyphs itself.
struct FaceCase { const wchar_t* face; bool trueType; const wchar_t* glyphs; };
const FaceCase kFaces[] = {
    {L"MS Sans Serif", false, L"Save"},       // the controls' default font, Wine's bitmap face
    {L"Tahoma", true, L"Save \u00E7\u00F5"},  // the pinned caption font of the kept images
    {L"MS Shell Dlg", true, L"Save"},         // the dialog font: Tahoma
    {L"Marlett", true, L"012r"},              // the caption buttons of every title bar
    {L"Arial", true, L"Save"}, {L"Times New Roman", true, L"Save"}, {L"Courier New", true, L"Save"},
    {L"MS UI Gothic", true, L"\u65E5\u672C\u8A9E \u03B1\u03B2"},  // Japanese and Greek
    {L"Segoe UI Emoji", true, L"\u263A\u2764"},
};

TEST(FontFaces, EachNameDrawsWithItsPinnedFace) {
  unique_hdc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  for (const FaceCase& c : kFaces) {
    const std::string asked = Utf8FromWide(c.face);
    unique_hfont font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, c.face));
    ASSERT_TRUE(font) << asked;
    SelectGuard select(dc.get(), font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.get(), LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    const std::wstring text(c.glyphs);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc.get(), text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    EXPECT_EQ(Utf8FromWide(face), asked);
    EXPECT_EQ((metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0, c.trueType) << asked;
    EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), WORD{0xFFFF}), 0)
        << asked << " lacks glyphs of " << Utf8FromWide(text);
  }
}

}  // namespace
}  // namespace tessel
