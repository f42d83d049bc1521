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

// A number too large for the 16 bits a property keeps it in: the run-time "Overflow" error, which
// a script sees as such; anywhere else it is refused as any invalid value.
class OverflowError : public InvalidPropertyValue {
 public:
  OverflowError() : InvalidPropertyValue("Overflow") {}
};

}  // namespace tessel
