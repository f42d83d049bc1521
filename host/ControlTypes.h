#pragma once
// The user-control types a container can place, by the type name stored in form files.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/ControlIdentities.h"
#include "server/contract/UserControl.h"

namespace tessel {

using ControlFactory = std::function<std::unique_ptr<UserControl>(ControlSite&)>;

class ControlTypes {
 public:
  // The registry forms use unless they are given another one.
  static ControlTypes& Default();

  // Adds or replaces a type; names compare without regard to case.
  void Register(std::wstring typeName, ControlFactory factory);
  // nullptr for a name that is not registered.
  const ControlFactory* Find(std::wstring_view typeName) const;
  bool Contains(std::wstring_view typeName) const { return Find(typeName) != nullptr; }
  // The registered names, in the order they were first registered.
  std::vector<std::wstring> Names() const;
  // The class and event-interface identities of a registered type of the library; nullptr for a
  // name that is not registered or that no control of the library has.
  const ControlIdentity* Identity(std::wstring_view typeName) const;

 private:
  std::vector<std::pair<std::wstring, ControlFactory>> types_;
};

}  // namespace tessel
