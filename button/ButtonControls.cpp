#include <memory>

#include "button/ButtonStyle.h"
#include "host/ControlTypesLibrary.h"

namespace tessel {

void RegisterButtonControls(ControlTypes& types) {
  types.Register(L"ButtonStyle",
                 [](ControlSite& site) -> std::unique_ptr<UserControl> { return std::make_unique<ButtonStyle>(site); });
}

}  // namespace tessel
