#pragma once
// A windowless picture drawn by its surface, at its own size clipped to the image's bounds, or
// stretched into them (an icon file of several images with the image the system chooses for the
// bounds, so a logo is sharp at any resolution).
#include <windows.h>

#include "host/Constituent.h"
#include "host/Events.h"
#include "server/contract/Gdi.h"
#include "server/contract/Picture.h"

namespace tessel {

class Image : public Constituent {
 public:
  Image(Surface& parent, std::wstring name);

  PictureRef Picture() const { return picture_; }
  // By reference. Without Stretch the image takes the picture's size.
  void SetPicture(PictureRef picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);

  struct Events {
    NotifyEvent Click;
    NotifyEvent DblClick;
    MouseEvent MouseDown;
    MouseEvent MouseMove;
    MouseEvent MouseUp;
  } events;

  void Draw(HDC dc) override;
  void OnMouseDown(int16_t button, int16_t shift, float x, float y) override;
  void OnMouseMove(int16_t button, int16_t shift, float x, float y) override;
  void OnMouseUp(int16_t button, int16_t shift, float x, float y) override;
  void OnClick() override;
  void OnDblClick() override;

 private:
  void FitToPicture();

  PictureRef picture_;
  bool stretch_ = false;
  unique_hicon chosen_;  // the icon file's image for chosenSide_ pixels, while it has several
  int chosenSide_ = 0;
};

}  // namespace tessel
