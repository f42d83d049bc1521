#include <memory>

#include "host/ControlTypesLibrary.h"
#include "inputs/KvFundo.h"

namespace tessel {

void RegisterLinkPanelControls(ControlTypes& types) {
  types.Register(L"KvFundo", [](ControlSite& site) -> std::unique_ptr<UserControl> { return std::make_unique<KvFundo>(site); });
}

}  // namespace tessel
