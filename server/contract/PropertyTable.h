#pragma once
// A control's stored properties, declared once: bag key, type, read default, write default (or
// always written), getter and setter. The table drives ReadProperties (in table order),
// WriteProperties and the shared persistence test. A control whose reading does more than apply
// values in order (holding its drawing, laying out at the end) still takes keys, types and
// defaults from its table and calls ReadStoredProperties inside its own handler.
#include <optional>
#include <span>
#include <type_traits>
#include <utility>

#include "server/contract/OleColor.h"
#include "server/contract/PropertyBag.h"

namespace tessel {

// The alternatives of BagValue, in its order.
enum class BagType { Int16, Int32, Bool, String, Single, Font, Picture };

// Reads key as the given type with the given default; a stored value of another type raises
// PropertyError naming the key (a 16-bit value is accepted where a 32-bit one is asked for).
BagValue ReadTyped(const PropertyBag& bag, std::wstring_view key, BagType type, const BagValue& def);

// A default that is a fixed value, or one the control works out when asked (the ambient font).
// Anything a BagValue is made from is a default as it stands: int16_t{3}, int32_t{0}, L"Text1".
template <class Control>
class PropertyDefault {
 public:
  template <class T, std::enable_if_t<std::is_constructible_v<BagValue, T> &&
                                          !std::is_function_v<std::remove_pointer_t<std::decay_t<T>>>,
                                      int> = 0>
  PropertyDefault(T&& value) : value_(std::forward<T>(value)) {}  // NOLINT: a value is a default
  PropertyDefault(BagValue (*compute)(const Control&)) : compute_(compute) {}  // NOLINT
  BagValue Of(const Control& control) const { return compute_ ? compute_(control) : value_; }

 private:
  BagValue value_;
  BagValue (*compute_)(const Control&) = nullptr;
};

// A colour is stored as a 32-bit integer holding its bits (system colours read as negative).
inline int32_t BagColor(OleColor color) { return static_cast<int32_t>(color); }
inline OleColor ColorFromBag(const BagValue& stored) { return static_cast<OleColor>(std::get<int32_t>(stored)); }

// The container's ambient font, read when the bag is: the usual default of a font key.
template <class Control>
BagValue AmbientFont(const Control& control) {
  return control.Ambient().font;
}

// The setter gets the value as the row's type (an Int32 row an int32_t, never an int16_t).
template <class Control>
struct StoredProperty {
  const wchar_t* key;
  BagType type;
  PropertyDefault<Control> readDefault;
  std::optional<PropertyDefault<Control>> writeDefault;  // empty: the key is always written
  BagValue (*get)(const Control&);
  void (*set)(Control&, const BagValue&);
  // A font or picture key that is not written at all while the control holds no object, instead
  // of being stored as "nothing".
  bool leftOutWhenNothing = false;
};

template <class Control>
using PropertyTable = std::span<const StoredProperty<Control>>;

// Reads every property of the table in order and hands each value to its setter. A setter that
// refuses a value lets the error reach the container; the bag's last key read names it.
template <class Control>
void ReadStoredProperties(Control& control, const PropertyBag& bag, PropertyTable<Control> table) {
  for (const auto& p : table) p.set(control, ReadTyped(bag, p.key, p.type, p.readDefault.Of(control)));
}

// Holds no object: an empty font or picture reference.
inline bool HoldsNothing(const BagValue& value) {
  if (auto font = std::get_if<FontRef>(&value)) return !*font;
  if (auto picture = std::get_if<PictureRef>(&value)) return !*picture;
  return false;
}

template <class Control>
void WriteStoredProperties(const Control& control, PropertyBag& bag, PropertyTable<Control> table) {
  for (const auto& p : table) {
    BagValue value = p.get(control);
    if (p.leftOutWhenNothing && HoldsNothing(value)) continue;
    if (p.writeDefault)
      bag.Write(p.key, std::move(value), p.writeDefault->Of(control));
    else
      bag.Write(p.key, std::move(value));
  }
}

}  // namespace tessel
