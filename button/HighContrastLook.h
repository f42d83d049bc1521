#pragma once
// While the user's high-contrast scheme is on, a button is drawn with the system's colours in
// place of its own: for one redraw its colours, gradient and caption effect are set to the
// scheme's, and put back afterwards. The stored properties never change.
#include "button/ButtonState.h"

namespace tessel {

class HighContrastLook {
 public:
  explicit HighContrastLook(ButtonPaint& paint);
  ~HighContrastLook();
  HighContrastLook(const HighContrastLook&) = delete;
  HighContrastLook& operator=(const HighContrastLook&) = delete;

  // The renderer to draw with: the high-contrast one while the scheme is on, else the style's.
  Renderer Choose() const;

 private:
  // The colours and effects the look replaces.
  struct Own {
    int32_t buttonStyle, captionStyle, gradientMode;
    OleColor backColor, gradientColor, hoverForeColor, hoverBackColor, foreColor;
  };
  ButtonPaint& paint_;
  bool active_ = false;
  Own own_{};
};

}  // namespace tessel
