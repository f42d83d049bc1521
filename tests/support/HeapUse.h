#pragma once
// What the process holds in memory, for tests that check a piece of work gives it back.
#include "tests/support/Prelude.h"
#include <psapi.h>


namespace tessel::test {

// The busy bytes of all heaps, walked with HeapWalk; 0 where the system cannot walk them.
inline int64_t HeapBytesInUse() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(std::min<size_t>(heaps.size(), GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data())));
  int64_t busy = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    HeapUnlock(heap);
  }
  return busy;
}

// GetProcessMemoryInfo's PrivateUsage; Wine leaves it 0, and its PagefileUsage is the resident
// anonymous memory of the whole process, the host libraries' (a compatible bitmap's bits) included.
inline int64_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
    return 0;
  return static_cast<int64_t>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

}  // namespace tessel::test
