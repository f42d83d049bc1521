#pragma once
// One form for every test of the input controls, with a recording host and the keys writes name.
#include "tests/support/Prelude.h"

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/Twips.h"
#include "tests/support/Bags.h"
#include "tests/support/EventLog.h"
#include "tests/support/Keys.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

inline std::vector<int> Bounds(const Constituent& c) { return {c.Left(), c.Top(), c.Width(), c.Height()}; }

class InputTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    types_ = new ControlTypes;
    RegisterLibraryControls(*types_);
    form_ = Form::Create(L"Inputs", 9000, 6000, true, types_).release();
  }
  static void TearDownTestSuite() {
    delete form_;
    delete types_;
  }
  void SetUp() override {
    ASSERT_NE(form_, nullptr);
    form_->SetHostServices(&host_);
    form_->onPropertyChanged = [this](const std::wstring&, std::wstring_view key) { changed_.emplace_back(key); };
    SetForegroundWindow(form_->hWnd());
    Form::PumpMessages();
  }
  void TearDown() override {
    RemoveAll();
    form_->onPropertyChanged = nullptr;
    form_->SetHostServices(nullptr);
    form_->ClearLoadFailures();
    form_->SetUserMode(true);
    Form::PumpMessages();
  }

  static void RemoveAll() {
    for (const std::wstring& name : form_->ControlNames()) form_->Remove(name);
    Form::PumpMessages();
  }
  static DibProbe Shot() { return DibProbe(form_->Snapshot().get()); }
  template <class T>
  T& Add(const std::wstring& type, const std::wstring& name, int left, int top, int width, int height) {
    return dynamic_cast<T&>(form_->Add(type, name, left, top, width, height));
  }
  template <class T>
  T* Load(const std::wstring& type, const std::wstring& name, PropertyBag bag, int width = 2400, int height = 450) {
    return dynamic_cast<T*>(form_->AddLoaded(type, name, ExtenderProperties{L"", 0, 3000, width, height}, bag));
  }
  // Each write of the list, one per stored key in the table's order, names its own key once.
  template <class T>
  void ExpectEachWriteNamesItsKey(const std::vector<std::function<void()>>& writes) {
    changed_.clear();
    for (const auto& write : writes) write();
    std::vector<std::wstring> keys;
    for (const auto& row : T::StoredProperties()) keys.push_back(row.key);
    EXPECT_EQ(changed_, keys);
  }

  static inline ControlTypes* types_ = nullptr;
  static inline Form* form_ = nullptr;
  RecordingHost host_;
  std::vector<std::wstring> changed_;
};

}  // namespace tessel::test
