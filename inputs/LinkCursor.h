#pragma once
// The hand cursor of the link panel's link: a 32 x 32 monochrome cursor, built as the bytes of a
// .cur file at run time so that it travels like a cursor stored with a design.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "server/contract/Picture.h"

namespace tessel {

constexpr int kLinkCursorSize = 32;
constexpr POINT kLinkCursorHotSpot{6, 0};  // the tip of the pointing finger

// The complete .cur file: one 32 x 32, 1-bpp image with its AND mask.
std::vector<uint8_t> LinkCursorFile();
// The cursor as a picture object (kind Cursor); throws std::runtime_error when OLE refuses it.
PictureRef LinkCursorPicture();

}  // namespace tessel
