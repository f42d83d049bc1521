#pragma once
// The benchmark program measures our controls beside the native Win32 control that does the same
// work, in one run on one machine, and prints the ratio. Absolute times vary from machine to
// machine; the ratio is what the library promises.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tessel::bench {

// One row of the printed table: the same work done by our control and by the native one.
struct Comparison {
  std::wstring work;                  // "place + first paint, one KvTextBox"
  std::wstring native;                // "EDIT with a client edge"
  std::function<void()> ours;         // one repetition of the work
  std::function<void()> theirs;       // one repetition of the native work (empty: none to compare)
  int repetitions = 50;               // timed repetitions per sample
  std::function<void()> prepare;        // untimed, before each sample of ours (and its warm-up)
  std::function<void()> prepareNative; // the same for the native work
  int units = 1;                      // the time printed is per unit (a form of 100 controls: 100)
};

// A row that is a quantity rather than a time (bytes, objects per control): each side is measured
// once and printed with its unit.
struct Quantity {
  std::wstring work;
  std::wstring native;
  std::wstring unit;                  // "bytes", "objects"
  std::function<double()> ours;
  std::function<double()> theirs;
};

// A group of rows that belong together (one area of the library); each file of the program adds
// its groups through a static Registration.
struct Group {
  std::wstring name;
  std::function<std::vector<Comparison>()> make;  // called once, on the benchmark's thread
  std::function<std::vector<Quantity>()> quantities;  // optional, printed after the times
};

std::vector<Group>& Groups();

struct Registration {
  Registration(std::wstring name, std::function<std::vector<Comparison>()> make,
               std::function<std::vector<Quantity>()> quantities = {}) {
    Groups().push_back({std::move(name), std::move(make), std::move(quantities)});
  }
};

// Milliseconds per repetition: the median of seven samples; prepare runs untimed before each.
double MedianMilliseconds(const std::function<void()>& work, int repetitions,
                          const std::function<void()>& prepare = {});
// Both works sampled in turn (ours, theirs, ours, ...), each the median of its samples; theirs
// may be empty. Each prepare runs untimed before each sample of its work.
struct Timing {
  double ours = 0;
  double theirs = 0;
};
Timing MedianMilliseconds(const std::function<void()>& ours, const std::function<void()>& theirs, int repetitions,
                          const std::function<void()>& prepareOurs = {},
                          const std::function<void()>& prepareTheirs = {});

// The GDI objects and the windows (with their children) the process holds now.
unsigned GdiObjects();
unsigned Windows();

// An activation context of the common controls 6, made from a manifest written to the temporary
// folder; null where the system has none. Native controls made inside it are comctl32 6's.
HANDLE CommonControls6();
// A native child window of parent, made inside CommonControls6() when asked and there is one.
HWND NativeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, RECT at, bool commonControls6);

// Lets posted and sent messages run (paints, timers) without waiting for new ones.
void PumpPending();

}  // namespace tessel::bench
