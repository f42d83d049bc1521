#pragma once
// The window a user control draws in and stands on, as the control sees it: its handle, its back
// colour, its inner extent in twips and a way to ask for a repaint. The container provides the
// concrete window; a control never needs to know which.
#include <windows.h>

#include <string_view>

#include "server/contract/Font.h"
#include "server/contract/OleColor.h"
#include "server/contract/Picture.h"

namespace tessel {

// Fill modes of the window's shapes.
constexpr int kFillSolid = 0;
constexpr int kFillTransparent = 1;

class Surface {
 public:
  virtual ~Surface() = default;
  virtual HWND hWnd() const = 0;
  virtual OleColor BackColor() const = 0;
  virtual void SetBackColor(OleColor color) = 0;

  // Drawing services of the window, for controls that draw their own look. Drawing goes into a
  // persistent image of the window, which every paint shows under whatever stands on it; shapes
  // use the window's pen colour (ForeColor), brush colour (FillColor) and fill mode (FillStyle),
  // text its font and ForeColor. Sizes and positions are client pixels.
  virtual void SetPersistentImage(bool keep) = 0;
  // The image's device context, sized to the client area (a new image starts in the back
  // colour); null while no image is kept or none can be made. A user control's window larger than
  // the screen keeps an image of what the screen can show of it; when a move shows more, the image
  // is made again and the control's Resize draws it.
  virtual HDC DrawingDC() = 0;
  virtual void Cls() = 0;  // the whole image in the back colour
  virtual OleColor ForeColor() const = 0;
  virtual void SetForeColor(OleColor color) = 0;
  virtual OleColor FillColor() const = 0;
  virtual void SetFillColor(OleColor color) = 0;
  virtual int FillStyle() const = 0;  // kFillSolid or kFillTransparent
  virtual void SetFillStyle(int style) = 0;
  virtual FontRef Font() const = 0;
  virtual void SetFont(const FontRef& font) = 0;
  virtual int TextWidth(std::wstring_view text) = 0;   // pixels, in the window's font
  virtual int TextHeight(std::wstring_view text) = 0;
  // RoundRect in the pen colour, filled with the brush colour unless the fill is transparent.
  virtual void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) = 0;
  // The picture stretched to w x h at (x, y).
  virtual void PaintPicture(const Picture& picture, int x, int y, int w, int h) = 0;

  // Client extent in twips; 0 while there is no window.
  int ScaleWidth() const;
  int ScaleHeight() const;

  // Marks pixels (client coordinates; all of the window when null) for repainting.
  void Invalidate(const RECT* pixels = nullptr);
};

// InvalidateRect for a window that is shown; nothing for one that is not (yet) on screen.
void InvalidateShown(HWND hwnd, const RECT* pixels = nullptr, bool erase = false);

}  // namespace tessel
