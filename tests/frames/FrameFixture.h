#pragma once
// A form for frame tests: the writes frames report, their printed pixels, no unexpected host call.
#include "tests/support/Prelude.h"

#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Twips.h"
#include "tests/support/Pixels.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test::frames {

using namespace tessel::frames;

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterLibraryControls(types_);
    form_ = Form::Create(L"Frames", 9000, 6000, true, &types_);
    ASSERT_TRUE(form_ && form_->hWnd());
    form_->SetHostServices(&host_);
    form_->onPropertyChanged = [this](const std::wstring& name, std::wstring_view key) {
      changed_.emplace_back(key);
      reported_.push_back(name + L"." + std::wstring(key));
    };
  }
  void TearDown() override {
    form_.reset();
    Form::PumpMessages();
    for (const std::wstring& call : host_.calls) ADD_FAILURE() << "host was told: " << Utf8FromWide(call);
  }

  // A new frame of w x h pixels at (x, y) pixels, inside container when one is named.
  TzFrames& AddFrame(const std::wstring& name, int w = 200, int h = 120, const std::wstring& container = {},
                     int x = 0, int y = 0) {
    return static_cast<TzFrames&>(form_->Add(L"tzFrames", name, TwipsFromPixelsX(x), TwipsFromPixelsY(y),
                                             TwipsFromPixelsX(w), TwipsFromPixelsY(h), container));
  }
  HWND Window(const wchar_t* name) const { return form_->Site(name)->hWnd(); }
  // The frame's window as its paints show it (its persistent image), client size.
  static std::unique_ptr<Canvas> Image(const TzFrames& frame) {
    RECT r{};
    GetClientRect(frame.hWnd(), &r);
    auto canvas = std::make_unique<Canvas>(r.right, r.bottom, RGB(1, 2, 3));
    SendMessageW(frame.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
    return canvas;
  }

  ControlTypes types_;
  std::unique_ptr<Form> form_;
  RecordingHost host_;
  std::vector<std::wstring> changed_;   // keys
  std::vector<std::wstring> reported_;  // "control.key"
};

}  // namespace tessel::test::frames
