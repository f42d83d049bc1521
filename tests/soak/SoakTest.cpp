// Every control type driven as a long-running program drives it: every public setter at the edges
// of its type, and a long mixed run of pointer, keys, focus, writes, sizes, hiding and redraws,
// with the process's objects and memory compared at a tenth of the run and at its end.
#include <cstdio>
#include <random>
#include <string>

#include "server/contract/Twips.h"
#include "tests/soak/SoakFixture.h"

namespace tessel::test::soak {
namespace {

// Each write returns (a refused value says so with an error) and the control still paints; what
// it made goes with it.
TEST_P(SoakTest, EveryPublicSetterAtTheEdgesReturnsAndTheControlStillPaints) {
  const Usage before = Measure();
  UserControl& control = Place();
  const HWND window = control.hWnd();
  for (const Write& write : EdgeWrites(GetParam())) {
    // A field's edit takes seconds for a text of 1 MiB under Wine: left to the fields' own tests.
    if (write.what == "Text(1 MiB)" || write.what == "SelText(1 MiB)") continue;
    guard_.Enter(write.what);
    try {
      write.apply(control);
    } catch (const std::exception&) {
      // A refused value is an answer.
    }
    Redraw();
    guard_.Leave();
    ASSERT_TRUE(IsWindow(window)) << write.what;
  }
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

// A long mixed run: the same objects at its tenth and at its end, and the heap within 64 KiB
// (TESSEL_SOAK_OPS sets its length, tests/README.md).
TEST_P(SoakTest, AMixedRunKeepsObjectsAndMemoryFlat) {
  std::vector<Write> writes;
  for (Write& w : EdgeWrites(GetParam()))
    if (w.what.find("1 MiB") == std::string::npos) writes.push_back(std::move(w));
  const int operations = SoakOperations(150);
  std::mt19937 random(20261207);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  // Every write once first: what the process keeps once made (cached fonts, decoders) is made.
  for (const Write& w : writes) {
    try {
      w.apply(Place());
    } catch (const std::exception&) {
    }
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
        host_.windowAtPoint = target;
        SendMessageW(target, WM_MOUSEMOVE, 0, at);
        break;
      case 1:  // and goes
        host_.windowAtPoint = form_->hWnd();
        SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
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
        guard_.Enter(w.what);
        try {
          w.apply(*control);
        } catch (const std::exception&) {
        }
        break;
      }
      case 7:
        form_->Site(L"c")->Move(TwipsFromPixelsX(pick(40)), TwipsFromPixelsY(pick(40)), TwipsFromPixelsX(pick(400)),
                                TwipsFromPixelsY(pick(300)));
        break;
      case 8:
        visible = !visible;
        form_->Site(L"c")->SetVisible(visible);
        break;
      default:
        Redraw();
        break;
    }
    Form::PumpMessages();
    host_.calls.clear();
    guard_.Leave();
    if (op == operations / 10 || op == operations) {
      Remove();
      const Usage now = Measure();
      std::printf("[ soak     ] %ls after %d: %u GDI objects, %u windows, %lld heap bytes, %lld private bytes\n",
                  GetParam(), op, now.gdi, now.user, static_cast<long long>(now.heap),
                  static_cast<long long>(now.privateBytes));
      if (op == operations / 10) {
        tenth = now;
      } else {
        EXPECT_EQ(now.gdi, tenth.gdi);
        EXPECT_EQ(now.user, tenth.user);
        EXPECT_LT(now.heap - tenth.heap, 64 * 1024);
        EXPECT_LT(now.privateBytes - tenth.privateBytes, 8 * 1024 * 1024);
      }
      control = &Place();
      visible = true;
    }
  }
  Remove();
}

INSTANTIATE_TEST_SUITE_P(EveryControl, SoakTest,
                         ::testing::Values(L"ButtonStyle", L"tzFrames", L"KvFundo", L"KvTextBox", L"KvText", L"Bevel",
                                           L"KvLinha"),
                         [](const auto& info) {
                           std::string name;
                           for (const wchar_t* c = info.param; *c; ++c) name.push_back(static_cast<char>(*c));
                           return name;
                         });

}  // namespace
}  // namespace tessel::test::soak
