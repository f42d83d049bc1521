#pragma once
// A form holding the text input controls, with a recording host seam, keystrokes delivered to the
// real edit windows as window messages, and bag helpers shared by the KvTextBox and KvText tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/PropertyBag.h"
#include "tests/support/Keys.h"
#include "tests/support/MessagePump.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test::textinput {

// Keystrokes go to the edit window itself, so the form's navigation stays out of the way.
inline void Type(HWND edit, wchar_t ch, UINT vk = 0) { SendStroke(edit, ch, vk); }
inline void TypeText(HWND edit, const std::wstring& text) { SendText(edit, text.c_str()); }

using test::PumpUntil;

// The keys of a bag in the order they were written.
inline std::vector<std::wstring> Keys(const PropertyBag& bag) {
  std::vector<std::wstring> keys;
  for (const auto& entry : bag.Entries()) keys.push_back(entry.first);
  return keys;
}

class TextInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTextInputControls(types_);
    form_ = Form::Create(L"Text inputs", 6000, 4000, true, &types_);
    ASSERT_TRUE(form_ && form_->hWnd());
    form_->SetHostServices(&host_);
    SetForegroundWindow(form_->hWnd());
    Form::PumpMessages();
  }
  void TearDown() override {
    form_.reset();
    Form::PumpMessages();
  }

  template <class T>
  T& Add(const std::wstring& type, const std::wstring& name, int left, int top, int width, int height) {
    return dynamic_cast<T&>(form_->Add(type, name, left, top, width, height));
  }
  template <class T>
  T* Load(const std::wstring& type, const std::wstring& name, PropertyBag& bag, int left = 0, int top = 0,
          int width = 2400, int height = 450) {
    ExtenderProperties e;
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = height;
    return dynamic_cast<T*>(form_->AddLoaded(type, name, e, bag));
  }
  PropertyBag Saved(const std::wstring& name) {
    for (auto& saved : form_->Save())
      if (saved.extender.name == name) return saved.bag;
    ADD_FAILURE() << "no saved control";
    return {};
  }

  ControlTypes types_;
  RecordingHost host_;
  std::unique_ptr<Form> form_;
};

}  // namespace tessel::test::textinput
