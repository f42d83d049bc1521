#pragma once
// What the process holds in memory, for tests that check a piece of work gives it back.
#include <cstdint>

namespace tessel::test {

// The busy bytes of all heaps, walked with HeapWalk; 0 where the system cannot walk them.
int64_t HeapBytesInUse();
// GetProcessMemoryInfo's PrivateUsage (PagefileUsage where the system leaves it 0).
int64_t PrivateBytes();

}  // namespace tessel::test
