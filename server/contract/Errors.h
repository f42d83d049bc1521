#pragma once
#include <stdexcept>
#include <string>

namespace tessel {

// A value that a property refuses ("Invalid property value"): a negative size, an alignment of 7.
// Layout steps catch it and go on; while loading, it reaches the form loader, which reports the control.
class InvalidPropertyValue : public std::invalid_argument {
 public:
  explicit InvalidPropertyValue(const std::string& what) : std::invalid_argument(what) {}
};

}  // namespace tessel
