#include "tests/soak/SoakFixture.h"

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <type_traits>

#include "button/ButtonStyle.h"
#include "decor/Bevel.h"
#include "frames/TzFrames.h"
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "server/contract/Font.h"
#include "server/contract/Picture.h"
#include "server/contract/Twips.h"
#include "tests/support/GdiCount.h"
#include "tests/support/HeapUse.h"
#include "tests/support/ImageBytes.h"

namespace tessel::test::soak {
namespace {

const std::wstring& MebibyteText() {
  static const std::wstring text = [] {
    std::wstring t;
    t.reserve(1 << 20);
    while (t.size() < (1u << 20)) t += L"palavra comprida ";
    t.resize(1 << 20);
    return t;
  }();
  return text;
}

template <class C, class A>
void Feed(std::vector<Write>& out, const char* name, void (C::*set)(A)) {
  using T = std::remove_cv_t<std::remove_reference_t<A>>;
  auto add = [&](const std::string& label, T value) {
    out.push_back({std::string(name) + "(" + label + ")",
                   [set, value](UserControl& u) { (dynamic_cast<C&>(u).*set)(value); }});
  };
  if constexpr (std::is_same_v<T, bool>) {
    add("true", true);
    add("false", false);
  } else if constexpr (std::is_integral_v<T>) {
    for (int64_t v : {int64_t{INT_MIN}, int64_t{INT_MAX}, int64_t{0}, int64_t{-1}}) add(std::to_string(v), static_cast<T>(v));
  } else if constexpr (std::is_same_v<T, std::wstring>) {
    add("1 MiB", MebibyteText());
    add("empty", L"");
  } else if constexpr (std::is_same_v<T, PictureRef>) {
    add("icon", Picture::FromBytes(IconFile(32, RGB(200, 0, 0))));
    add("bitmap", Picture::FromBytes(EncodeImage(ImageFormat::Bmp, 40, 20, std::vector<uint32_t>(800, 0xFF00FF00))));
    add("nothing", nullptr);
  } else if constexpr (std::is_same_v<T, FontRef>) {
    add("largest font", Font::Create(FontDesc{L"Arial", 1638.0f, FW_BOLD}));
    add("default font", Font::Create(FontDesc{}));
  } else {
    static_assert(sizeof(T) == 0, "a setter of a type this table does not feed");
  }
}

void FeedControl(std::vector<Write>& w) {
  Feed(w, "Width", &UserControl::SetWidth);
  Feed(w, "Height", &UserControl::SetHeight);
}

}  // namespace

std::vector<Write> EdgeWrites(const std::wstring& type) {
  std::vector<Write> w;
  if (type == L"ButtonStyle") {
    using B = ButtonStyle;
    Feed(w, "ButtonStyle", &B::SetButtonStyle);
    Feed(w, "Mode", &B::SetMode);
    Feed(w, "Caption", &B::SetCaption);
    Feed(w, "CaptionAlign", &B::SetCaptionAlign);
    Feed(w, "CaptionStyle", &B::SetCaptionStyle);
    Feed(w, "CustomClick", &B::SetCustomClick);
    Feed(w, "ButtonShape", &B::SetButtonShape);
    Feed(w, "Picture", &B::SetPicture);
    Feed(w, "PictureAlign", &B::SetPictureAlign);
    Feed(w, "Enabled", &B::SetEnabled);
    Feed(w, "ShowFocusRect", &B::SetShowFocusRect);
    Feed(w, "Value", &B::SetValue);
    Feed(w, "PictureSize", &B::SetPictureSize);
    Feed(w, "MousePointer", &B::SetMousePointer);
    Feed(w, "MouseIcon", &B::SetMouseIcon);
    Feed(w, "Font", &B::SetFont);
    Feed(w, "FontStyle", &B::SetFontStyle);
    Feed(w, "ForeColor", &B::SetForeColor);
    Feed(w, "BackColor", &B::SetBackColor);
    Feed(w, "GradientColor", &B::SetGradientColor);
    Feed(w, "GradientMode", &B::SetGradientMode);
    Feed(w, "ResetDefaultColors", &B::SetResetDefaultColors);
    Feed(w, "HoverColorLocks", &B::SetHoverColorLocks);
    Feed(w, "HoverForeColor", &B::SetHoverForeColor);
    Feed(w, "HoverBackColor", &B::SetHoverBackColor);
    Feed(w, "DelayDrawing", &B::SetDelayDrawing);
  } else if (type == L"tzFrames") {
    using F = TzFrames;
    // Each style with the writes that change its drawing most.
    for (int32_t style = 0; style <= 8; ++style) {
      w.push_back({"Style(" + std::to_string(style) + ")", [style](UserControl& u) { dynamic_cast<F&>(u).SetStyle(style); }});
      Feed(w, "Caption", &F::SetCaption);
      Feed(w, "TextBoxHeight", &F::SetTextBoxHeight);
      Feed(w, "IconSize", &F::SetIconSize);
    }
    Feed(w, "FrameColor", &F::SetFrameColor);
    Feed(w, "BackColor", &F::SetBackColor);
    Feed(w, "FillColor", &F::SetFillColor);
    Feed(w, "TextBoxColor", &F::SetTextBoxColor);
    Feed(w, "TxtBoxShadow", &F::SetTxtBoxShadow);
    Feed(w, "Style", &F::SetStyle);
    Feed(w, "RoundedCorner", &F::SetRoundedCorner);
    Feed(w, "Enabled", &F::SetEnabled);
    Feed(w, "RoundedCornerTxtBox", &F::SetRoundedCornerTxtBox);
    Feed(w, "TextColor", &F::SetTextColor);
    Feed(w, "Alignment", &F::SetAlignment);
    Feed(w, "IconAlignment", &F::SetIconAlignment);
    Feed(w, "Font", &F::SetFont);
    Feed(w, "Picture", &F::SetPicture);
    Feed(w, "ThemeColor", &F::SetThemeColor);
    Feed(w, "ColorFrom", &F::SetColorFrom);
    Feed(w, "ColorTo", &F::SetColorTo);
    Feed(w, "HeaderStyle", &F::SetHeaderStyle);
    Feed(w, "GradientHeaderStyle", &F::SetGradientHeaderStyle);
  } else if (type == L"KvFundo") {
    using K = KvFundo;
    Feed(w, "Caption", &K::SetCaption);
    Feed(w, "CaptionTitulo", &K::SetCaptionTitulo);
    Feed(w, "URL", &K::SetURL);
    Feed(w, "ClickResponse", &K::SetClickResponse);
    Feed(w, "BackColor", &K::SetBackColor);
    Feed(w, "ColorNormal", &K::SetColorNormal);
    Feed(w, "ColorHot", &K::SetColorHot);
    Feed(w, "ColorDown", &K::SetColorDown);
    Feed(w, "Font", &K::SetFont);
    Feed(w, "HoverUnderline", &K::SetHoverUnderline);
    Feed(w, "Stretch", &K::SetStretch);
    Feed(w, "Picture", &K::SetPicture);
  } else if (type == L"KvTextBox") {
    using T = KvTextBox;
    Feed(w, "BackColor", &T::SetBackColor);
    Feed(w, "ForeColor", &T::SetForeColor);
    Feed(w, "Enabled", &T::SetEnabled);
    Feed(w, "Font", &T::SetFont);
    Feed(w, "BackStyle", &T::SetBackStyle);
    Feed(w, "BorderStyle", &T::SetBorderStyle);
    Feed(w, "Alignment", &T::SetAlignment);
    Feed(w, "BorderColor", &T::SetBorderColor);
    Feed(w, "Locked", &T::SetLocked);
    Feed(w, "MaxLength", &T::SetMaxLength);
    Feed(w, "PasswordChar", &T::SetPasswordChar);
    Feed(w, "Text", &T::SetText);
    Feed(w, "SelLength", &T::SetSelLength);
    Feed(w, "SelStart", &T::SetSelStart);
    Feed(w, "SelText", &T::SetSelText);
    Feed(w, "Capitalizar", &T::SetCapitalizar);
    Feed(w, "ColorOnFoco", &T::SetColorOnFoco);
    Feed(w, "ColorOffFoco", &T::SetColorOffFoco);
    Feed(w, "ValidarCampo", &T::SetValidarCampo);
    Feed(w, "ValidarMSG", &T::SetValidarMSG);
  } else if (type == L"KvText") {
    using T = KvText;
    Feed(w, "Alignment", &T::SetAlignment);
    Feed(w, "BackColor", &T::SetBackColor);
    Feed(w, "BorderColor", &T::SetBorderColor);
    Feed(w, "Caption", &T::SetCaption);
    Feed(w, "Enabled", &T::SetEnabled);
    Feed(w, "ForeColor", &T::SetForeColor);
    Feed(w, "FontColor", &T::SetFontColor);
    Feed(w, "Locked", &T::SetLocked);
    Feed(w, "MaxLength", &T::SetMaxLength);
    Feed(w, "PasswordChar", &T::SetPasswordChar);
    Feed(w, "Text", &T::SetText);
    Feed(w, "Font", &T::SetFont);
    Feed(w, "FontCaption", &T::SetFontCaption);
  } else if (type == L"Bevel") {
    Feed(w, "BevelSytle", &Bevel::SetBevelSytle);
  }
  Feed(w, "MousePointer", &UserControl::SetMousePointer);
  FeedControl(w);
  return w;
}

struct HangGuard::State {
  std::mutex mutex;
  std::condition_variable changed;
  std::string step;
  uint64_t generation = 0;
  bool inside = false, done = false;
  std::thread watcher;
};

HangGuard::HangGuard() : state_(std::make_unique<State>()) {
  const char* env = std::getenv("TESSEL_HANG_SECONDS");
  const int seconds = env && std::atoi(env) > 0 ? std::atoi(env) : 30;
  state_->watcher = std::thread([s = state_.get(), seconds] {
    std::unique_lock<std::mutex> lock(s->mutex);
    while (!s->done) {
      if (!s->inside) {
        s->changed.wait(lock);
        continue;
      }
      const uint64_t seen = s->generation;
      if (s->changed.wait_for(lock, std::chrono::seconds(seconds), [&] { return s->done || s->generation != seen; }))
        continue;
      std::fprintf(stderr, "hang guard: '%s' did not return within %d s\n", s->step.c_str(), seconds);
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  });
}

HangGuard::~HangGuard() {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->done = true;
  }
  state_->changed.notify_all();
  state_->watcher.join();
}

void HangGuard::Enter(const std::string& step) {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->step = step;
    state_->inside = true;
    ++state_->generation;
  }
  state_->changed.notify_all();
}

