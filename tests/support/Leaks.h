#pragma once
// One check that a piece of work gives back every GDI object and window it takes.
#include <functional>

namespace tessel::test {

// Runs round `warmUp` times (what the process keeps once made, window classes and the caches of
// decoders and fonts, is made then), counts GDI objects and windows, runs it `times` more and
// expects both counts back where they were.
void ExpectNoLeaks(const std::function<void()>& round, int warmUp = 1, int times = 3);

}  // namespace tessel::test
