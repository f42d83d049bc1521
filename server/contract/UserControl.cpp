#include "server/contract/UserControl.h"

#include "server/contract/MousePointer.h"
#include "server/contract/Surface.h"

namespace tessel {

void UserControl::SetMousePointer(int32_t pointer) {
  CheckMousePointer(pointer);
  mousePointer_ = static_cast<int16_t>(pointer);
}

void UserControl::SetMouseIcon(PictureRef icon) {
  CheckMouseIcon(icon);
  mouseIcon_ = std::move(icon);
}

HCURSOR UserControl::Cursor() const { return PointerCursor(mousePointer_, mouseIcon_); }

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

bool UserControl::ShowsFocusCues() const {
  const HWND own = hWnd();
  return own && !(SendMessageW(own, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void UserControl::ReportSkippedStep(std::wstring_view step, const char* error) noexcept {
  try {
    site_.Host().ReportSkippedStep(site_.Extender().name, step, WideFromUtf8(error));
  } catch (const std::exception&) {
    // Nothing is left to tell: the report itself could not be made (out of memory).
  }
}

}  // namespace tessel
