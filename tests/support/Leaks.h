#pragma once
// One check that a piece of work gives back every GDI object and window it takes.
#include "tests/support/Prelude.h"

#include "tests/support/GdiCount.h"
#include "tests/support/MessagePump.h"

namespace tessel::test {

// Runs round `warmUp` times (to make what the process keeps: window classes, decoder and font caches),
// then `times` more, and expects the counts of GDI objects and windows back where they were.
inline void ExpectNoLeaks(const std::function<void()>& round, int warmUp = 1, int times = 3) {
  for (int i = 0; i < warmUp; ++i) round();
  Pump(0);
  const unsigned gdi = GdiObjectCount();
  const unsigned user = UserObjectCount();
  for (int i = 0; i < times && !::testing::Test::HasFatalFailure(); ++i) round();
  Pump(0);
  EXPECT_EQ(GdiObjectCount(), gdi) << "GDI objects";
  EXPECT_EQ(UserObjectCount(), user) << "windows";
}

}  // namespace tessel::test
