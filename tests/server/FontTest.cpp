#include "server/contract/Font.h"

#include <gtest/gtest.h>

#include <vector>

#include "server/contract/FontCache.h"
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
}

TEST(Font, HoldersAndWrappersShareOneFontAndACloneIsItsOwn) {
  FontRef first = Font::Create(FontDesc{});
  FontRef copy = first->Clone();
  FontRef wrapped = Font::Wrap(first->Get());
  EXPECT_EQ(wrapped->Get(), first->Get());
  EXPECT_NE(copy->Get(), first->Get());
  wrapped->SetUnderline(true);
  copy->SetItalic(true);
  EXPECT_TRUE(Realised(first).lfUnderline);
  EXPECT_FALSE(first->Describe().italic);
  EXPECT_FALSE(copy->Describe().underline);

  // A font object asked for after changes has the attributes as they stand then.
  FontRef late = Font::Create(kEverything);
  late->SetSize(12.0f);
  late->SetItalic(false);
  CY size{};
  BOOL italic = TRUE;
  SHORT weight = 0;
  ASSERT_TRUE(SUCCEEDED(late->Get()->get_Size(&size)) && SUCCEEDED(late->Get()->get_Italic(&italic)) &&
              SUCCEEDED(late->Get()->get_Weight(&weight)));
  EXPECT_EQ(std::vector<int64_t>({size.int64, italic, weight}), std::vector<int64_t>({120000, 0, 700}));
  EXPECT_EQ(Font::Wrap(late->Get())->Handle(), late->Handle());
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

// Fonts of the same attributes draw with one handle; a change through any holder moves only the
// font object changed, a font that comes back to the attributes of others shares again, and every
// handle realised is released.
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
    FontRef clone = first->Clone();
    clone->SetSize(12.0f);
    ASSERT_NE(clone->Handle(), nullptr);
  });
}

}  // namespace
}  // namespace tessel
