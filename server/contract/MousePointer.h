#pragma once
// MousePointer and MouseIcon, shared by the user controls and the windowless label: 0 leaves the
// window's own cursor, 1..15 are the standard pointers, 99 shows the MouseIcon.
#include <windows.h>

#include "server/contract/Picture.h"

namespace tessel {

// Other values are refused with "Invalid property value".
void CheckMousePointer(int pointer);
// Only an icon or a cursor (or none) can be a pointer.
void CheckMouseIcon(const PictureRef& icon);
// The cursor to show; null leaves the window's own.
HCURSOR PointerCursor(int pointer, const PictureRef& icon);

}  // namespace tessel
