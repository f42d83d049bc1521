// The test programs' main. Another program on the same display may take the activation (and with it
// the keyboard focus) at any moment, and a test of the focus, the keyboard or the objects that follow
// them cannot pass while it holds it. A test that fails while another program held the activation
// runs again (four times at the most); a failure without it fails the program at once.
#include "tests/support/Prelude.h"

#include "server/contract/SystemHandles.h"

namespace {

// A hidden top-level window of the test thread: the system tells every top-level window of a
// thread that loses the activation which thread took it, and of one that gets it which thread had
// it (WM_ACTIVATEAPP). A test that began or ended while another program held the activation may
// not have been able to take it at all.
class ActivationWatch {
 public:
  ActivationWatch() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TesselTestActivationWatch";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              wc.hInstance, nullptr);
  }
  ~ActivationWatch() { DestroyWindow(window_); }

  // Whether another process took the activation since the last call; messages sent to the thread
  // are handled first, nothing posted is taken from its queue.
  static bool TakenSinceLastAsked() {
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
    const bool taken = taken_ || HeldByAnotherProgram();
    taken_ = false;
    return taken;
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    // Wine names no thread when another process takes the activation: the foreground tells.
    if (msg == WM_ACTIVATEAPP && (OfAnotherProgram(static_cast<DWORD>(lp)) || HeldByAnotherProgram())) taken_ = true;
    return DefWindowProcW(w, msg, wp, lp);
  }
  static bool HeldByAnotherProgram() {
    const HWND foreground = GetForegroundWindow();
    return IsWindowVisible(foreground) && OfAnotherProgram(GetWindowThreadProcessId(foreground, nullptr));
  }
  // A thread of another process than this one and the desktop's.
  static bool OfAnotherProgram(DWORD thread) {
    if (!thread || thread == GetWindowThreadProcessId(GetDesktopWindow(), nullptr)) return false;
    const tessel::unique_hfile h(OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, thread));
    return h && GetProcessIdOfThread(h.get()) != GetCurrentProcessId();
  }

  HWND window_ = nullptr;
  static inline bool taken_ = false;
};

// Notes the tests that failed while the activation was taken, and whether any failed without.
class TakenListener : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override { ActivationWatch::TakenSinceLastAsked(); }
  void OnTestEnd(const testing::TestInfo& test) override {
    const bool taken = ActivationWatch::TakenSinceLastAsked();
    if (!test.result()->Failed()) return;
    if (!taken) {
      failedOtherwise = true;
      return;
    }
    if (!again.empty()) again += ':';
    again += std::string(test.test_suite_name()) + '.' + test.name();
  }
  std::string again;
  bool failedOtherwise = false;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  ActivationWatch watch;
  auto* listener = new TakenListener;
  testing::UnitTest::GetInstance()->listeners().Append(listener);  // gtest owns it
  int result = RUN_ALL_TESTS();
  for (int round = 0; round < 4 && result != 0 && !listener->failedOtherwise && !listener->again.empty(); ++round) {
    printf("[ taken    ] another program took the activation during %s: run again\n", listener->again.c_str());
    fflush(stdout);
    GTEST_FLAG_SET(filter, listener->again);
    listener->again.clear();
    result = RUN_ALL_TESTS();
  }
  return result;
}