void HangGuard::Leave() {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->inside = false;
    ++state_->generation;
  }
  state_->changed.notify_all();
}

Usage Measure() {
  Form::PumpMessages();
  return Usage{GdiObjectCount(), UserObjectCount(), HeapBytesInUse(), PrivateBytes()};
}

int SoakOperations(int fallback) {
  const char* env = std::getenv("TESSEL_SOAK_OPS");
  return env && std::atoi(env) > 0 ? std::atoi(env) : fallback;
}

void SoakTest::SetUp() {
  RegisterLibraryControls(types_);
  form_ = Form::Create(L"Soak", 9000, 6000, true, &types_);
  ASSERT_TRUE(form_ && form_->hWnd());
  form_->SetHostServices(&host_);
  ShowWindow(form_->hWnd(), SW_SHOWNOACTIVATE);
  Form::PumpMessages();
  // The system keeps a bounded cache of window DCs, each with a region, for the windows that drew
  // last: filled once, before anything is counted.
  static bool filled = false;
  if (filled) return;
  filled = true;
  for (int i = 0; i < 30; ++i)
    form_->Add(i % 2 ? L"KvTextBox" : L"ButtonStyle", L"fill" + std::to_wstring(i), TwipsFromPixelsX(5 + (i % 6) * 90),
               TwipsFromPixelsY(5 + (i / 6) * 40), TwipsFromPixelsX(80), TwipsFromPixelsY(30));
  Redraw();
  for (int i = 0; i < 30; ++i) form_->Remove(L"fill" + std::to_wstring(i));
  Form::PumpMessages();
}

void SoakTest::TearDown() {
  form_.reset();
  Form::PumpMessages();
}

UserControl& SoakTest::Place(int w, int h) {
  return form_->Add(GetParam(), L"c", TwipsFromPixelsX(10), TwipsFromPixelsY(10), TwipsFromPixelsX(w),
                    TwipsFromPixelsY(h));
}

void SoakTest::Remove() {
  form_->Remove(L"c");
  Form::PumpMessages();
}

void SoakTest::Redraw() {
  RedrawWindow(form_->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Form::PumpMessages();
}

}  // namespace tessel::test::soak
