#include "tests/support/Leaks.h"

#include <gtest/gtest.h>

#include "tests/support/GdiCount.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Pixels.h"

namespace tessel::test {

void ExpectNoLeaks(const std::function<void()>& round, int warmUp, int times) {
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
