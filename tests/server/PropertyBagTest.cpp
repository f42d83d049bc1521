#include "server/contract/PropertyBag.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessel {
namespace {

std::vector<std::wstring> Keys(const PropertyBag& bag) {
  std::vector<std::wstring> keys;
  for (const auto& [k, v] : bag.Entries()) keys.push_back(k);
  return keys;
}

TEST(PropertyBag, ValuesEqualToTheirDefaultAreLeftOutAndOthersKept) {
  PropertyBag bag;
  bag.Write(L"BackColor", int32_t(0x8000000F), int32_t(0x8000000F));
  bag.Write(L"Caption", std::wstring(L"OK"), std::wstring(L""));
  bag.Write(L"Enabled", true, true);
  bag.Write(L"Alignment", int16_t(2), int16_t(0));
  bag.Write(L"Ratio", 0.5f, 0.5f);
  bag.Write(L"Tag", std::wstring());  // no default: always stored
  EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"Caption", L"Alignment", L"Tag"}));

  // Absent keys read as the default the reader names, stored keys as stored.
  EXPECT_EQ(bag.ReadInt32(L"BackColor", 0x80000005), int32_t(0x80000005));
  EXPECT_EQ(bag.ReadString(L"Caption", L"x"), L"OK");
  EXPECT_EQ(bag.ReadInt16(L"Alignment", 0), 2);
  EXPECT_EQ(bag.ReadString(L"Tag", L"default"), L"");
  EXPECT_FLOAT_EQ(bag.ReadSingle(L"Ratio", 0.25f), 0.25f);

  // Writing a stored key back to its default takes it out again; a 16-bit default matches a
  // 32-bit value of the same number.
  bag.Write(L"Caption", std::wstring(L""), std::wstring(L""));
  bag.Write(L"Alignment", int16_t(0), int32_t(0));
  EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"Tag"}));
}

TEST(PropertyBag, KeysIgnoreCaseAndKeepTheOrderOfTheirFirstWrite) {
  PropertyBag bag;
  bag.Write(L"Caption", std::wstring(L"one"));
  bag.Write(L"Width", int32_t(100));
  bag.Write(L"CAPTION", std::wstring(L"two"));
  bag.Write(L"Überschrift", std::wstring(L"ü"));
  EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"Caption", L"Width", L"Überschrift"}));
  EXPECT_EQ(bag.ReadString(L"caption", L""), L"two");
  EXPECT_EQ(bag.ReadString(L"üBERSCHRIFT", L""), L"ü");
  EXPECT_EQ(bag.ReadInt32(L"wIdTh", 0), 100);
  bag.Remove(L"WIDTH");
  EXPECT_EQ(bag.Find(L"width"), nullptr);
  EXPECT_EQ(bag.size(), 2u);
}

TEST(PropertyBag, AWrongTypeNamesTheKeyAndBothTypes) {
  PropertyBag bag;
  bag.Write(L"Caption", true);
  bag.Write(L"Value", int32_t(70000));
  bag.Write(L"Small", int16_t(-3));
  try {
    bag.ReadString(L"CAPTION", L"");
    FAIL() << "no error";
  } catch (const PropertyError& e) {
    EXPECT_EQ(e.key(), L"CAPTION");
    EXPECT_STREQ(e.what(), "property 'CAPTION' holds a Boolean where a string was expected");
  }
  try {
    bag.ReadInt16(L"Value", 0);
    FAIL() << "no error";
  } catch (const PropertyError& e) {
    EXPECT_STREQ(e.what(), "property 'Value' holds a 32-bit integer where a 16-bit integer was expected");
  }
  EXPECT_THROW(bag.ReadFont(L"Value", nullptr), PropertyError);
  EXPECT_THROW(bag.ReadPicture(L"Caption", nullptr), PropertyError);
  EXPECT_THROW(bag.ReadSingle(L"Small", 0.0f), PropertyError);
  EXPECT_THROW(bag.ReadBool(L"Small", false), PropertyError);
  // A 16-bit value widens to a 32-bit read.
  EXPECT_EQ(bag.ReadInt32(L"Small", 0), -3);
}

TEST(PropertyBag, RemembersTheLastKeyReadWhetherFoundOrNot) {
  PropertyBag bag;
  bag.Write(L"Text", std::wstring(L"abc"));
  EXPECT_EQ(bag.LastKeyRead(), L"");
  bag.ReadString(L"Text", L"");
  EXPECT_EQ(bag.LastKeyRead(), L"Text");
  bag.ReadInt32(L"MaxLength", 0);
  EXPECT_EQ(bag.LastKeyRead(), L"MaxLength");
  EXPECT_THROW(bag.ReadBool(L"text", false), PropertyError);
  EXPECT_EQ(bag.LastKeyRead(), L"text");
}

TEST(PropertyBag, FontsMatchTheirDefaultByAttributesPicturesByIdentity) {
  FontDesc desc;
  desc.name = L"Arial";
  desc.size = 9.75f;
  FontRef ambient = Font::Create(desc);
  FontRef same = Font::Create(desc);
  desc.weight = FW_BOLD;
  FontRef bold = Font::Create(desc);

  PropertyBag bag;
  bag.Write(L"Font", same, ambient);
  EXPECT_EQ(bag.Find(L"Font"), nullptr);
  bag.Write(L"Font", bold, ambient);
  ASSERT_NE(bag.Find(L"Font"), nullptr);
  EXPECT_EQ(bag.ReadFont(L"Font", ambient), bold);  // the same object, not a copy
  bag.Write(L"NoFont", FontRef(), FontRef());
  EXPECT_EQ(bag.Find(L"NoFont"), nullptr);

  PictureRef a = Picture::FromBitmap(CreateBitmap(2, 2, 1, 32, nullptr));
  PictureRef b = Picture::FromBitmap(CreateBitmap(2, 2, 1, 32, nullptr));
  bag.Write(L"Picture", a, a);
  EXPECT_EQ(bag.Find(L"Picture"), nullptr);
  bag.Write(L"Picture", a, b);
  EXPECT_EQ(bag.ReadPicture(L"Picture", nullptr), a);
  bag.Write(L"Picture", PictureRef(), PictureRef());
  EXPECT_EQ(bag.Find(L"Picture"), nullptr);
}

TEST(PropertyBag, Utf8ConversionKeepsEveryCharacter) {
  const std::wstring text = L"Ação \u20AC \U0001F600 \"q\"\n";
  EXPECT_EQ(Utf8FromWide(text), "A\xC3\xA7\xC3\xA3o \xE2\x82\xAC \xF0\x9F\x98\x80 \"q\"\n");
  EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
}

}  // namespace
}  // namespace tessel
