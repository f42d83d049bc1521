#pragma once
// The keys of the values that the form keeps for each control (written with a leading '.'), in
// the order they are written.
#include <string_view>

#include "server/contract/UserControl.h"

namespace tessel {

struct ExtenderKey {
  const wchar_t* name;
  int ExtenderProperties::*number;  // one of number and flag is set
  bool ExtenderProperties::*flag;
  bool notNegative = false;         // sizes and tab positions
};

inline constexpr ExtenderKey kExtenderKeys[] = {
    {L"Left", &ExtenderProperties::left, nullptr},
    {L"Top", &ExtenderProperties::top, nullptr},
    {L"Width", &ExtenderProperties::width, nullptr, true},
    {L"Height", &ExtenderProperties::height, nullptr, true},
    {L"TabIndex", &ExtenderProperties::tabIndex, nullptr, true},
    {L"TabStop", nullptr, &ExtenderProperties::tabStop},
    {L"Visible", nullptr, &ExtenderProperties::visible},
    {L"Enabled", nullptr, &ExtenderProperties::enabled},
};

// The container a control stands in (a frame's name). Written after the keys above, and only by a
// control placed inside another one, so that files without containers keep their bytes.
inline constexpr const wchar_t* kContainerKey = L"Container";
// The name assistive technology reads for a control without a caption. Written last, and only when
// set, so that files without it keep their bytes.
inline constexpr const wchar_t* kAccessibleNameKey = L"AccessibleName";

// The key named (without its '.'), or nullptr.
inline const ExtenderKey* FindExtenderKey(std::wstring_view name) {
  for (const ExtenderKey& k : kExtenderKeys)
    if (SameKey(k.name, name)) return &k;
  return nullptr;
}

}  // namespace tessel
