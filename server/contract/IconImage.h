#pragma once
// Of an icon whose file holds several images (16, 32 and 48 pixels, say), the image the system
// chooses for a box of so many pixels: a picture box twice as large on a screen of twice the
// resolution shows the icon's larger image instead of its small one stretched.
#include <windows.h>

#include "server/contract/Gdi.h"
#include "server/contract/Picture.h"

namespace tessel {

// The image of the icon's file that the system finds closest to side x side pixels, made at that
// size; null for a picture that is not an icon file of more than one image, or when the system
// makes none (the caller then draws the picture's own image).
unique_hicon IconImageFor(const Picture& picture, int side);

}  // namespace tessel
