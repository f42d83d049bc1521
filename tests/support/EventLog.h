#pragma once
// Events of a constituent or a control, one line each ("MouseDown(1,0,75,75)", "KeyPress(97)", "Change").
#include "tests/support/Prelude.h"
#include <initializer_list>

namespace tessel::test {

struct EventLog {
  std::vector<std::string> lines;

  void operator()(std::string line) { lines.push_back(std::move(line)); }
  std::vector<std::string> Take() { return std::exchange(lines, {}); }

  // Records every event the object has, each line starting with prefix.
  template <class Events>
  void Watch(Events& events, const std::string& prefix = "") {
    static_assert(requires { events.Change; } || requires { events.Click; }, "give the object's events");
    // "What" or "What(a,b,...)", each argument as a whole number.
    auto note = [this, prefix](const char* what) {
      return [this, prefix, what](auto&... args) {
        std::string line = prefix + what, values;
        for (const int value : std::initializer_list<int>{static_cast<int>(args)...})
          values.append(",").append(std::to_string(value));
        (*this)(values.empty() ? line : line.append("(").append(values, 1).append(")"));
      };
    };
    if constexpr (requires { events.MouseDown; }) {
      events.MouseDown = note("MouseDown");
      events.MouseMove = note("MouseMove");
      events.MouseUp = note("MouseUp");
    }
    if constexpr (requires { events.Click; }) events.Click = note("Click");
    if constexpr (requires { events.DblClick; }) events.DblClick = note("DblClick");
    if constexpr (requires { events.KeyDown; }) {
      events.KeyDown = note("KeyDown");
      events.KeyPress = note("KeyPress");
    }
    if constexpr (requires { events.KeyUp; }) events.KeyUp = note("KeyUp");
    if constexpr (requires { events.GotFocus; }) {
      events.GotFocus = note("GotFocus");
      events.LostFocus = note("LostFocus");
    }
    if constexpr (requires { events.Change; }) events.Change = note("Change");
  }
};

}  // namespace tessel::test
