#include "server/contract/Font.h"

#include <gtest/gtest.h>

#include "tests/support/Leaks.h"

namespace tessel {
namespace {

FontDesc Everything() {
  FontDesc d;
  d.name = L"Tahoma";
  d.size = 9.0f;
  d.weight = 700;
  d.italic = true;
  d.underline = true;
  d.strikethrough = true;
  d.charset = 161;  // Greek
  return d;
}

TEST(Font, KeepsEveryAttributeAndRealisesThemInItsHandle) {
  FontRef font = Font::Create(Everything());
  EXPECT_EQ(font->Describe(), Everything());
  EXPECT_TRUE(font->Describe().bold());

  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(font->Handle(), sizeof lf, &lf), int(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -12);  // 9 points at 96 dpi
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_TRUE(lf.lfStrikeOut);
  EXPECT_EQ(lf.lfCharSet, 161);

  font->SetName(L"Arial");
  font->SetSize(8.25f);
  font->SetBold(false);
  font->SetItalic(false);
  font->SetUnderline(false);
  font->SetStrikethrough(false);
  font->SetCharset(0);
  FontDesc plain;
  plain.name = L"Arial";
  plain.charset = 0;
  EXPECT_EQ(font->Describe(), plain);
  ASSERT_EQ(GetObjectW(font->Handle(), sizeof lf, &lf), int(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(lf.lfWeight, 400);
  font->SetWeight(600);
  EXPECT_EQ(font->Describe().weight, 600);
}

TEST(Font, HoldersShareOneFontAndACloneIsItsOwn) {
  FontRef first = Font::Create(FontDesc{});
  FontRef second = first;
  second->SetBold(true);
  EXPECT_TRUE(first->Describe().bold());

  FontRef copy = first->Clone();
  EXPECT_NE(copy->Get(), first->Get());
  EXPECT_EQ(copy->Describe(), first->Describe());
  copy->SetItalic(true);
  copy->SetSize(12.0f);
  EXPECT_FALSE(first->Describe().italic);
  EXPECT_EQ(first->Describe().size, 8.25f);

  // Wrapping an existing font object shares the object: its handle shows the change.
  FontRef wrapped = Font::Wrap(first->Get());
  EXPECT_EQ(wrapped->Get(), first->Get());
  EXPECT_TRUE(wrapped->Describe().bold());
  wrapped->SetUnderline(true);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(first->Handle(), sizeof lf, &lf), int(sizeof lf));
  EXPECT_TRUE(lf.lfUnderline);
}

TEST(Font, KeepsAFaceThatIsNotInstalledAndRefusesWhatOleCannotKeep) {
  FontDesc d;
  d.name = L"No Such Face Anywhere";
  ASSERT_NE(Font::Create(d)->Handle(), nullptr);
  EXPECT_EQ(Font::Create(d)->Clone()->Describe(), d);
  d.name.clear();
  EXPECT_THROW(Font::Create(d), std::runtime_error);
  d.name = std::wstring(32, L'x');
  EXPECT_THROW(Font::Create(d), std::runtime_error);
  d = FontDesc{};
  d.size = 0.0f;
  EXPECT_THROW(Font::Create(d), std::runtime_error);
  FontRef font = Font::Create(FontDesc{});
  EXPECT_THROW(font->SetSize(-1.0f), std::runtime_error);
  EXPECT_EQ(font->Describe().size, 8.25f);
}

TEST(Font, ReleasesEveryHandleItRealised) {
  test::ExpectNoLeaks([] {
    FontRef font = Font::Create(Everything());
    ASSERT_NE(font->Handle(), nullptr);
    FontRef clone = font->Clone();
    clone->SetSize(12.0f);
    ASSERT_NE(clone->Handle(), nullptr);
  });
}

}  // namespace
}  // namespace tessel
