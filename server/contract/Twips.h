#pragma once
// Twips and pixels, converted with the real screen resolution (1440 twips to the inch).
#include <windows.h>

#include <cstdint>

namespace tessel {

// The screen resolution in dots per inch (96 when it cannot be read); the one place that reads it.
int ScreenDpiX();
int ScreenDpiY();
int TwipsPerPixelX();  // 15 at 96 dpi
int TwipsPerPixelY();
int PixelsFromTwipsX(int twips);  // rounded to the nearest pixel
int PixelsFromTwipsY(int twips);
// The same for a sum of twips beyond an int (an edge: left + width), in 64 bits.
int64_t PixelsFromTwipsX(int64_t twips);
int64_t PixelsFromTwipsY(int64_t twips);
int TwipsFromPixelsX(int pixels);
int TwipsFromPixelsY(int pixels);

}  // namespace tessel
