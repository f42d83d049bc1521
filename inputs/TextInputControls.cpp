#include <memory>

#include "host/ControlTypesLibrary.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"

namespace tessel {

void RegisterTextInputControls(ControlTypes& types) {
  types.Register(L"KvTextBox", [](ControlSite& site) -> std::unique_ptr<UserControl> { return std::make_unique<KvTextBox>(site); });
  types.Register(L"KvText", [](ControlSite& site) -> std::unique_ptr<UserControl> { return std::make_unique<KvText>(site); });
}

}  // namespace tessel
