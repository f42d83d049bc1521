// The drag-and-drop notifications of ButtonStyle: the container's drop target on the button's
// window and the drags the button starts report here, and each is raised as the event of the same
// name, with the position in the button's pixels.
#include "button/ButtonStyle.h"

namespace tessel {

void ButtonStyle::OLEDragOver(IDataObject*& data, int32_t& effect, int16_t& button, int16_t& shift, float& x,
                              float& y, int16_t& state) {
  if (!events.OLEDragOver) {
    effect = DROPEFFECT_NONE;
    return;
  }
  x = PixelX(x);
  y = PixelY(y);
  events.OLEDragOver(data, effect, button, shift, x, y, state);
}

void ButtonStyle::OLEDragDrop(IDataObject*& data, int32_t& effect, int16_t& button, int16_t& shift, float& x,
                              float& y) {
  if (!events.OLEDragDrop) {
    effect = DROPEFFECT_NONE;
    return;
  }
  x = PixelX(x);
  y = PixelY(y);
  events.OLEDragDrop(data, effect, button, shift, x, y);
}

void ButtonStyle::OLEStartDrag(IDataObject*& data, int32_t& allowedEffects) {
  Raise(events.OLEStartDrag, data, allowedEffects);
}

void ButtonStyle::OLEGiveFeedback(int32_t& effect, bool& defaultCursors) {
  Raise(events.OLEGiveFeedback, effect, defaultCursors);
}

void ButtonStyle::OLESetData(IDataObject*& data, int16_t& dataFormat) { Raise(events.OLESetData, data, dataFormat); }

void ButtonStyle::OLECompleteDrag(int32_t& effect) { Raise(events.OLECompleteDrag, effect); }

}  // namespace tessel
