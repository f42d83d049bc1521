// The owned-handle wrappers free exactly once and hand ownership over on move and release; the DC
// guards put back what they changed; the back buffer reaches its target only when copied.
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

TEST(Gdi, GuardsRestoreTheDcAndTheBackBufferCopiesInOneBlock) {
  Dib dib(20, 10, RGB(0, 0, 0));
  const HGDIOBJ pen = GetCurrentObject(dib.dc(), OBJ_PEN);
  const unsigned before = test::GdiObjectCount();
  {
    unique_hpen red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    SelectGuard selected(dib.dc(), red.get());
    {
      SaveDCGuard saved(dib.dc());
      IntersectClipRect(dib.dc(), 0, 0, 2, 2);
      SelectObject(dib.dc(), GetStockObject(WHITE_PEN));
    }
    EXPECT_EQ(GetCurrentObject(dib.dc(), OBJ_PEN), red.get());
    EXPECT_EQ(GetClipRgn(dib.dc(), unique_hrgn(CreateRectRgn(0, 0, 0, 0)).get()), 0);
    BackBuffer buffer(dib.dc(), 20, 10);
    ASSERT_TRUE(buffer.ok());
    RECT all{0, 0, 20, 10};
    FillRect(buffer.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(dib.At(5, 5), RGB(0, 0, 0));  // nothing reaches the target before the copy
    buffer.CopyTo(dib.dc());
  }
  EXPECT_EQ(GetCurrentObject(dib.dc(), OBJ_PEN), pen);
  ExpectPixels(dib, {{0, 0, RGB(255, 255, 255)}, {19, 9, RGB(255, 255, 255)}});
  EXPECT_EQ(test::GdiObjectCount(), before);
}

}  // namespace
}  // namespace tessel::hosttest
