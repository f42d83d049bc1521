#pragma once
#include <windows.h>
#include <cstdint>

namespace tessel {

// A 32-bit OLE colour: 0x00BBGGRR, or with the high bit set a system colour whose index is the low byte.
using OleColor = uint32_t;

constexpr OleColor kSysButtonFace = 0x8000000F;
constexpr OleColor kSysButtonText = 0x80000012;
constexpr OleColor kSysWindow = 0x80000005;
constexpr OleColor kSysWindowText = 0x80000008;
constexpr OleColor kSys3DHighlight = 0x80000014;

// The RGB value of an OLE colour through OleTranslateColor with no palette; -1 when it cannot be translated.
int32_t TranslateColor(OleColor color);

}  // namespace tessel
