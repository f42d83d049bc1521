#pragma once
// A form for long mixed runs: every control type placed by name, writes of every public setter at
// the edges of its type, a hang guard that ends the process when one step does not come back, and
// the process's objects and memory counted at points of a run.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/UserControl.h"
#include "tests/support/RecordingHost.h"

namespace tessel::test::soak {

// One write of one public setter with one value; a write may refuse its value with an error.
struct Write {
  std::string what;
  std::function<void(UserControl&)> apply;
};

// The writes of every public setter of a control type: integers at INT_MIN, INT_MAX, 0 and -1
// (narrowed as a caller's cast would), texts of 1 MiB and empty, both Booleans, pictures of each
// kind and none, the largest font and the default one.
std::vector<Write> EdgeWrites(const std::wstring& type);

// Ends the process with the step's name when a step has not returned within the guard's time
// (TESSEL_HANG_SECONDS, 30 by default): a guard against a frozen thread, not a measure of speed.
class HangGuard {
 public:
  HangGuard();
  ~HangGuard();
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;
  void Enter(const std::string& step);
  void Leave();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

struct Usage {
  unsigned gdi = 0, user = 0;
  int64_t heap = 0, privateBytes = 0;
};
Usage Measure();

// The number of mixed operations a soak runs per control type: TESSEL_SOAK_OPS, else `fallback`.
int SoakOperations(int fallback);

class SoakTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The control of this run's type, placed at (10, 10) pixels, w x h.
  UserControl& Place(int w = 180, int h = 90);
  void Remove();
  // Paints every invalid part of the form now.
  void Redraw();

  ControlTypes types_;
  RecordingHost host_;
  std::unique_ptr<Form> form_;
  HangGuard guard_;
};

}  // namespace tessel::test::soak
