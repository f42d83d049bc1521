#pragma once
// A form of ButtonStyle controls behind a recording host, their events logged, and picture helpers.
#include "tests/support/Prelude.h"

#include "button/ButtonStyle.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/Picture.h"
#include "tests/button/ButtonCanvas.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Keys.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test::button {

class ButtonTest : public ::testing::Test {
 public:
  void SetUp() override { OpenForm(true); }
  void TearDown() override {
    form_.reset();
    Form::PumpMessages();
  }

  void OpenForm(bool userMode) {
    form_.reset();
    if (!types_.Contains(L"ButtonStyle")) {
      RegisterButtonControls(types_);
      RegisterFrameControls(types_);
    }
    form_ = Form::Create(L"Buttons", 6000, 4000, userMode, &types_);
    ASSERT_TRUE(form_ && form_->hWnd());
    form_->SetHostServices(&host_);
    Form::PumpMessages();
  }

  // A button of width x height pixels at (x, y) of the form or of the frame named container.
  ButtonStyle& Add(const std::wstring& name, int x = 10, int y = 10, int width = 120, int height = 32,
                   const std::wstring& container = L"") {
    auto& b = dynamic_cast<ButtonStyle&>(form_->Add(L"ButtonStyle", name, x * 15, y * 15, width * 15, height * 15, container));
    Wire(b, name);
    return b;
  }

  // Add, in place of the button of that name an earlier case left.
  ButtonStyle& Fresh(const std::wstring& name, int x = 10, int y = 10, int width = 120, int height = 32) {
    if (form_->Control(name)) form_->Remove(name);
    return Add(name, x, y, width, height);
  }

  void Wire(ButtonStyle& b, const std::wstring& name) {
    auto say = [this, name](const wchar_t* what, int v) {
      log_.push_back(name + L"." + what + L"(" + std::to_wstring(v) + L")");
    };
    b.events.MouseDown = [say](int16_t& button, int16_t&, float&, float&) { say(L"MouseDown", button); };
    b.events.MouseUp = [say](int16_t& button, int16_t&, float&, float&) { say(L"MouseUp", button); };
    b.events.Click = [this, name] { log_.push_back(name + L".Click"); };
    b.events.DoubleClick = [say](int16_t& button) { say(L"DoubleClick", button); };
    b.events.MouseOnButton = [say](bool& on) { say(L"MouseOnButton", on); };
    b.events.KeyDown = [say](int16_t& code, int16_t&) { say(L"KeyDown", code); };
    b.events.KeyUp = [say](int16_t& code, int16_t&) { say(L"KeyUp", code); };
  }

  static void Send(const ButtonStyle& b, UINT msg, WPARAM wp = 0, LPARAM lp = MAKELPARAM(5, 5)) {
    SendMessageW(b.hWnd(), msg, wp, lp);
  }
  static void Press(const ButtonStyle& b) {
    Send(b, WM_LBUTTONDOWN, MK_LBUTTON);
    Send(b, WM_LBUTTONUP);
  }
  static void Key(const ButtonStyle& b, UINT vk, bool down) {
    Send(b, down ? WM_KEYDOWN : WM_KEYUP, vk, down ? KeyDownBits(vk) : KeyUpBits(vk));
  }
  // The cursor as the host seam reports it: over the button's window, or over none.
  void Hover(const ButtonStyle* b, WPARAM keys = 0) {
    host_.windowAtPoint = b ? b->hWnd() : nullptr;
    if (b) Send(*b, WM_MOUSEMOVE, keys);
  }

  // The button's window region; none for a rectangular window.
  static unique_hrgn WindowRegion(const ButtonStyle& b) {
    unique_hrgn r(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(b.hWnd(), r.get()) == ERROR) r.reset();
    return r;
  }
  // '1' for each button latched, '0' for each other (or gone).
  static std::wstring Values(std::initializer_list<const ButtonStyle*> buttons) {
    std::wstring s;
    for (const ButtonStyle* b : buttons) s += b && b->Value() ? L'1' : L'0';
    return s;
  }
  std::vector<std::wstring> TakeLog() { return std::exchange(log_, {}); }

  // A bitmap whose pixel (x, y) is colour(x, y) (0x00RRGGBB); bottomUp: a DIB section stored bottom-up.
  template <class Fn>
  static PictureRef Bitmap(int width, int height, Fn colour, bool bottomUp = false) {
    std::vector<uint32_t> argb(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        argb[static_cast<size_t>(bottomUp ? height - 1 - y : y) * width + x] = 0xFF000000u | colour(x, y);
    if (!bottomUp) return Picture::FromBytes(EncodeImage(ImageFormat::Bmp, width, height, argb));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::copy(argb.begin(), argb.end(), static_cast<uint32_t*>(bits));
    return Picture::FromBitmap(dib);
  }
  static PictureRef Icon(int size = 32) { return Picture::FromBytes(IconFile(size, RGB(0, 0, 255))); }

  ControlTypes types_;
  RecordingHost host_;
  std::unique_ptr<Form> form_;
  std::vector<std::wstring> log_;
};

using Log = std::vector<std::wstring>;

}  // namespace tessel::test::button
