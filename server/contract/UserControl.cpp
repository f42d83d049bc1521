#include "server/contract/UserControl.h"

#include <array>

#include "server/contract/Errors.h"
#include "server/contract/Surface.h"

namespace tessel {
namespace {

// The standard pointers by MousePointer value (0: the window's own).
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

void UserControl::SetMousePointer(int16_t pointer) {
  if (!(pointer >= 0 && pointer <= 15) && pointer != 99) throw InvalidPropertyValue("Invalid property value");
  mousePointer_ = pointer;
}

void UserControl::SetMouseIcon(PictureRef icon) {
  if (icon && icon->Kind() != PictureKind::Icon && icon->Kind() != PictureKind::Cursor)
    throw InvalidPropertyValue("Invalid property value");
  mouseIcon_ = std::move(icon);
}

HCURSOR UserControl::Cursor() const {
  if (mousePointer_ == 99) return mouseIcon_ ? static_cast<HCURSOR>(mouseIcon_->Handle()) : nullptr;
  if (mousePointer_ <= 0 || mousePointer_ >= static_cast<int>(kPointers.size())) return nullptr;
  return LoadCursorW(nullptr, MAKEINTRESOURCEW(kPointers[static_cast<size_t>(mousePointer_)]));
}

void UserControl::SetWidth(int twips) {
  const ExtenderProperties& e = site_.Extender();
  site_.Move(e.left, e.top, twips, e.height);
}

void UserControl::SetHeight(int twips) {
  const ExtenderProperties& e = site_.Extender();
  site_.Move(e.left, e.top, e.width, twips);
}

int UserControl::ScaleWidth() const { return site_.OwnSurface().ScaleWidth(); }
int UserControl::ScaleHeight() const { return site_.OwnSurface().ScaleHeight(); }

OleColor UserControl::BackColor() const { return site_.OwnSurface().BackColor(); }
void UserControl::SetBackColor(OleColor color) { site_.OwnSurface().SetBackColor(color); }

HWND UserControl::hWnd() const { return site_.OwnSurface().hWnd(); }

void UserControl::ReportSkippedStep(std::wstring_view step, const char* error) noexcept {
  try {
    site_.Host().ReportSkippedStep(site_.Extender().name, step, WideFromUtf8(error));
  } catch (const std::exception&) {
    // Nothing is left to tell: the report itself could not be made (out of memory).
  }
}

}  // namespace tessel
