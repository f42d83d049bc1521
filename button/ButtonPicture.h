#pragma once
// What happens to the button's picture: its size and kind, a copy scaled to the size it is drawn
// at whose near-key pixels are transparent (the key is the top-left pixel, near means within 3 in
// each of red, green and blue), the transparent runs cut out of a custom shape's regions, and the
// drawing of bitmaps (key transparent), icons, and the greyed disabled look.
#include <windows.h>

#include <cstdint>

#include "button/ButtonState.h"

namespace tessel {

constexpr int kKeyTolerance = 3;

// Reads pictureWidth, pictureHeight and pictureIsIcon from the picture's handle; with no picture
// the cache is dropped and the size is 0 x 0.
void ReadPictureMetrics(ButtonState& state);

// Builds pictureCache at width x height. With cutRegion, regionB and regionA start again as the
// whole control and every run of transparent pixels is cut out of cutRegion and regionB, and the
// run grown by one pixel all round out of regionA. Icons keep their own transparency: no cache.
void BuildPictureCache(ButtonPaint& paint, int32_t width, int32_t height, HRGN cutRegion);

// Draws the rows into dest at destRect's top-left with their transparent pixels left out, at
// drawnWidth x drawnHeight scaled down (aspect kept) to fit destRect; an empty destRect is the
// drawn size.
void DrawTransparentRows(HDC dest, const RECT& destRect, const PictureRows& rows, int32_t drawnWidth,
                        int32_t drawnHeight);

// Draws the picture into memDC at rect (the whole control for the custom shapes, one pixel in
// while the pressed look is on); greyed when the control is disabled.
void DrawPicture(ButtonPaint& paint, RECT rect);

}  // namespace tessel
