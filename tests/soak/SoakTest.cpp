// Every control type driven as a long-running program drives it: every setter at its edges, and a
// long mixed run with the process's objects and memory compared at a tenth of the run and at its end.
#include "tests/support/Prelude.h"
#include <mutex>
#include <random>
#include <type_traits>

#include "button/ButtonStyle.h"
#include "decor/Bevel.h"
#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "server/contract/Font.h"
#include "server/contract/Picture.h"
#include "server/contract/Twips.h"
#include "tests/support/GdiCount.h"
#include "tests/support/HeapUse.h"
#include "tests/support/ImageBytes.h"
#include "tests/support/Pixels.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test::soak {
namespace {

int EnvInt(const char* name, int fallback) {
  const char* env = std::getenv(name);
  return env && std::atoi(env) > 0 ? std::atoi(env) : fallback;
}

// One write of one public setter with one value; a refused value (an error) is an answer too.
struct Write {
  std::string what;
  std::function<void(UserControl&)> apply;
  void TryOn(UserControl& u) const try {
    apply(u);
  } catch (const std::exception&) {
  }
};

const std::wstring& MebibyteText() {
  static const std::wstring text = [] {
    std::wstring t;
    while (t.size() < (1u << 20)) t += L"palavra comprida ";
    return t.substr(0, 1 << 20);
  }();
  return text;
}

// A setter's writes at the edges of its type; integers narrowed as a caller's cast would.
template <class C, class A>
void Feed(std::vector<Write>& out, const char* name, void (C::*set)(A)) {
  using T = std::remove_cv_t<std::remove_reference_t<A>>;
  auto add = [&](const std::string& label, T value) {
    out.push_back({std::string(name) + "(" + label + ")",
                   [set, value](UserControl& u) { (dynamic_cast<C&>(u).*set)(value); }});
  };
  if constexpr (std::is_same_v<T, bool>) {
    for (bool v : {true, false}) add(v ? "true" : "false", v);
  } else if constexpr (std::is_integral_v<T>) {
    for (int64_t v : {int64_t{INT_MIN}, int64_t{INT_MAX}, int64_t{0}, int64_t{-1}}) add(std::to_string(v), static_cast<T>(v));
    // A narrower type's own edges, which no cast of the int edges gives.
    if constexpr (sizeof(T) < sizeof(int32_t))
      for (T v : {std::numeric_limits<T>::min(), std::numeric_limits<T>::max()}) add(std::to_string(v), v);
  } else if constexpr (std::is_same_v<T, std::wstring>) {
    add("1 MiB", MebibyteText());
    add("empty", L"");
  } else if constexpr (std::is_same_v<T, PictureRef>) {
    add("icon", Picture::FromBytes(IconFile(32, RGB(200, 0, 0))));
    add("bitmap", Picture::FromBytes(EncodeImage(ImageFormat::Bmp, 40, 20, std::vector<uint32_t>(800, 0xFF00FF00))));
    add("nothing", nullptr);
  } else if constexpr (std::is_same_v<T, FontRef>) {
    add("largest font", Font::Create(FontDesc{L"Arial", 1638.0f, FW_BOLD}));
    add("large font", Font::Create(FontDesc{L"Arial", 72.0f, FW_BOLD}));
    add("default font", Font::Create(FontDesc{}));
  } else {
    static_assert(sizeof(T) == 0, "a setter of a type this table does not feed");
  }
}

#define FEED(C, name) Feed(w, #name, &C::Set##name);

std::vector<Write> EdgeWrites(const std::wstring& type) {
  std::vector<Write> w;
  if (type == L"ButtonStyle") {
    using B = ButtonStyle;
    FEED(B, ButtonStyle) FEED(B, Mode) FEED(B, Caption) FEED(B, CaptionAlign) FEED(B, CaptionStyle)
    FEED(B, CustomClick) FEED(B, ButtonShape) FEED(B, Picture) FEED(B, PictureAlign) FEED(B, Enabled)
    FEED(B, ShowFocusRect) FEED(B, Value) FEED(B, PictureSize) FEED(B, MousePointer) FEED(B, MouseIcon) FEED(B, Font)
    FEED(B, FontStyle) FEED(B, ForeColor) FEED(B, BackColor) FEED(B, GradientColor) FEED(B, GradientMode)
    FEED(B, ResetDefaultColors) FEED(B, HoverColorLocks) FEED(B, HoverForeColor) FEED(B, HoverBackColor)
    FEED(B, DelayDrawing)
  } else if (type == L"tzFrames") {
    using F = TzFrames;
    // Each style with the writes that change it most: with the corners its preset gives, then the
    // figures again with rounded corners and a rounded caption box (the caption is measured alike).
    for (int32_t style = 0; style <= 8; ++style)
      for (const bool rounded : {false, true}) {
        w.push_back({"Style(" + std::to_string(style) + (rounded ? ", rounded)" : ")"), [style, rounded](UserControl& u) {
                       F& f = dynamic_cast<F&>(u);
                       f.SetStyle(style);
                       if (!rounded) return;
                       f.SetRoundedCorner(true);
                       f.SetRoundedCornerTxtBox(true);
                     }});
        if (!rounded) FEED(F, Caption)
        FEED(F, TextBoxHeight) FEED(F, IconSize)
      }
    // A disabled frame greys its icon, at every size, in each style that shows one.
    for (int32_t style = 0; style <= 8; ++style) {
      w.push_back({"Style(" + std::to_string(style) + ", disabled, icon)", [style](UserControl& u) {
                     F& f = dynamic_cast<F&>(u);
                     f.SetStyle(style);
                     f.SetPicture(Picture::FromBytes(IconFile(32, RGB(200, 0, 0))));
                     f.SetEnabled(false);
                   }});
      FEED(F, IconSize)
    }
    FEED(F, FrameColor) FEED(F, BackColor) FEED(F, FillColor) FEED(F, TextBoxColor) FEED(F, TxtBoxShadow)
    FEED(F, Style) FEED(F, RoundedCorner) FEED(F, Enabled) FEED(F, RoundedCornerTxtBox) FEED(F, TextColor)
    FEED(F, Alignment) FEED(F, IconAlignment) FEED(F, Font) FEED(F, Picture) FEED(F, ThemeColor) FEED(F, ColorFrom)
    FEED(F, ColorTo) FEED(F, HeaderStyle) FEED(F, GradientHeaderStyle)
  } else if (type == L"KvFundo") {
    using K = KvFundo;
    FEED(K, Caption) FEED(K, CaptionTitulo) FEED(K, URL) FEED(K, ClickResponse) FEED(K, BackColor)
    FEED(K, ColorNormal) FEED(K, ColorHot) FEED(K, ColorDown) FEED(K, Font) FEED(K, HoverUnderline) FEED(K, Stretch)
    FEED(K, Picture)
  } else if (type == L"KvTextBox") {
    using T = KvTextBox;
    FEED(T, BackColor) FEED(T, ForeColor) FEED(T, Enabled) FEED(T, Font) FEED(T, BackStyle) FEED(T, BorderStyle)
    FEED(T, Alignment) FEED(T, BorderColor) FEED(T, Locked) FEED(T, MaxLength) FEED(T, PasswordChar) FEED(T, Text)
    FEED(T, SelLength) FEED(T, SelStart) FEED(T, SelText) FEED(T, Capitalizar) FEED(T, ColorOnFoco)
    FEED(T, ColorOffFoco) FEED(T, ValidarCampo) FEED(T, ValidarMSG)
  } else if (type == L"KvText") {
    using T = KvText;
    FEED(T, Alignment) FEED(T, BackColor) FEED(T, BorderColor) FEED(T, Caption) FEED(T, Enabled) FEED(T, ForeColor)
    FEED(T, FontColor) FEED(T, Locked) FEED(T, MaxLength) FEED(T, PasswordChar) FEED(T, Text) FEED(T, Font)
    FEED(T, FontCaption)
  } else if (type == L"Bevel") {
    FEED(Bevel, BevelSytle)
  }
  FEED(UserControl, MousePointer) FEED(UserControl, Width) FEED(UserControl, Height)
  // Both at once: figures as large as the largest window, which the system would draw for minutes.
  w.push_back({"Size(INT_MAX, INT_MAX)", [](UserControl& u) { u.SetWidth(INT_MAX); u.SetHeight(INT_MAX); }});
  return w;
}

#undef FEED

// Ends the process naming a step that has not returned within TESSEL_HANG_SECONDS (30): no measure of speed.
class HangGuard {
 public:
  void Enter(const std::string& step) {
    std::lock_guard<std::mutex> lock(mutex_);
    step_ = step;
    since_ = std::chrono::steady_clock::now();
  }
  void Leave() { Enter(""); }

