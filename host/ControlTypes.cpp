#include "host/ControlTypes.h"

#include <cwctype>

namespace tessel {
namespace {

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

}  // namespace

ControlTypes& ControlTypes::Default() {
  static ControlTypes registry;
  return registry;
}

void ControlTypes::Register(std::wstring typeName, ControlFactory factory) {
  for (auto& [name, f] : types_) {
    if (SameName(name, typeName)) {
      f = std::move(factory);
      return;
    }
  }
  types_.emplace_back(std::move(typeName), std::move(factory));
}

const ControlFactory* ControlTypes::Find(std::wstring_view typeName) const {
  for (const auto& [name, f] : types_)
    if (SameName(name, typeName)) return &f;
  return nullptr;
}

const ControlIdentity* ControlTypes::Identity(std::wstring_view typeName) const {
  if (!Contains(typeName)) return nullptr;
  for (const ControlIdentity& identity : kControlIdentities)
    if (SameName(identity.typeName, typeName)) return &identity;
  return nullptr;
}

std::vector<std::wstring> ControlTypes::Names() const {
  std::vector<std::wstring> names;
  for (const auto& entry : types_) names.push_back(entry.first);
  return names;
}

}  // namespace tessel
