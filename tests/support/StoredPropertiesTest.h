#pragma once
// The persistence test of every control whose stored properties come from its property table: a
// StoredSamples specialisation and one INSTANTIATE_TYPED_TEST_SUITE_P line (tests/inputs/PersistenceTest.cpp).
#include "tests/support/Prelude.h"

#include "host/ControlTypes.h"
#include "host/Form.h"
#include "server/contract/PropertyTable.h"
#include "tests/support/Bags.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test {

struct StoredSample {
  const wchar_t* key;
  BagValue value;
  bool keptWhenRead = true;         // false: overwritten while reading on (a field's selection by its text)
  bool defaultsDiffer = false;      // true: read and write defaults differ, so an empty bag's control stores it
  const wchar_t* readAs = nullptr;  // the key the value is read under, when not the one it is written under
};

template <class Control>
struct StoredSamples;  // kTypeName, and Values(): every key once, in stored order, unlike its defaults

template <class Control>
class StoredPropertiesTest : public ::testing::Test {
 protected:
  using Samples = StoredSamples<Control>;

  // One form for the whole suite: a top-level window is dearer than a control.
  static void SetUpTestSuite() {
    types_ = new ControlTypes;
    types_->Register(Samples::kTypeName,
                     [](ControlSite& site) -> std::unique_ptr<UserControl> { return std::make_unique<Control>(site); });
    form_ = Form::Create(L"Stored properties", 9000, 6000, true, types_).release();
  }
  static void TearDownTestSuite() {
    delete std::exchange(form_, nullptr);
    delete std::exchange(types_, nullptr);
  }
  void SetUp() override {
    ASSERT_NE(form_, nullptr);
    form_->SetHostServices(&host_);
    samples_ = Samples::Values();
    for (const StoredSample& s : samples_) {
      const auto* row = RowOf(s.key);
      ASSERT_NE(row, nullptr) << "a sample for a key the table lacks: " << Utf8FromWide(s.key);
      ASSERT_EQ(s.value.index(), static_cast<size_t>(row->type)) << Utf8FromWide(s.key);
    }
    for (const auto& row : Table()) ASSERT_NE(SampleOf(row), nullptr) << "no sample for " << Utf8FromWide(row.key);
  }
  void TearDown() override {
    RemoveAll();
    form_->ClearLoadFailures();
    form_->SetHostServices(nullptr);
  }

  static void RemoveAll() {
    for (const std::wstring& name : form_->ControlNames()) form_->Remove(name);
  }
  static PropertyTable<Control> Table() { return Control::StoredProperties(); }
  const StoredProperty<Control>* RowOf(std::wstring_view key) const {
    for (const auto& row : Table())
      if (SameKey(row.key, key)) return &row;
    return nullptr;
  }
  const StoredSample* SampleOf(const StoredProperty<Control>& row) const {  // null for none or two
    const auto same = [&](const StoredSample& s) { return SameKey(s.key, row.key); };
    const auto found = std::find_if(samples_.begin(), samples_.end(), same);
    return std::count_if(samples_.begin(), samples_.end(), same) == 1 ? &*found : nullptr;
  }

  // A control read from the bag through the form, as a form file is loaded.
  Control& Load(PropertyBag bag) {
    UserControl* c = form_->AddLoaded(Samples::kTypeName, L"c" + std::to_wstring(++placed_),
                                      ExtenderProperties{.width = 6000, .height = 4500}, bag);
    if (!c) throw std::runtime_error("the control did not load: " + form_->LoadFailures().back().message);
    return dynamic_cast<Control&>(*c);
  }
  // Same keys in the same order, each value of the same type and equal as the bag compares.
  static void ExpectSameBag(const PropertyBag& want, const PropertyBag& got) {
    ASSERT_EQ(Keys(got), Keys(want));
    for (size_t i = 0; i < want.size(); ++i) {
      const BagValue& w = want.Entries()[i].second;
      const BagValue& g = got.Entries()[i].second;
      EXPECT_TRUE(w.index() == g.index() && BagValuesEqual(w, g)) << Utf8FromWide(want.Entries()[i].first);
    }
  }

  static inline ControlTypes* types_ = nullptr;
  static inline Form* form_ = nullptr;
  RecordingHost host_;
  std::vector<StoredSample> samples_;
  int placed_ = 0;
};

TYPED_TEST_SUITE_P(StoredPropertiesTest);

// A control read from an empty bag holds every read default; written, it stores only the keys
// that are always written or whose defaults differ, each at its read default.
TYPED_TEST_P(StoredPropertiesTest, DefaultsAreLeftOut) {
  TypeParam& control = this->Load(PropertyBag{});
  PropertyBag want;
  for (const auto& row : this->Table())
    if (!row.writeDefault || this->SampleOf(row)->defaultsDiffer) want.Write(row.key, row.readDefault.Of(control));
  this->ExpectSameBag(want, Written(control));
}

// A bag holding one sample reads into a control that writes it back as it was, beside nothing but
// the always-written keys; that bag reads and writes again unchanged.
TYPED_TEST_P(StoredPropertiesTest, EachValueRoundTrips) {
  const PropertyBag defaults = Written(this->Load(PropertyBag{}));
  for (const auto& row : this->Table()) {
    SCOPED_TRACE(Utf8FromWide(row.key));
    const StoredSample& sample = *this->SampleOf(row);
    PropertyBag stored;
    stored.Write(row.key, sample.value);
    PropertyBag written = Written(this->Load(stored));
    PropertyBag want;
    for (const auto& r : this->Table()) {
      if (&r == &row && sample.keptWhenRead)
        want.Write(r.key, sample.value);
      else if (const BagValue* v = defaults.Find(r.key))
        want.Write(r.key, *v);
    }
    this->ExpectSameBag(want, written);
    this->ExpectSameBag(written, Written(this->Load(written)));
    this->RemoveAll();
  }
}

// Whatever order the values were given in, they are written in the samples' order (the stored form's).
TYPED_TEST_P(StoredPropertiesTest, KeysAreWrittenInTheirOrder) {
  TypeParam& control = this->Load(PropertyBag{});
  std::vector<std::wstring> want;
  for (auto s = this->samples_.rbegin(); s != this->samples_.rend(); ++s) {
    this->RowOf(s->key)->set(control, s->value);
    want.insert(want.begin(), s->key);
  }
  EXPECT_EQ(Keys(Written(control)), want);
}

// A stored value of another type fails the reading with an error that names its key.
TYPED_TEST_P(StoredPropertiesTest, AValueOfTheWrongTypeIsRefusedWithItsKey) {
  TypeParam& control = this->Load(PropertyBag{});
  for (const auto& row : this->Table()) {
    SCOPED_TRACE(Utf8FromWide(row.key));
    const wchar_t* key = this->SampleOf(row)->readAs ? this->SampleOf(row)->readAs : row.key;
    PropertyBag bag;
    bag.Write(row.key, row.type == BagType::String ? BagValue(true) : BagValue(std::wstring(L"?")));
    try {
      control.ReadProperties(bag);
      ADD_FAILURE() << "read without an error";
    } catch (const PropertyError& e) {
      EXPECT_EQ(e.key(), key);
      EXPECT_NE(std::string(e.what()).find("'" + Utf8FromWide(key) + "'"), std::string::npos) << e.what();
    }
  }
}

REGISTER_TYPED_TEST_SUITE_P(StoredPropertiesTest, DefaultsAreLeftOut, EachValueRoundTrips, KeysAreWrittenInTheirOrder,
                            AValueOfTheWrongTypeIsRefusedWithItsKey);

}  // namespace tessel::test
