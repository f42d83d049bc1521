#include "server/contract/PropertyTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessel {
namespace {

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
