#pragma once
// Layout and hover tracking go on after a failing step: a size a constituent refuses (a negative
// width on a narrow control) skips that one step, and the next step runs.

namespace tessel {

template <class Step>
void Try(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace tessel
