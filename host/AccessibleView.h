#pragma once
// What a window of the container shows assistive technology, read afresh at every question: a
// placed control's own description with what the container adds (focus, availability,
// visibility, the form's name for it, the shortcut of its access key), or a form holding controls.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/contract/Accessibility.h"

namespace tessel {

class HostedControl;

struct AccessibleView {
  LONG role = 0;                // ROLE_SYSTEM_*
  std::wstring name;
  uint32_t state = 0;           // STATE_SYSTEM_*
  bool hasValue = false;
  std::wstring value;
  bool isProtected = false;     // a password: its value is never told
  std::wstring description;
  std::wstring shortcut;        // "Alt+S"
  std::wstring defaultAction;
  struct Part {
    LONG role = 0;
    std::wstring name;
    uint32_t state = 0;
    RECT bounds{};              // client pixels of the window
    std::wstring defaultAction;
  };
  std::vector<Part> parts;      // child ids 1 to parts.size()
  std::vector<HWND> children;   // the controls standing on it, in tab order; child ids after the parts
};

enum class AccessibleKind : uint8_t { Control, Form };

// What a question needs read besides the control's own description: the states the container adds
// and the controls standing on the window each cost the system round trips.
enum AccessibleRead : unsigned { kReadDescription = 0, kReadState = 1, kReadChildren = 2, kReadAll = 3 };

// Reads the window; false when nothing of that kind lives there any more.
bool ReadAccessibleView(AccessibleKind kind, HWND window, AccessibleView& view, unsigned read = kReadAll);
// The control's view alone (no children), for the events that follow its changes. focused, when
// given, is whether the focus is on the control as already known, and the system is not asked.
void DescribeHosted(const HostedControl& site, AccessibleView& view, bool withState = true,
                    std::optional<bool> focused = std::nullopt);
// The controls standing on window, in tab order.
std::vector<HWND> AccessibleChildWindows(HWND window);

LONG SystemRole(AccessibleRole role);
uint32_t SystemStates(uint32_t states);

}  // namespace tessel
