#pragma once
// Event signatures shared by constituents and controls. Arguments are by reference: a handler
// that changes one changes what the raiser goes on with (a KeyAscii set to 0 suppresses the key).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace tessel {

// One event's handler. An event without a handler, as most events of most controls on a form
// are, takes the room of one pointer; the handler itself is kept apart once one is set.
template <class Signature>
class Event;

template <class... Args>
class Event<void(Args...)> {
 public:
  using Handler = std::function<void(Args...)>;

  Event() = default;
  Event(std::nullptr_t) {}
  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Event> &&
                                              std::is_constructible_v<Handler, F>>>
  Event(F&& handler) {
    Set(Handler(std::forward<F>(handler)));
  }
  Event(const Event& other) { Set(other.handler_ ? Handler(*other.handler_) : Handler()); }
  Event(Event&&) noexcept = default;
  Event& operator=(const Event& other) {
    if (this != &other) Set(other.handler_ ? Handler(*other.handler_) : Handler());
    return *this;
  }
  Event& operator=(Event&&) noexcept = default;
  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Event> &&
                                              std::is_constructible_v<Handler, F>>>
  Event& operator=(F&& handler) {
    Set(Handler(std::forward<F>(handler)));
    return *this;
  }

  explicit operator bool() const { return handler_ != nullptr; }
  // Calling an event without a handler is an error, as calling an empty std::function is.
  void operator()(Args... args) const {
    if (!handler_) throw std::bad_function_call();
    (*handler_)(std::forward<Args>(args)...);
  }

 private:
  void Set(Handler handler) { handler_ = handler ? std::make_unique<Handler>(std::move(handler)) : nullptr; }

  std::unique_ptr<Handler> handler_;
};

using NotifyEvent = Event<void()>;
using KeyEvent = Event<void(int16_t& keyCode, int16_t& shift)>;
using KeyPressEvent = Event<void(int16_t& keyAscii)>;
// Button: 1 left, 2 right, 4 middle. Shift: 1 shift, 2 ctrl, 4 alt. X and Y in twips of the source.
using MouseEvent = Event<void(int16_t& button, int16_t& shift, float& x, float& y)>;

template <class Handler, class... Args>
void Raise(const Handler& handler, Args&... args) {
  if (handler) handler(args...);
}

}  // namespace tessel
