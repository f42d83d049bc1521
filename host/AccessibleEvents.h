#pragma once
// The win events that let a screen reader follow a control: what a control showed assistive
// technology when last looked at, and the name, state and value changes since.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessel {

class HostedControl;

struct AccessibleSnapshot {
  std::wstring name;
  uint32_t state = 0;
  std::wstring value;
  std::vector<uint32_t> partStates;
};

// Reads site again and raises EVENT_OBJECT_NAMECHANGE, STATECHANGE (for the control or a part)
// and VALUECHANGE for what differs from seen, which then holds what was read. Nothing is raised
// while nobody listens for those events, and seen is then dropped (the next look only records).
// After a message that cannot move the focus (focusMayMove false), the focused state is taken from
// seen rather than asked of the system: a mouse move costs no round trip for it.
void FollowAccessibleChanges(const HostedControl& site, std::unique_ptr<AccessibleSnapshot>& seen,
                             bool focusMayMove = true);

}  // namespace tessel
