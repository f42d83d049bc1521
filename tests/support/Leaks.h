#pragma once
// One check that a piece of work gives back every GDI object and window it takes.
#include <functional>

namespace tessel::test {

// Runs round `warmUp` times (to make what the process keeps: window classes, decoder and font caches),
// then `times` more, and expects the counts of GDI objects and windows back where they were.
void ExpectNoLeaks(const std::function<void()>& round, int warmUp = 1, int times = 3);

}  // namespace tessel::test
