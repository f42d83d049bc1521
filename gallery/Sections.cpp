#include "gallery/Gallery.h"

namespace tessel::gallery {

namespace {

// One row per band, top to bottom.
const Section kSections[] = {
    {L"Tooltips (TesselOCX.CBalloonToolTip)", &AddToolTipSection},
    {L"System (TesselOCX.SOSystem)", &AddSystemSection},
};

}  // namespace

std::span<const Section> Sections() { return kSections; }

}  // namespace tessel::gallery
