#pragma once
// The window a user control draws in and stands on, as the control sees it: its handle, its back
// colour, its inner extent in twips and a way to ask for a repaint. The container provides the
// concrete window; a control never needs to know which.
#include <windows.h>

#include "server/contract/OleColor.h"

namespace tessel {

class Surface {
 public:
  virtual ~Surface() = default;
  virtual HWND hWnd() const = 0;
  virtual OleColor BackColor() const = 0;
  virtual void SetBackColor(OleColor color) = 0;

  // Client extent in twips; 0 while there is no window.
  int ScaleWidth() const;
  int ScaleHeight() const;

  // Marks pixels (client coordinates; all of the window when null) for repainting.
  void Invalidate(const RECT* pixels = nullptr);
};

}  // namespace tessel
