#pragma once
// Solid brushes shared by colour: every holder of one colour holds the same brush, which is
// deleted when its last holder lets it go. A control at rest so holds no brush of its own.
#include <windows.h>

#include <memory>

#include "server/contract/Gdi.h"

namespace tessel {

class SharedBrush {
 public:
  SharedBrush() = default;
  // The brush of that colour, made when no holder has it yet. Empty when it cannot be made.
  static SharedBrush OfColor(COLORREF color);

  HBRUSH get() const { return brush_ ? brush_->get() : nullptr; }
  explicit operator bool() const { return get() != nullptr; }
  void reset() { brush_.reset(); }

 private:
  std::shared_ptr<const unique_hbrush> brush_;
};

}  // namespace tessel
