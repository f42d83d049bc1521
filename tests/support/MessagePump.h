#pragma once
// Message pumps for tests: handle what is waiting, bounded in time, never sleeping blindly.
#include <functional>

namespace tessel::test {

// Handles waiting messages until done() holds (true) or timeoutMs has passed (false).
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000);
// Handles messages for ms milliseconds.
void Pump(int ms);

}  // namespace tessel::test
