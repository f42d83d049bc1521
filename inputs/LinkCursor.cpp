#include "inputs/LinkCursor.h"

#include <array>
#include <string_view>

namespace tessel {
namespace {

// 'X' black outline, '.' white fill, ' ' transparent. Rows below the art are transparent.
constexpr std::array<std::string_view, 22> kHand = {
    "      XX",
    "     X..X",
    "     X..X",
    "     X..X",
    "     X..X",
    "     X..XXX",
    "     X..X..XXX",
    "     X..X..X..XX",
    "     X..X..X..X.X",
    " XXX X..X..X..X..X",
    " X..XX........X..X",
    " X...X...........X",
    "  X..............X",
    "   X.............X",
    "   X.............X",
    "    X............X",
    "    X...........X",
    "     X..........X",
    "     X.........X",
    "      X........X",
    "      X........X",
    "      XXXXXXXXXX",
};

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

char ArtAt(int x, int y) {
  if (y < 0 || y >= static_cast<int>(kHand.size())) return ' ';
  const std::string_view row = kHand[static_cast<size_t>(y)];
  return x < static_cast<int>(row.size()) ? row[static_cast<size_t>(x)] : ' ';
}

}  // namespace

std::vector<uint8_t> LinkCursorFile() {
  constexpr int n = kLinkCursorSize;
  constexpr uint32_t rowBytes = n / 8;  // 1 bpp, 32 pixels: already a multiple of four bytes
  constexpr uint32_t headerBytes = 40, paletteBytes = 8, maskBytes = rowBytes * n;
  constexpr uint32_t imageBytes = headerBytes + paletteBytes + 2 * maskBytes;
  constexpr uint32_t imageOffset = 6 + 16;

  std::vector<uint8_t> out;
  out.reserve(imageOffset + imageBytes);
  // Directory: reserved, type 2 (cursor), one image.
  Put16(out, 0);
  Put16(out, 2);
  Put16(out, 1);
  // Entry: size, colour count, reserved, hot spot, bytes and offset of the image.
  out.push_back(n);
  out.push_back(n);
  out.push_back(0);
  out.push_back(0);
  Put16(out, static_cast<uint16_t>(kLinkCursorHotSpot.x));
  Put16(out, static_cast<uint16_t>(kLinkCursorHotSpot.y));
  Put32(out, imageBytes);
  Put32(out, imageOffset);
  // Bitmap header: the height counts the XOR and the AND mask together.
  Put32(out, headerBytes);
  Put32(out, n);
  Put32(out, 2 * n);
  Put16(out, 1);
  Put16(out, 1);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  Put32(out, 0x00000000);  // palette: black
  Put32(out, 0x00FFFFFF);  // white
  // XOR mask, then AND mask, both bottom-up. Black: AND 0 XOR 0; white: AND 0 XOR 1;
  // transparent: AND 1 XOR 0.
  for (int pass = 0; pass < 2; ++pass) {
    for (int y = n - 1; y >= 0; --y) {
      for (int byte = 0; byte < static_cast<int>(rowBytes); ++byte) {
        uint8_t bits = 0;
        for (int bit = 0; bit < 8; ++bit) {
          const char c = ArtAt(byte * 8 + bit, y);
          const bool on = pass == 0 ? c == '.' : c == ' ';
          if (on) bits |= static_cast<uint8_t>(0x80 >> bit);
        }
        out.push_back(bits);
      }
    }
  }
  return out;
}

PictureRef LinkCursorPicture() { return Picture::FromBytes(LinkCursorFile()); }

}  // namespace tessel
