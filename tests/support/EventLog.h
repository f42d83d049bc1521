#pragma once
// Events of a constituent or a control recorded as one line of text each ("MouseDown(1,0,75,75)",
// "KeyDown(65,0)", "KeyPress(97)", "Change"...), to compare with an expected list.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tessel::test {

struct EventLog {
  std::vector<std::string> lines;
  std::function<void(int16_t&)> onKeyPress;  // runs after KeyPress is recorded and may change KeyAscii

  void operator()(std::string line) { lines.push_back(std::move(line)); }
  std::vector<std::string> Take() { return std::exchange(lines, {}); }

  // Records every event the object has, each line starting with prefix.
  template <class Events>
  void Watch(Events& events, const std::string& prefix = "") {
    static_assert(requires { events.Change; } || requires { events.Click; }, "give the object's events");
    auto note = [this, prefix](const char* what) { return [this, prefix, what] { (*this)(prefix + what); }; };
    auto key = [this, prefix](const char* what) {
      return [this, prefix, what](int16_t& code, int16_t& shift) {
        (*this)(prefix + what + "(" + std::to_string(code) + "," + std::to_string(shift) + ")");
      };
    };
    auto mouse = [this, prefix](const char* what) {
      return [this, prefix, what](int16_t& b, int16_t& s, float& x, float& y) {
        (*this)(prefix + what + "(" + std::to_string(b) + "," + std::to_string(s) + "," +
                std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)) + ")");
      };
    };
    if constexpr (requires { events.MouseDown; }) {
      events.MouseDown = mouse("MouseDown");
      events.MouseMove = mouse("MouseMove");
      events.MouseUp = mouse("MouseUp");
    }
    if constexpr (requires { events.Click; }) events.Click = note("Click");
    if constexpr (requires { events.DblClick; }) events.DblClick = note("DblClick");
    if constexpr (requires { events.KeyDown; }) {
      events.KeyDown = key("KeyDown");
      events.KeyPress = [this, prefix](int16_t& ascii) {
        (*this)(prefix + "KeyPress(" + std::to_string(ascii) + ")");
        if (onKeyPress) onKeyPress(ascii);
      };
    }
    if constexpr (requires { events.KeyUp; }) events.KeyUp = key("KeyUp");
    if constexpr (requires { events.GotFocus; }) {
      events.GotFocus = note("GotFocus");
      events.LostFocus = note("LostFocus");
    }
    if constexpr (requires { events.Change; }) events.Change = note("Change");
  }
};

}  // namespace tessel::test
