#pragma once
// A windowless straight line between two points (twips of the surface), drawn by its surface.
// Left, Top, Width and Height follow the end points.
#include <windows.h>

#include "host/Constituent.h"
#include "server/contract/OleColor.h"

namespace tessel {

class Line : public Constituent {
 public:
  Line(Surface& parent, std::wstring name);

  int X1() const { return x1_; }
  int Y1() const { return y1_; }
  int X2() const { return x2_; }
  int Y2() const { return y2_; }
  void SetX1(int twips);
  void SetY1(int twips);
  void SetX2(int twips);
  void SetY2(int twips);
  OleColor BorderColor() const { return borderColor_; }
  void SetBorderColor(OleColor color);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int pixels);   // 1..8192; others refused with InvalidPropertyValue
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);    // 0 transparent, 1 solid, 2 dash, 3 dot, 4 dash-dot,
                                     // 5 dash-dot-dot, 6 inside solid; others refused

  void Draw(HDC dc) override;
  bool HitTest(POINT client) const override { return false; }

 private:
  void Changed();

  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  OleColor borderColor_ = kSysWindowText;
  int borderWidth_ = 1;
  int borderStyle_ = 1;
};

}  // namespace tessel
