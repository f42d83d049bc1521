#pragma once
// Image files made at test time through the platform's encoders, so no binary sample is committed.
#include <windows.h>
#include <cstdint>
#include <vector>

namespace tessel::test {

enum class ImageFormat { Bmp, Png, Jpeg, Gif };

// Encodes a top-down image of width x height pixels, each 0xAARRGGBB.
std::vector<uint8_t> EncodeImage(ImageFormat format, int width, int height, const std::vector<uint32_t>& argb);
// An icon (or cursor, with its hot spot) file of one size x size image in one opaque colour.
std::vector<uint8_t> IconFile(int size, COLORREF colour, bool cursor = false, POINT hotSpot = {0, 0});

}  // namespace tessel::test
