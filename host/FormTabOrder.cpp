// Tab order: the form's list of sites by TabIndex, which of them take the focus, and moving the
// focus along it (Tab, Shift+Tab, the arrow keys inside an option group, the first focus).
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "host/Form.h"

namespace tessel {

std::vector<std::wstring> Form::TabOrder() const {
  std::vector<std::wstring> names;
  for (HostedControl* site : tabOrder_) names.push_back(site->Name());
  return names;
}

void Form::Renumber() {
  for (size_t i = 0; i < tabOrder_.size(); ++i) tabOrder_[i]->SetTabIndex(static_cast<int>(i));
}

void Form::SetTabIndex(std::wstring_view name, int index) {
  HostedControl* site = Site(name);
  if (!site) throw std::invalid_argument("no control named " + Utf8FromWide(name));
  tabOrder_.erase(std::remove(tabOrder_.begin(), tabOrder_.end(), site), tabOrder_.end());
  index = std::clamp(index, 0, static_cast<int>(tabOrder_.size()));
  tabOrder_.insert(tabOrder_.begin() + index, site);
  Renumber();
}

void Form::SetTabStop(std::wstring_view name, bool tabStop) {
  HostedControl* site = Site(name);
  if (!site) throw std::invalid_argument("no control named " + Utf8FromWide(name));
  site->SetTabStop(tabStop);
}

std::vector<HostedControl*> Form::SitesByTab() const { return tabOrder_; }

bool Form::Reachable(const HostedControl& site) const {
  // Visibility is read from what the form keeps, not from the windows: the controls of a form not
  // shown yet are reachable once it is.
  const HostedControl* s = &site;
  for (size_t depth = 0; s && depth <= sites_.size(); ++depth) {
    const ExtenderProperties& e = s->Extender();
    if (!s->Loaded() || !e.visible || !e.enabled) return false;
    if (e.container.empty()) return true;
    s = Site(e.container);
  }
  return false;  // a container that is gone
}

bool Form::IsTabStop(const HostedControl& site) const { return site.Extender().tabStop && Reachable(site); }

std::vector<HWND> Form::TabStops(HWND keep) const {
  // Each option group is entered at its selected member, or at its first while none is selected.
  std::vector<std::pair<HWND, HostedControl*>> entries;
  for (HostedControl* site : tabOrder_) {
    if (!IsTabStop(*site)) continue;
    const HWND group = site->Control()->OptionGroupWindow();
    if (!group) continue;
    auto it = std::find_if(entries.begin(), entries.end(), [group](const auto& e) { return e.first == group; });
    if (it == entries.end()) entries.emplace_back(group, site);
    else if (site->Control()->OptionSelected() && !it->second->Control()->OptionSelected()) it->second = site;
  }
  std::vector<HWND> stops;
  for (HostedControl* site : tabOrder_) {
    if (!IsTabStop(*site)) continue;
    if (const HWND group = site->Control()->OptionGroupWindow(); group && site->hWnd() != keep) {
      auto it = std::find_if(entries.begin(), entries.end(), [group](const auto& e) { return e.first == group; });
      if (it->second != site) continue;
    }
    for (HWND w : site->TabStops()) stops.push_back(w);
  }
  return stops;
}

void Form::MoveFocus(bool forward) { MoveFocusFrom(GetFocus(), forward); }

void Form::MoveFocusFrom(HWND from, bool forward) {
  if (!from || (from != hwnd_ && !IsChild(hwnd_, from))) from = lastFocus_;
  const std::vector<HWND> stops = TabStops(from);
  if (stops.empty()) return;
  int current = -1;
  for (size_t i = 0; i < stops.size() && current < 0; ++i)
    if (from && (stops[i] == from || IsChild(stops[i], from))) current = static_cast<int>(i);
  const int n = static_cast<int>(stops.size());
  int next;
  if (current < 0) next = forward ? 0 : n - 1;
  else next = (current + (forward ? 1 : n - 1)) % n;
  SetFocus(stops[next]);
}

bool Form::MoveInOptionGroup(HWND group, bool forward) {
  HostedControl* focused = SiteOfWindow(GetFocus());
  if (!focused || !focused->Control() || focused->Control()->OptionGroupWindow() != group) return false;
  // As among native radio buttons: every member that can take the focus, TabStop or not, in tab
  // order, round the end.
  std::vector<HostedControl*> members;
  for (HostedControl* site : tabOrder_)
    if (site->Control() && site->Control()->OptionGroupWindow() == group && (site == focused || Reachable(*site)))
      members.push_back(site);
  ShowKeyboardCues();
  const auto at = std::find(members.begin(), members.end(), focused) - members.begin();
  const auto n = static_cast<std::ptrdiff_t>(members.size());
  HostedControl* next = members[static_cast<size_t>((at + (forward ? 1 : n - 1)) % n)];
  if (next != focused && next->hWnd()) SetFocus(next->hWnd());
  return true;
}

HWND Form::FocusToRestore() const {
  if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_) && IsWindowEnabled(lastFocus_))
    if (HostedControl* site = SiteOfWindow(lastFocus_); site && Reachable(*site)) return lastFocus_;
  const std::vector<HWND> stops = TabStops();
  return stops.empty() ? nullptr : stops.front();
}

void Form::TakeFirstFocus() {
  if (!hwnd_ || closing_ || GetFocus() != hwnd_ || !IsWindowVisible(hwnd_)) return;
  if (HWND first = FocusToRestore()) SetFocus(first);
}

void Form::FocusSite(HostedControl& site) {
  std::vector<HWND> stops = site.TabStops();
  if (!stops.empty()) SetFocus(stops.front());
}

}  // namespace tessel
