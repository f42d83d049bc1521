#pragma once
// A windowless geometric figure drawn by its surface: rectangle, square, oval, circle or rounded
// forms, with an outline of a given style and width, a back colour and a fill pattern.
#include <windows.h>

#include "host/Constituent.h"
#include "server/contract/OleColor.h"

namespace tessel {

class Shape : public Constituent {
 public:
  enum Kind { kRectangle = 0, kSquare = 1, kOval = 2, kCircle = 3, kRoundedRectangle = 4, kRoundedSquare = 5 };
  // Border styles: 0 transparent, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 inside solid.
  // Fill styles: 0 solid, 1 transparent, 2 horizontal lines, 3 vertical lines, 4 upward diagonal,
  // 5 downward diagonal, 6 cross, 7 diagonal cross.

  Shape(Surface& parent, std::wstring name);

  int ShapeKind() const { return shape_; }
  void SetShape(int shape);            // 0..5; others refused with InvalidPropertyValue
  OleColor BackColor() const { return backColor_; }
  void SetBackColor(OleColor color);
  int BackStyle() const { return backStyle_; }
  void SetBackStyle(int style);        // 0 transparent, 1 opaque; others refused
  OleColor BorderColor() const { return borderColor_; }
  void SetBorderColor(OleColor color);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);      // 0..6; others refused
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int pixels);     // 1..8192; others refused
  OleColor FillColor() const { return fillColor_; }
  void SetFillColor(OleColor color);
  int FillStyle() const { return fillStyle_; }
  void SetFillStyle(int style);        // 0..7; others refused

  void Draw(HDC dc) override;
  bool HitTest(POINT client) const override { return false; }  // shapes let the mouse through

 private:
  int shape_ = kRectangle;
  OleColor backColor_ = kSysWindow;
  int backStyle_ = 0;
  OleColor borderColor_ = kSysWindowText;
  int borderStyle_ = 1;
  int borderWidth_ = 1;
  OleColor fillColor_ = 0x000000;
  int fillStyle_ = 1;
};

}  // namespace tessel
