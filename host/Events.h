#pragma once
// Event signatures shared by constituents and controls. Arguments are by reference: a handler
// that changes one changes what the raiser goes on with (a KeyAscii set to 0 suppresses the key).
#include <cstdint>
#include <functional>

namespace tessel {

using NotifyEvent = std::function<void()>;
using KeyEvent = std::function<void(int16_t& keyCode, int16_t& shift)>;
using KeyPressEvent = std::function<void(int16_t& keyAscii)>;
// Button: 1 left, 2 right, 4 middle. Shift: 1 shift, 2 ctrl, 4 alt. X and Y in twips of the source.
using MouseEvent = std::function<void(int16_t& button, int16_t& shift, float& x, float& y)>;

template <class Handler, class... Args>
void Raise(const Handler& handler, Args&... args) {
  if (handler) handler(args...);
}

}  // namespace tessel
