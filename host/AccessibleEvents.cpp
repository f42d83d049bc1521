#include "host/AccessibleEvents.h"

#include <oleacc.h>

#include "host/AccessibleView.h"
#include "host/ControlSite.h"

namespace tessel {

void FollowAccessibleChanges(const HostedControl& site, std::unique_ptr<AccessibleSnapshot>& seen,
                             bool focusMayMove) {
  const HWND window = site.hWnd();
  if (!window || !site.Loaded()) return;
  // Windows answers whether anyone hooks these events, so a form nobody reads costs nothing here.
  if (!IsWinEventHookInstalled(EVENT_OBJECT_STATECHANGE) && !IsWinEventHookInstalled(EVENT_OBJECT_NAMECHANGE)) {
    seen.reset();
    return;
  }
  AccessibleView view;
  std::optional<bool> focused;
  if (seen && !focusMayMove) focused = (seen->state & STATE_SYSTEM_FOCUSED) != 0;
  DescribeHosted(site, view, true, focused);
  AccessibleSnapshot now{std::move(view.name), view.state, std::move(view.value), {}};
  for (const AccessibleView::Part& p : view.parts) now.partStates.push_back(p.state);
  if (seen) {
    if (now.name != seen->name) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    if (now.state != seen->state) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    if (now.value != seen->value) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    for (size_t i = 0; i < now.partStates.size(); ++i)
      if (i >= seen->partStates.size() || now.partStates[i] != seen->partStates[i])
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, static_cast<LONG>(i + 1));
    *seen = std::move(now);
  } else {
    seen = std::make_unique<AccessibleSnapshot>(std::move(now));
  }
}

}  // namespace tessel
