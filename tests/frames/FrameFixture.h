#pragma once
// A form for frame tests: frames placed or loaded on it, the keys their writes report, the
// pixels of a frame's persistent image, and the skipped drawing steps the host was told of.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Surface.h"
#include "server/contract/Gdi.h"
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
    form_->onPropertyChanged = [this](const std::wstring&, std::wstring_view key) { changed_.emplace_back(key); };
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
  // A frame loaded from bag (ReadProperties), w x h pixels.
  TzFrames& LoadFrame(const std::wstring& name, PropertyBag& bag, int w = 200, int h = 120) {
    ExtenderProperties e;
    e.width = TwipsFromPixelsX(w);
    e.height = TwipsFromPixelsY(h);
    UserControl* c = form_->AddLoaded(L"tzFrames", name, e, bag);
    if (!c) throw std::runtime_error("the frame did not load");
    return static_cast<TzFrames&>(*c);
  }
  // The frame's window as its paints show it (its persistent image).
  static DibProbe Image(const TzFrames& frame) {
    RECT r{};
    GetClientRect(frame.hWnd(), &r);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB};
    void* bits = nullptr;
    WindowDC screen(nullptr);
    unique_hbitmap dib(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
      unique_hdc dc(CreateCompatibleDC(screen.get()));
      SelectGuard select(dc.get(), dib.get());
      SendMessageW(frame.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    }
    return DibProbe(dib.get());
  }

  ControlTypes types_;
  std::unique_ptr<Form> form_;
  RecordingHost host_;
  std::vector<std::wstring> changed_;
};

// Text for failure messages.
inline std::string Rgb(int32_t c) { return Hex(static_cast<COLORREF>(c)); }

}  // namespace tessel::test::frames
