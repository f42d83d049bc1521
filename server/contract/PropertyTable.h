#pragma once
// A control's stored properties, declared once: bag key, type, read default, write default (or
// always written), getter and setter. The table drives ReadProperties (in table order),
// WriteProperties and the shared persistence test. A control whose reading does more than apply
// values in order (holding its drawing, laying out at the end) still takes keys, types and
// defaults from its table and calls ReadStoredProperties inside its own handler.
#include <optional>
#include <span>
#include <utility>

#include "server/contract/PropertyBag.h"

namespace tessel {

// The alternatives of BagValue, in its order.
enum class BagType { Int16, Int32, Bool, String, Single, Font, Picture };

// Reads key as the given type with the given default; a stored value of another type raises
// PropertyError naming the key (a 16-bit value is accepted where a 32-bit one is asked for).
BagValue ReadTyped(const PropertyBag& bag, std::wstring_view key, BagType type, const BagValue& def);

// A default that is a fixed value, or one the control works out when asked (the ambient font).
template <class Control>
class PropertyDefault {
 public:
  PropertyDefault(BagValue value) : value_(std::move(value)) {}  // NOLINT: a value is a default
  PropertyDefault(BagValue (*compute)(const Control&)) : compute_(compute) {}  // NOLINT
  BagValue Of(const Control& control) const { return compute_ ? compute_(control) : value_; }

 private:
  BagValue value_;
  BagValue (*compute_)(const Control&) = nullptr;
};

template <class Control>
struct StoredProperty {
  const wchar_t* key;
  BagType type;
  PropertyDefault<Control> readDefault;
  std::optional<PropertyDefault<Control>> writeDefault;  // empty: the key is always written
  BagValue (*get)(const Control&);
  void (*set)(Control&, const BagValue&);
};

template <class Control>
using PropertyTable = std::span<const StoredProperty<Control>>;

// Reads every property of the table in order and hands each value to its setter. A setter that
// refuses a value lets the error reach the container; the bag's last key read names it.
template <class Control>
void ReadStoredProperties(Control& control, const PropertyBag& bag, PropertyTable<Control> table) {
  for (const auto& p : table) p.set(control, ReadTyped(bag, p.key, p.type, p.readDefault.Of(control)));
}

template <class Control>
void WriteStoredProperties(const Control& control, PropertyBag& bag, PropertyTable<Control> table) {
  for (const auto& p : table) {
    if (p.writeDefault)
      bag.Write(p.key, p.get(control), p.writeDefault->Of(control));
    else
      bag.Write(p.key, p.get(control));
  }
}

}  // namespace tessel
