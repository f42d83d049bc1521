#include <gtest/gtest.h>

#include "server/contract/Gdi.h"
#include "tests/host/HostFixture.h"

namespace tessel::hosttest {
namespace {

TEST(Gdi, OwnedHandlesAreFreedOnceAndMoveTheirOwnership) {
  const unsigned before = test::GdiObjectCount();
  unique_hbrush a(CreateSolidBrush(RGB(1, 2, 3)));
  const HBRUSH raw = a.get();
  unique_hbrush b(std::move(a));
  unique_hbrush c;
  c = std::move(b);
  EXPECT_TRUE(!a && !b && c.get() == raw);
  c = std::move(c);  // self-move keeps the handle
  EXPECT_EQ(test::GdiObjectCount(), before + 1);
  c.reset(CreateSolidBrush(RGB(4, 5, 6)));  // the old one goes at once
  EXPECT_EQ(GetObjectType(raw), 0u);
  HBRUSH taken = c.release();  // released handles belong to whoever took them
  EXPECT_FALSE(c);
  EXPECT_EQ(GetObjectType(taken), static_cast<DWORD>(OBJ_BRUSH));
  DeleteObject(taken);
  EXPECT_EQ(test::GdiObjectCount(), before);
}

}  // namespace
}  // namespace tessel::hosttest
