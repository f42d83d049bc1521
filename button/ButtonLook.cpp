// A look shown on request: the state bits the press state machine, the hover timer and the
// container's default-button notification would leave, set together and drawn once.
#include "button/ButtonStyle.h"

namespace tessel {

void ButtonStyle::ShowLook(Look look) {
  s_.Set(isHot, look == Look::Hot || look == Look::Pressed);
  s_.Set(isPressed, look == Look::Pressed || look == Look::DraggedOff);
  s_.Set(isDefault, look == Look::Default);
  // Hover tracking without the timer: nothing ends the look until the pointer really comes by.
  s_.isHoverTracking = look == Look::Hot || look == Look::Pressed;
  s_.isPressedTracking = look == Look::Pressed || look == Look::DraggedOff;
  Redraw();
}

}  // namespace tessel
