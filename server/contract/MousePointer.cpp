#include "server/contract/MousePointer.h"

#include <array>

#include "server/contract/Errors.h"

namespace tessel {
namespace {

// The system cursors by MousePointer value.
constexpr std::array<WORD, 16> kPointers = {
    0,      // 0 default
    32512,  // 1 arrow
    32515,  // 2 cross
    32513,  // 3 I-beam
    32641,  // 4 icon
    32646,  // 5 size (four arrows)
    32643,  // 6 size NE-SW
    32645,  // 7 size N-S
    32642,  // 8 size NW-SE
    32644,  // 9 size W-E
    32516,  // 10 up arrow
    32514,  // 11 hourglass
    32648,  // 12 no drop
    32650,  // 13 arrow and hourglass
    32651,  // 14 arrow and question mark
    32646,  // 15 size all
};

}  // namespace

void CheckMousePointer(int pointer) {
  if (!(pointer >= 0 && pointer <= 15) && pointer != 99) throw InvalidPropertyValue("Invalid property value");
}

void CheckMouseIcon(const PictureRef& icon) {
  if (icon && icon->Kind() != PictureKind::Icon && icon->Kind() != PictureKind::Cursor)
    throw InvalidPropertyValue("Invalid property value");
}

HCURSOR PointerCursor(int pointer, const PictureRef& icon) {
  if (pointer == 99) return icon ? static_cast<HCURSOR>(icon->Handle()) : nullptr;
  if (pointer <= 0 || pointer >= static_cast<int>(kPointers.size())) return nullptr;
  return LoadCursorW(nullptr, MAKEINTRESOURCEW(kPointers[static_cast<size_t>(pointer)]));
}

}  // namespace tessel
