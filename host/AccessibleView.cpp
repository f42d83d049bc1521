#include "host/AccessibleView.h"

#include <oleacc.h>

#include <algorithm>
#include <cwctype>

#include "host/ControlSite.h"

namespace tessel {
namespace {

// The control whose own window holds w (w itself or an ancestor), or null.
const HostedControl* OwningControl(HWND w) {
  for (; w; w = GetParent(w))
    if (const HostedControl* site = HostedControl::OfWindow(w)) return site;
  return nullptr;
}

uint32_t ContainerStates(const HostedControl& site, HWND window, std::optional<bool> focused) {
  uint32_t state = 0;
  if (!IsWindowVisible(window)) state |= STATE_SYSTEM_INVISIBLE;
  // Enabled reaches a control through its extender only (a frame passes its own on that way).
  const bool ownFocus = site.Control()->CanGetFocus();
  if (!focused.has_value()) {
    // A control that takes the focus itself holds no window that takes it.
    const HWND focus = GetFocus();
    focused = focus == window || (focus && !ownFocus && IsChild(window, focus) && OwningControl(focus) == &site);
  }
  if (*focused) state |= STATE_SYSTEM_FOCUSED;
  // A focused field is focusable without its windows being listed (one round trip a keystroke).
  if (!site.Extender().enabled) state |= STATE_SYSTEM_UNAVAILABLE;
  else if (ownFocus || *focused || !site.TabStops().empty()) state |= STATE_SYSTEM_FOCUSABLE;
  return state;
}

// The controls standing on window, in tab order: its child windows that are controls, and those
// inside its other child windows (a control embedded in a picture box).
void CollectControls(HWND window, std::vector<const HostedControl*>& sites) {
  for (HWND w = GetWindow(window, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (const HostedControl* site = HostedControl::OfWindow(w)) {
      if (site->Loaded()) sites.push_back(site);
    } else {
      CollectControls(w, sites);
    }
  }
}

}  // namespace

std::vector<HWND> AccessibleChildWindows(HWND window) {
  std::vector<const HostedControl*> sites;
  CollectControls(window, sites);
  std::stable_sort(sites.begin(), sites.end(), [](const HostedControl* a, const HostedControl* b) {
    return a->Extender().tabIndex < b->Extender().tabIndex;
  });
  std::vector<HWND> windows;
  windows.reserve(sites.size());
  for (const HostedControl* site : sites) windows.push_back(site->hWnd());
  return windows;
}


LONG SystemRole(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::CheckButton: return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case AccessibleRole::Grouping: return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::Text: return ROLE_SYSTEM_TEXT;
    case AccessibleRole::Separator: return ROLE_SYSTEM_SEPARATOR;
    case AccessibleRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::Link: return ROLE_SYSTEM_LINK;
    case AccessibleRole::Pane: break;
  }
  return ROLE_SYSTEM_PANE;
}

uint32_t SystemStates(uint32_t states) {
  static constexpr struct { uint32_t ours, system; } kMap[] = {
      {kAccessiblePressed, STATE_SYSTEM_PRESSED},   {kAccessibleChecked, STATE_SYSTEM_CHECKED},
      {kAccessibleHot, STATE_SYSTEM_HOTTRACKED},    {kAccessibleDefault, STATE_SYSTEM_DEFAULT},
      {kAccessibleReadOnly, STATE_SYSTEM_READONLY}, {kAccessibleProtected, STATE_SYSTEM_PROTECTED},
  };
  uint32_t system = 0;
  for (const auto& m : kMap)
    if (states & m.ours) system |= m.system;
  return system;
}

void DescribeHosted(const HostedControl& site, AccessibleView& view, bool withState, std::optional<bool> focused) {
  AccessibleDescription d;
  site.Control()->Describe(d);
  const HWND window = site.hWnd();
  view.role = SystemRole(d.role);
  view.name = d.name.empty() ? site.Extender().accessibleName : std::move(d.name);
  view.state = SystemStates(d.states) | (withState ? ContainerStates(site, window, focused) : 0u);
  view.isProtected = (d.states & kAccessibleProtected) != 0;
  view.hasValue = d.hasValue && !view.isProtected;
  if (view.hasValue) view.value = std::move(d.value);
  view.description = std::move(d.description);
  view.defaultAction = std::move(d.defaultAction);
  const std::wstring keys = site.Control()->AccessKeys();
  if (!keys.empty()) view.shortcut = std::wstring(L"Alt+") + static_cast<wchar_t>(std::towupper(keys[0]));
  const bool hidden = (view.state & STATE_SYSTEM_INVISIBLE) != 0;
  for (AccessiblePart& p : d.parts) {
    uint32_t state = SystemStates(p.states) | (view.state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE));
    if (!hidden && (p.bounds.right <= p.bounds.left || p.bounds.bottom <= p.bounds.top)) state |= STATE_SYSTEM_INVISIBLE;
    if (p.role == AccessibleRole::Link && !(state & STATE_SYSTEM_UNAVAILABLE)) state |= STATE_SYSTEM_LINKED;
    view.parts.push_back({SystemRole(p.role), std::move(p.name), state, p.bounds, std::move(p.defaultAction)});
  }
}

bool ReadAccessibleView(AccessibleKind kind, HWND window, AccessibleView& view, unsigned read) {
  if (kind == AccessibleKind::Form) {
    if (!IsWindow(window)) return false;
    const int length = GetWindowTextLengthW(window);
    view.name.assign(static_cast<size_t>(length) + 1, L'\0');
    view.name.resize(static_cast<size_t>(std::max(GetWindowTextW(window, view.name.data(), length + 1), 0)));
    view.role = ROLE_SYSTEM_CLIENT;
    view.state = (IsWindowVisible(window) ? 0u : STATE_SYSTEM_INVISIBLE) | STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == window) view.state |= STATE_SYSTEM_FOCUSED;
  } else {
    const HostedControl* site = HostedControl::OfWindow(window);
    if (!site || !site->Loaded()) return false;  // a control's window is listed until it is destroyed
    DescribeHosted(*site, view, (read & kReadState) != 0);
  }
  if (read & kReadChildren) view.children = AccessibleChildWindows(window);
  return true;
}

}  // namespace tessel
