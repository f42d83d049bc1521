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
#include "server/contract/Gdi.h"
#include "server/contract/Surface.h"
#include "server/contract/Twips.h"
#include "tests/support/Pixels.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test::frames {

using namespace tessel::frames;

class FrameTest : public ::testing::Test {
 protected:
  static constexpr COLORREF kFrame = RGB(200, 0, 0), kFill = RGB(0, 200, 0), kBox = RGB(0, 0, 200);

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
  // A frame of the style in Tahoma 8 with an empty caption and colours that say what drew each pixel.
  TzFrames& Plain(int style, bool rounded) {
    TzFrames& f = AddFrame(L"fra" + std::to_wstring(++count_));
    f.SetFont(Font::Create(FontDesc{L"Tahoma", 8.0f}));
    f.SetStyle(style);
    f.SetCaption(L"");
    f.SetRoundedCorner(rounded);
    f.SetFrameColor(kFrame);
    f.SetFillColor(kFill);
    f.SetTextBoxColor(kBox);
    return f;
  }
  // A frame read from bag (ReadProperties), 200 x 120 pixels.
  TzFrames& LoadFrame(const std::wstring& name, PropertyBag& bag) {
    ExtenderProperties e;
    e.width = TwipsFromPixelsX(200);
    e.height = TwipsFromPixelsY(120);
    UserControl* c = form_->AddLoaded(L"tzFrames", name, e, bag);
    if (!c) throw std::runtime_error("the frame did not load");
    return static_cast<TzFrames&>(*c);
  }
  // The frame's window as its paints show it (its persistent image), client size.
  static DibProbe Image(const TzFrames& frame) {
    RECT r{};
    GetClientRect(frame.hWnd(), &r);
    WindowDC screen(nullptr);
    void* bits = nullptr;
    unique_hbitmap dib = CreateDib32(screen.get(), r.right, r.bottom, &bits);
    {
      unique_hdc dc(CreateCompatibleDC(screen.get()));
      SelectGuard select(dc.get(), dib.get());
      SendMessageW(frame.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    }
    return DibProbe(dib.get());
  }
  // A 16 x 16 bitmap of one colour.
  static PictureRef Square(COLORREF colour) {
    WindowDC screen(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen.get(), 16, 16);
    {
      unique_hdc dc(CreateCompatibleDC(screen.get()));
      SelectGuard s(dc.get(), bmp);
      unique_hbrush brush(CreateSolidBrush(colour));
      RECT all{0, 0, 16, 16};
      FillRect(dc.get(), &all, brush.get());
    }
    return Picture::FromBitmap(bmp);
  }

  ControlTypes types_;
  std::unique_ptr<Form> form_;
  RecordingHost host_;
  std::vector<std::wstring> changed_;
  int count_ = 0;
};

}  // namespace tessel::test::frames
