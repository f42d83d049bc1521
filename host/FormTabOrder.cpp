// Tab order: the form's list of sites by TabIndex, and moving the focus along it.
#include <algorithm>
#include <stdexcept>

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

std::vector<HWND> Form::TabStops() const {
  std::vector<HWND> stops;
  for (HostedControl* site : tabOrder_) {
    const ExtenderProperties& e = site->Extender();
    if (!e.visible || !e.enabled || !e.tabStop || !site->Loaded()) continue;
    for (HWND w : site->TabStops()) stops.push_back(w);
  }
  return stops;
}

void Form::MoveFocus(bool forward) {
  const std::vector<HWND> stops = TabStops();
  if (stops.empty()) return;
  HWND focus = GetFocus();
  int current = -1;
  for (size_t i = 0; i < stops.size(); ++i) {
    if (stops[i] == focus || IsChild(stops[i], focus)) {
      current = static_cast<int>(i);
      break;
    }
  }
  const int n = static_cast<int>(stops.size());
  int next;
  if (current < 0) next = forward ? 0 : n - 1;
  else next = (current + (forward ? 1 : n - 1)) % n;
  SetFocus(stops[next]);
}

void Form::FocusSite(HostedControl& site) {
  std::vector<HWND> stops = site.TabStops();
  if (!stops.empty()) SetFocus(stops.front());
}

}  // namespace tessel