 private:
  const int seconds_ = EnvInt("TESSEL_HANG_SECONDS", 30);
  std::mutex mutex_;
  std::string step_;
  std::chrono::steady_clock::time_point since_;
  std::jthread watcher_{[this](std::stop_token stop) {  // stopped and joined first when the guard goes
    for (; !stop.stop_requested(); std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (step_.empty() || std::chrono::steady_clock::now() - since_ < std::chrono::seconds(seconds_)) continue;
      std::fprintf(stderr, "hang guard: '%s' did not return within %d s\n", step_.c_str(), seconds_);
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }};
};

struct Usage { unsigned gdi = 0, user = 0; int64_t heap = 0, privateBytes = 0; };
Usage Measure() {
  Form::PumpMessages();
  return Usage{GdiObjectCount(), UserObjectCount(), HeapBytesInUse(), PrivateBytes()};
}

// Under Wine glibc's allocator keeps large blocks given back unless its threshold is fixed (tests/README.md).
bool LargeBlocksGoBackToTheSystem() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return true;
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  return tunables && std::strstr(tunables, "glibc.malloc.mmap_threshold=");
}

class SoakTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override {
    RegisterLibraryControls(types_);
    form_ = Form::Create(L"Soak", 9000, 6000, true, &types_);
    ASSERT_TRUE(form_ && form_->hWnd());
    form_->SetHostServices(&host_);
    ShowWindow(form_->hWnd(), SW_SHOWNOACTIVATE);
    Form::PumpMessages();
    // The system keeps a bounded cache of window DCs, each with a region, for the windows that drew
    // last: filled once, before anything is counted.
    static bool filled = false;
    if (std::exchange(filled, true)) return;
    for (int i = 0; i < 30; ++i)
      form_->Add(i % 2 ? L"KvTextBox" : L"ButtonStyle", L"fill" + std::to_wstring(i), TwipsFromPixelsX(5 + (i % 6) * 90),
                 TwipsFromPixelsY(5 + (i / 6) * 40), TwipsFromPixelsX(80), TwipsFromPixelsY(30));
    Redraw();
    for (int i = 0; i < 30; ++i) form_->Remove(L"fill" + std::to_wstring(i));
    Form::PumpMessages();
  }
  void TearDown() override {
    form_.reset();
    Form::PumpMessages();
  }
  // The control of this run's type, at (10, 10) pixels, 180 x 90.
  UserControl& Place() {
    return form_->Add(GetParam(), L"c", TwipsFromPixelsX(10), TwipsFromPixelsY(10), TwipsFromPixelsX(180),
                      TwipsFromPixelsY(90));
  }
  void Remove() {
    form_->Remove(L"c");
    Form::PumpMessages();
  }
  void Redraw() {
    RedrawWindow(form_->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Form::PumpMessages();
  }

  ControlTypes types_;
  RecordingHost host_;
  std::unique_ptr<Form> form_;
  HangGuard guard_;
};

// Each write returns (a refused one with an error), the control still paints, and what it made goes with it.
TEST_P(SoakTest, EveryPublicSetterAtTheEdgesReturnsAndTheControlStillPaints) {
  const Usage before = Measure();
  UserControl& control = Place();
  const HWND window = control.hWnd();
  for (const Write& write : EdgeWrites(GetParam())) {
    // A field's edit takes seconds for a text of 1 MiB under Wine: left to the fields' own tests.
    if (write.what == "Text(1 MiB)" || write.what == "SelText(1 MiB)") continue;
    guard_.Enter(write.what);
    write.TryOn(control);
    Redraw();
    guard_.Leave();
    ASSERT_TRUE(IsWindow(window)) << write.what;
  }
  // A fresh control at the largest size, every part drawn as its defaults show it.
  Remove();
  guard_.Enter("a fresh control at the largest size");
  UserControl& fresh = Place();
  fresh.SetWidth(INT_MAX);
  fresh.SetHeight(INT_MAX);
  Redraw();
  guard_.Enter("a last paint at an ordinary size");
  form_->Site(L"c")->Move(150, 150, TwipsFromPixelsX(180), TwipsFromPixelsY(90));
  form_->Site(L"c")->SetVisible(true);
  Redraw();
  guard_.Leave();
  Remove();
  const Usage after = Measure();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
}

// Larger than the screen, a control composes and keeps no image larger than the screen it is seen
// on (nor, off the screen's left edge, than the largest image: an 8K screen's pixels); moved far to
// the left, the part that comes into view is drawn as the part that was in view.
TEST_P(SoakTest, LargerThanTheScreenEveryImageIsAScreenfulAndWhatComesIntoViewIsDrawn) {
  const long long screen = 1LL * GetSystemMetrics(SM_CXVIRTUALSCREEN) * GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const long long before = LargestBitmapPixels();
  UserControl& control = Place();
  auto largestAt = [&](int left, int width, int height, int top = 10) {
    form_->Site(L"c")->Move(TwipsFromPixelsX(left), TwipsFromPixelsY(top), width, height);
    Redraw();
    return LargestBitmapPixels();
  };
  const long long largest = std::max(before, screen);
  EXPECT_LE(largestAt(10, INT_MAX, TwipsFromPixelsY(90)), largest) << "as wide as a window can be";
  EXPECT_LE(largestAt(10, TwipsFromPixelsX(180), INT_MAX), largest) << "as tall";
  EXPECT_LE(largestAt(10, INT_MAX, INT_MAX), largest) << "both";
  EXPECT_LE(largestAt(-10000, INT_MAX, INT_MAX, -10000), std::max(before, 7680LL * 4320)) << "far off the screen";

  // What the control shows, as its paints do, 4,000 pixels wide: a column 1,000 pixels in, in view,
  // and the same column of the part 3,000 pixels further that the move brings into view.
  constexpr int kWide = 4000, kHigh = 90;
  auto column = [&](int x) {
    Canvas canvas(kWide, kHigh, RGB(1, 2, 3));
    SendMessageW(control.hWnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kHigh; ++y) pixels.push_back(canvas.At(x, y));
    return pixels;
  };
  largestAt(0, TwipsFromPixelsX(kWide), TwipsFromPixelsY(kHigh));
  const std::vector<COLORREF> inView = column(1000);
  // The button and the frame keep an image of themselves, drawn in their own time: their column
  // shows their edges, which an image not drawn again would not show further along.
  if (std::wstring_view(GetParam()) == L"ButtonStyle" || std::wstring_view(GetParam()) == L"tzFrames") {
    EXPECT_NE(std::count(inView.begin(), inView.end(), inView.front()), kHigh) << "the column shows the control's edges";
  }
  largestAt(-3000, TwipsFromPixelsX(kWide), TwipsFromPixelsY(kHigh));
  EXPECT_EQ(column(3010), inView);
  Remove();
}

// A mixed run of TESSEL_SOAK_OPS steps: the same objects at its tenth and at its end, the heap within 64 KiB.
TEST_P(SoakTest, AMixedRunKeepsObjectsAndMemoryFlat) {
  // Not the 1 MiB texts (seconds each under Wine), nor the largest font: what the system keeps of
  // its glyphs comes and goes by megabytes (tests/README.md).
  std::vector<Write> writes;
  for (Write& w : EdgeWrites(GetParam()))
    if (w.what.find("1 MiB") == std::string::npos && w.what.find("largest font") == std::string::npos)
      writes.push_back(std::move(w));
  const int operations = EnvInt("TESSEL_SOAK_OPS", 150);
  if (operations >= 10000) {
    ASSERT_TRUE(LargeBlocksGoBackToTheSystem())
        << "the private bytes of a long run under Wine need GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072, "
           "as ctest sets it";
  }
  std::mt19937 random(static_cast<unsigned>(EnvInt("TESSEL_SOAK_SEED", 20261207)));
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  // Every write once first: what the process keeps once made (cached fonts, decoders) is made.
  for (const Write& w : writes) {
    w.TryOn(Place());
    Remove();
  }
  UserControl* control = &Place();
  bool visible = true;
  Usage tenth{};
  for (int op = 1; op <= operations; ++op) {
    const HWND window = control->hWnd();
    const HWND child = GetWindow(window, GW_CHILD);
    const HWND target = child && pick(2) ? child : window;
    const LPARAM at = MAKELPARAM(pick(200), pick(100));
    const int kind = pick(10);
    guard_.Enter("operation " + std::to_string(op) + " of kind " + std::to_string(kind));
    switch (kind) {
      case 0:  // the pointer comes in
      case 1:  // or goes
        host_.windowAtPoint = kind == 0 ? target : form_->hWnd();
        SendMessageW(target, WM_MOUSEMOVE, 0, kind == 0 ? at : MAKELPARAM(-5, -5));
        break;
      case 2:
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(target, WM_LBUTTONUP, 0, at);
        break;
      case 3: {
        static const UINT keys[] = {VK_SPACE, VK_RETURN, VK_ESCAPE, 'A', VK_LEFT, VK_BACK};
        const UINT key = keys[pick(6)];
        SendMessageW(target, WM_KEYDOWN, key, 1);
        if (key != VK_LEFT) SendMessageW(target, WM_CHAR, key == 'A' ? 'a' : key, 1);
        SendMessageW(target, WM_KEYUP, key, 1 | (3u << 30));
        break;
      }
      case 4:
        SetFocus(pick(2) ? target : form_->hWnd());
        break;
      case 5:
      case 6: {
        const Write& w = writes[static_cast<size_t>(pick(static_cast<int>(writes.size())))];
        guard_.Enter("operation " + std::to_string(op) + ", " + w.what);
        w.TryOn(*control);
        break;
      }
      case 7:
        form_->Site(L"c")->Move(TwipsFromPixelsX(pick(40)), TwipsFromPixelsY(pick(40)), TwipsFromPixelsX(pick(400)),
                                TwipsFromPixelsY(pick(300)));
        break;
      case 8:
        form_->Site(L"c")->SetVisible(visible = !visible);
        break;
      default:
        Redraw();
    }
    Form::PumpMessages();
    host_.calls.clear();
    guard_.Leave();
    if (op != operations / 10 && op != operations) continue;
    Remove();
    const Usage now = Measure();
    std::printf("[ soak     ] %ls after %d: %u GDI objects, %u windows, %lld heap bytes, %lld private bytes\n",
                GetParam(), op, now.gdi, now.user, static_cast<long long>(now.heap),
                static_cast<long long>(now.privateBytes));
    if (op == operations) {
      EXPECT_EQ(now.gdi, tenth.gdi);
      EXPECT_EQ(now.user, tenth.user);
      EXPECT_LT(now.heap - tenth.heap, 64 * 1024);
      if (operations >= 10000) {
        EXPECT_LT(now.privateBytes - tenth.privateBytes, 1024 * 1024);
      }
    }
    tenth = now;
    control = &Place();
    visible = true;
  }
  Remove();
}

INSTANTIATE_TEST_SUITE_P(EveryControl, SoakTest,
                         ::testing::Values(L"ButtonStyle", L"tzFrames", L"KvFundo", L"KvTextBox", L"KvText", L"Bevel",
                                           L"KvLinha"),
                         [](const auto& info) { return std::string(info.param, info.param + wcslen(info.param)); });

}  // namespace
}  // namespace tessel::test::soak
