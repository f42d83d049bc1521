#include "server/contract/Font.h"

#include <gtest/gtest.h>

#include "tests/support/Leaks.h"

namespace tessel {
namespace {

const FontDesc kEverything{L"Tahoma", 9.0f, 700, true, true, true, 161};  // Greek

LOGFONTW Realised(const FontRef& font) {
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(font->Handle(), sizeof lf, &lf), int(sizeof lf));
  return lf;
}

TEST(Font, KeepsEveryAttributeAndRealisesThemInItsHandle) {
  FontRef font = Font::Create(kEverything);
  EXPECT_EQ(font->Describe(), kEverything);
  LOGFONTW lf = Realised(font);
  EXPECT_EQ(lf.lfHeight, -12);  // 9 points at 96 dpi
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
  EXPECT_EQ(lf.lfCharSet, 161);

  font->SetName(L"Arial");
  font->SetSize(8.25f);
  font->SetBold(false);
  font->SetItalic(false);
  font->SetUnderline(false);
  font->SetStrikethrough(false);
  font->SetCharset(0);
  EXPECT_EQ(font->Describe(), (FontDesc{L"Arial", 8.25f, 400, false, false, false, 0}));
  lf = Realised(font);
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(lf.lfWeight, 400);
  EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
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

TEST(Font, ReleasesEveryHandleItRealised) {
  test::ExpectNoLeaks([] {
    FontRef font = Font::Create(kEverything);
    ASSERT_NE(font->Handle(), nullptr);
    FontRef clone = font->Clone();
    clone->SetSize(12.0f);
    ASSERT_NE(clone->Handle(), nullptr);
  });
}

}  // namespace
}  // namespace tessel
