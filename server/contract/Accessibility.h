#pragma once
// What a control tells assistive technology about itself: what it is, what it is called, what it
// shows and what a user can do with it. The container turns this into the system's accessibility
// objects and events; a control knows nothing of those.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

enum class AccessibleRole : uint8_t {
  Pane,         // a control that says nothing of itself
  PushButton,
  CheckButton,
  RadioButton,
  Grouping,     // holds other controls
  Text,         // editable text
  Separator,
  Graphic,      // a drawn box or frame
  Link,
};

// States a control knows about itself. The container adds the ones it knows: focusable, focused,
// unavailable and invisible.
enum AccessibleState : uint32_t {
  kAccessiblePressed = 1u << 0,
  kAccessibleChecked = 1u << 1,
  kAccessibleHot = 1u << 2,
  kAccessibleDefault = 1u << 3,
  kAccessibleReadOnly = 1u << 4,
  kAccessibleProtected = 1u << 5,
};

// A part of a control with a place of its own (a link), as a child element of the control.
struct AccessiblePart {
  AccessibleRole role = AccessibleRole::Pane;
  std::wstring name;
  uint32_t states = 0;
  RECT bounds{};               // pixels of the control's own window
  std::wstring defaultAction;  // empty: none
};

struct AccessibleDescription {
  AccessibleRole role = AccessibleRole::Pane;
  std::wstring name;           // as read aloud, without access marks; empty: the container names it
  uint32_t states = 0;
  bool hasValue = false;       // a text field's text (not a password's)
  std::wstring value;
  std::wstring description;
  std::wstring defaultAction;  // what a click does ("Press"); empty: none
  std::vector<AccessiblePart> parts;
};

// A caption as read aloud: each '&' that marks an access key goes, "&&" stays one '&'.
std::wstring WithoutAccessMarks(std::wstring_view caption);

}  // namespace tessel
