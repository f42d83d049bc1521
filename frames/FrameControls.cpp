#include <memory>

#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"

namespace tessel {

void RegisterFrameControls(ControlTypes& types) {
  types.Register(L"tzFrames", [](ControlSite& site) -> std::unique_ptr<UserControl> { return std::make_unique<TzFrames>(site); });
}

}  // namespace tessel
