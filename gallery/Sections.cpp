#include "gallery/Gallery.h"

namespace tessel::gallery {

void AddTextInputSection(SectionArea& area);  // TextInputSection.cpp
void AddDecorSection(SectionArea& area);      // DecorSection.cpp
void AddLinkPanelSection(SectionArea& area);  // LinkPanelSection.cpp
void AddButtonSection(SectionArea& area);     // ButtonSection.cpp
void AddButtonMatrixSection(SectionArea& area);  // ButtonMatrixSection.cpp
void AddFramesSection(SectionArea& area);     // FramesSection.cpp
void AddOleSection(SectionArea& area);        // OleSection.cpp

namespace {

// One row per band, top to bottom.
const Section kSections[] = {
    {L"Tooltips (TesselOCX.CBalloonToolTip)", &AddToolTipSection},
    {L"System (TesselOCX.SOSystem)", &AddSystemSection},
    {L"Text fields (KvText, KvTextBox)", &AddTextInputSection},
    {L"Decorations (Bevel, KvLinha)", &AddDecorSection},
    {L"Link panel (KvFundo)", &AddLinkPanelSection},
    {L"Buttons (ButtonStyle)", &AddButtonSection},
    {L"Button styles (ButtonStyle)", &AddButtonMatrixSection},
    {L"Group frames (tzFrames)", &AddFramesSection},
    {L"ActiveX controls (the ATL container beside a Form)", &AddOleSection},
};

}  // namespace

std::span<const Section> Sections() { return kSections; }

}  // namespace tessel::gallery
