#pragma once
// What a container reaches of each control through automation: its properties by name (the names
// of the controls' type library), and the keys and types it stores, for property bags.
#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string_view>
#include <utility>

#include "server/contract/PropertyTable.h"
#include "server/contract/UserControl.h"

namespace tessel::ole {

struct PropertyRow {
  const wchar_t* name;
  void (*get)(UserControl& control, VARIANT* out);       // null: the property is write-only
  void (*put)(UserControl& control, const VARIANT& in);  // null: read-only
};

// The properties of a type, in the order of its type library; empty for an unknown type.
std::span<const PropertyRow> PropertiesOf(std::wstring_view typeName);
const PropertyRow* FindProperty(std::wstring_view typeName, std::wstring_view name);

struct StoredKey {
  const wchar_t* key;
  BagType type;
};
// The keys a control of the type reads from its bag, in reading order.
std::span<const StoredKey> StoredKeysOf(std::wstring_view typeName);

}  // namespace tessel::ole
