// What fields hold at rest in GDI objects: fields alike share their font, brush and back buffer,
// so once the system's cache of window DCs is full (it keeps a bounded number of DCs, each with a
// region, for whichever windows drew last) more fields add no object at all.
#include <gtest/gtest.h>

#include <string>

#include "host/Constituent.h"
#include "tests/inputs/TextInputHarness.h"
#include "tests/support/GdiCount.h"

namespace tessel::test::textinput {
namespace {

using FieldObjects = InputTest;

TEST_F(FieldObjects, MoreFieldsAddNoGdiObject) {
  int placed = 0;
  const auto place = [&](const wchar_t* type, int count) {
    for (int i = 0; i < count; ++i, ++placed)
      form_->Add(type, L"f" + std::to_wstring(placed), 150 + (placed % 10) * 850, 150 + (placed / 10 % 12) * 450, 800, 375);
    Form::PumpMessages();
  };
  for (const wchar_t* type : {L"KvTextBox", L"KvText"}) {
    SCOPED_TRACE(testing::Message() << type);
    place(type, 25);  // fills the system's DC cache and makes what fields share
    const unsigned settled = GdiObjectCount();
    place(type, 40);
    EXPECT_EQ(GdiObjectCount(), settled);
    for (const std::wstring& name : form_->ControlNames()) form_->Remove(name);
    Form::PumpMessages();
    place(type, 25);
    EXPECT_EQ(GdiObjectCount(), settled) << "placed again after all went";
  }
}

}  // namespace
}  // namespace tessel::test::textinput
