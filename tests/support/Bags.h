#pragma once
// The keys of a bag in their order, and what a control writes into a new bag.
#include "tests/support/Prelude.h"

#include "server/contract/PropertyBag.h"

namespace tessel::test {

inline std::vector<std::wstring> Keys(const PropertyBag& bag) {
  std::vector<std::wstring> keys;
  for (const auto& entry : bag.Entries()) keys.push_back(entry.first);
  return keys;
}

template <class Control>
PropertyBag Written(Control& control) {
  PropertyBag bag;
  control.WriteProperties(bag);
  return bag;
}

}  // namespace tessel::test
