#pragma once
// Where a window or a rectangle stands, in pixels, as one value to compare.
#include "tests/support/Prelude.h"


namespace tessel::test {

inline std::tuple<LONG, LONG, LONG, LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Where a window stands in the client area of another.
inline RECT PlacedIn(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace tessel::test
