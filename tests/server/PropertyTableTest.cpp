#include "server/contract/PropertyTable.h"

#include <gtest/gtest.h>

#include <string>

namespace tessel {
namespace {

// A stand-in control whose setters record what they were handed, in order.
struct Record {
  std::wstring applied;
  int16_t style = 0;
  FontRef font, own = Font::Create(FontDesc{});
};

BagValue OwnFont(const Record& r) { return r.own; }

const StoredProperty<Record> rows[] = {
    // A plain 3 is a 32-bit value: the 16-bit read still takes it as its default.
    {L"Style", BagType::Int16, 3, 3, [](const Record& r) -> BagValue { return r.style; },
     [](Record& r, const BagValue& v) { r.applied += L"Style=" + std::to_wstring(r.style = std::get<int16_t>(v)) + L";"; }},
    {L"Font", BagType::Font, OwnFont, std::nullopt, [](const Record& r) -> BagValue { return r.font; },
     [](Record& r, const BagValue& v) { r.applied += (r.font = std::get<FontRef>(v)) == r.own ? L"Font=own;" : L"Font=?;"; },
     true},
};

TEST(PropertyTable, RowsReadInOrderWithTheirDefaultsAndAMissingObjectIsNotWritten) {
  Record r;
  ReadStoredProperties(r, PropertyBag{}, PropertyTable<Record>(rows));
  EXPECT_EQ(r.applied, L"Style=3;Font=own;");
  PropertyBag bag;
  WriteStoredProperties(r, bag, PropertyTable<Record>(rows));
  ASSERT_EQ(bag.size(), 1u);  // the font is always written, the style at its default is not
  EXPECT_EQ(bag.Entries()[0].first, L"Font");

  r.font = nullptr;  // no font at all: the key stays out instead of holding "nothing"
  r.style = 5;
  PropertyBag again;
  WriteStoredProperties(r, again, PropertyTable<Record>(rows));
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again.Entries()[0].first, L"Style");
  EXPECT_TRUE(std::holds_alternative<int16_t>(again.Entries()[0].second));
}

}  // namespace
}  // namespace tessel
