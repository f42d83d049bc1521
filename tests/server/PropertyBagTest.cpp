#include "server/contract/PropertyBag.h"

#include "tests/support/Prelude.h"

#include "server/contract/PropertyTable.h"
#include "tests/support/Bags.h"

namespace tessel {
namespace {

using test::Keys;

TEST(PropertyBag, ValuesEqualToTheirDefaultAreLeftOutAndKeysKeepTheOrderOfTheirFirstWrite) {
  PropertyBag bag;
  bag.Write(L"BackColor", int32_t(0x8000000F), int32_t(0x8000000F));
  bag.Write(L"Caption", std::wstring(L"OK"), std::wstring(L""));
  bag.Write(L"Enabled", true, true);
  bag.Write(L"Alignment", int16_t(2), int16_t(0));
  bag.Write(L"Ratio", 0.5f, 0.5f);
  bag.Write(L"Tag", std::wstring());  // no default: always stored
  bag.Write(L"CAPTION", std::wstring(L"two"));
  bag.Write(L"Überschrift", std::wstring(L"ü"));
  EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"Caption", L"Alignment", L"Tag", L"Überschrift"}));

  // Keys ignore case; absent keys read as the default the reader names.
  EXPECT_EQ(bag.ReadInt32(L"BackColor", 0x80000005), int32_t(0x80000005));
  EXPECT_EQ(bag.ReadString(L"caption", L"x"), L"two");
  EXPECT_EQ(bag.ReadString(L"üBERSCHRIFT", L""), L"ü");
  EXPECT_EQ(bag.ReadString(L"Tag", L"default"), L"");
  EXPECT_FLOAT_EQ(bag.ReadSingle(L"Ratio", 0.25f), 0.25f);

  // Written back to its default a key leaves again; a 16-bit default matches a 32-bit value.
  bag.Write(L"Caption", std::wstring(L""), std::wstring(L""));
  bag.Write(L"Alignment", int16_t(0), int32_t(0));
  bag.Remove(L"ÜBERSCHRIFT");
  EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"Tag"}));
}

TEST(PropertyBag, AWrongTypeNamesTheKeyAndBothTypesAndTheLastKeyReadIsKept) {
  PropertyBag bag;
  bag.Write(L"Caption", true);
  bag.Write(L"Value", int32_t(70000));
  bag.Write(L"Small", int16_t(-3));
  auto error = [](auto read) -> std::string {
    try {
      read();
    } catch (const PropertyError& e) {
      return Utf8FromWide(e.key()) + "|" + e.what();
    }
    return "no error";
  };
  EXPECT_EQ(error([&] { bag.ReadString(L"CAPTION", L""); }),
            "CAPTION|property 'CAPTION' holds a Boolean where a string was expected");
  EXPECT_EQ(error([&] { bag.ReadInt16(L"Value", 0); }),
            "Value|property 'Value' holds a 32-bit integer where a 16-bit integer was expected");
  EXPECT_THROW(bag.ReadFont(L"Value", nullptr), PropertyError);
  EXPECT_THROW(bag.ReadPicture(L"Caption", nullptr), PropertyError);
  EXPECT_THROW(bag.ReadSingle(L"Small", 0.0f), PropertyError);
  EXPECT_THROW(bag.ReadBool(L"small", false), PropertyError);
  EXPECT_EQ(bag.LastKeyRead(), L"small");
  EXPECT_EQ(bag.ReadInt32(L"Small", 0), -3);  // a 16-bit value widens to a 32-bit read
  bag.ReadInt32(L"MaxLength", 0);
  EXPECT_EQ(bag.LastKeyRead(), L"MaxLength");  // found or not
}

TEST(PropertyBag, FontsMatchTheirDefaultByAttributesPicturesByIdentity) {
  FontRef ambient = Font::Create(FontDesc{L"Arial", 9.75f});
  FontRef bold = Font::Create(FontDesc{L"Arial", 9.75f, FW_BOLD});
  PropertyBag bag;
  bag.Write(L"Font", Font::Create(FontDesc{L"Arial", 9.75f}), ambient);
  EXPECT_EQ(bag.Find(L"Font"), nullptr);
  bag.Write(L"Font", bold, ambient);
  EXPECT_EQ(bag.ReadFont(L"Font", ambient), bold);  // the same object, not a copy

  PictureRef a = Picture::FromBitmap(CreateBitmap(2, 2, 1, 32, nullptr));
  PictureRef b = Picture::FromBitmap(CreateBitmap(2, 2, 1, 32, nullptr));
  bag.Write(L"Picture", a, a);
  EXPECT_EQ(bag.Find(L"Picture"), nullptr);
  bag.Write(L"Picture", a, b);
  EXPECT_EQ(bag.ReadPicture(L"Picture", nullptr), a);
  bag.Write(L"NoFont", FontRef(), FontRef());
  bag.Write(L"NoPicture", PictureRef(), PictureRef());
  EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"Font", L"Picture"}));
}

// A stand-in control: what its setters were handed, in order, and what its getters answer.
struct Record {
  std::vector<std::wstring> applied;
  int16_t style = 0;
  FontRef font, own = Font::Create(FontDesc{});
  bool required = false;
};

BagValue OwnFont(const Record& r) { return r.own; }

const StoredProperty<Record> rows[] = {
    // A plain 3 is a 32-bit value: the 16-bit read still takes it as its default.
    {L"Style", BagType::Int16, 3, 3, [](const Record& r) -> BagValue { return r.style; },
     [](Record& r, const BagValue& v) { r.applied.push_back(L"Style=" + std::to_wstring(r.style = std::get<int16_t>(v))); }},
    {L"Font", BagType::Font, OwnFont, OwnFont, [](const Record& r) -> BagValue { return r.font; },
     [](Record& r, const BagValue& v) { r.applied.push_back((r.font = std::get<FontRef>(v)) == r.own ? L"Font=own" : L"Font=other"); },
     true},
    {L"Required", BagType::Bool, false, std::nullopt, [](const Record& r) -> BagValue { return r.required; },
     [](Record& r, const BagValue& v) { r.applied.push_back((r.required = std::get<bool>(v)) ? L"Required=1" : L"Required=0"); }},
};

// Reading applies every row in order with its default; writing leaves defaults out, and a missing
// object too, and writes the always-written rows.
TEST(PropertyTable, ReadsInOrderWithDefaultsAndWritesOnlyWhatDiffers) {
  Record r;
  ReadStoredProperties(r, PropertyBag{}, PropertyTable<Record>(rows));
  EXPECT_EQ(r.applied, (std::vector<std::wstring>{L"Style=3", L"Font=own", L"Required=0"}));
  PropertyBag bag;
  WriteStoredProperties(r, bag, PropertyTable<Record>(rows));
  ASSERT_EQ(bag.size(), 1u);
  EXPECT_EQ(bag.Entries()[0].first, L"Required");

  r.font = nullptr;  // no font at all: the key stays out instead of holding "nothing"
  r.style = 5;
  PropertyBag again;
  WriteStoredProperties(r, again, PropertyTable<Record>(rows));
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again.Entries()[0].first, L"Style");
  EXPECT_TRUE(std::holds_alternative<int16_t>(again.Entries()[0].second));
}

}  // namespace
}  // namespace tessel
