#include <memory>

#include "decor/Bevel.h"
#include "decor/KvLinha.h"
#include "host/ControlTypesLibrary.h"

namespace tessel {

void RegisterDecorControls(ControlTypes& types) {
  types.Register(L"Bevel", [](ControlSite& site) -> std::unique_ptr<UserControl> { return std::make_unique<Bevel>(site); });
  types.Register(L"KvLinha", [](ControlSite& site) -> std::unique_ptr<UserControl> { return std::make_unique<KvLinha>(site); });
}

}  // namespace tessel
