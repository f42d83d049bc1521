#pragma once
// The one move-only owner template behind every handle alias of the library (Gdi.h,
// SystemHandles.h): it knows its close function and calls it once for a non-null handle.
#include <utility>

namespace tessel {

// A move-only owner of one handle; Close is called once for a non-null handle.
template <class Handle, void (*Close)(Handle)>
class unique_handle {
 public:
  unique_handle() = default;
  explicit unique_handle(Handle h) : h_(h) {}
  ~unique_handle() { reset(); }
  unique_handle(unique_handle&& other) noexcept : h_(other.release()) {}
  unique_handle& operator=(unique_handle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  unique_handle(const unique_handle&) = delete;
  unique_handle& operator=(const unique_handle&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  // Hands the handle to someone who takes ownership (SetWindowRgn, a bitmap kept selected).
  Handle release() { return std::exchange(h_, nullptr); }
  void reset(Handle h = nullptr) {
    Handle old = std::exchange(h_, h);
    if (old) Close(old);
  }

 private:
  Handle h_ = nullptr;
};

}  // namespace tessel
