#include "tools/benchmark/Benchmark.h"

#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace tessel::bench {

std::vector<Group>& Groups() {
  static std::vector<Group> groups;
  return groups;
}

double MedianMilliseconds(const std::function<void()>& work, int repetitions) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  work();  // warm: first-use costs (class registration, font mapping) are not the work measured
  double samples[5];
  for (double& sample : samples) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < repetitions; ++i) work();
    QueryPerformanceCounter(&end);
    sample = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / repetitions;
  }
  std::sort(std::begin(samples), std::end(samples));
  return samples[2];
}

void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace tessel::bench

// benchmark [group-name-substring]: prints one Markdown table per group, ours beside native.
int wmain(int argc, wchar_t** argv) {
  using namespace tessel::bench;
  OleInitialize(nullptr);
  const wchar_t* only = argc > 1 ? argv[1] : nullptr;
  for (const Group& group : Groups()) {
    if (only && !wcsstr(group.name.c_str(), only)) continue;
    wprintf(L"\n### %ls\n\n| work | ours (ms) | native | native (ms) | ratio |\n|---|---|---|---|---|\n", group.name.c_str());
    for (const Comparison& row : group.make()) {
      const double ours = MedianMilliseconds(row.ours, row.repetitions);
      if (row.theirs) {
        const double theirs = MedianMilliseconds(row.theirs, row.repetitions);
        wprintf(L"| %ls | %.3f | %ls | %.3f | %.2fx |\n", row.work.c_str(), ours, row.native.c_str(), theirs,
                theirs > 0 ? ours / theirs : 0.0);
      } else {
        wprintf(L"| %ls | %.3f | — | — | — |\n", row.work.c_str(), ours);
      }
      fflush(stdout);
    }
  }
  OleUninitialize();
  return 0;
}
