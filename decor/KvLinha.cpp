#include "decor/KvLinha.h"

namespace tessel {
namespace {

// Setting a line's end repaints its surface even when nothing moves; the layout that runs from
// Paint must not ask for another paint, so only ends that differ are written.
void SetEnds(Line& line, int x1, int y1, int x2, int y2) {
  if (line.X1() != x1) line.SetX1(x1);
  if (line.Y1() != y1) line.SetY1(y1);
  if (line.X2() != x2) line.SetX2(x2);
  if (line.Y2() != y2) line.SetY2(y2);
}

}  // namespace

KvLinha::KvLinha(ControlSite& site)
    : UserControl(site), line1_(site.OwnSurface(), L"Line1"), line2_(site.OwnSurface(), L"Line2") {
  line1_.SetBorderColor(kLine1Color);
  line2_.SetBorderColor(kSys3DHighlight);
}

void KvLinha::Initialize() {
  // Each step on its own: the parent may not be there yet, and then the background stays.
  Step(L"keep the rule's height", [&] { SetHeight(kHeightTwips); });
  Step(L"take the parent's back colour", [&] { SetBackColor(Site().ParentBackColor()); });
}

void KvLinha::InitProperties() { SetHeight(kHeightTwips); }

void KvLinha::Resize() {
  Step(L"keep the rule's height", [&] {
    if (Height() != kHeightTwips) SetHeight(kHeightTwips);
  });
  LayOut();
}

void KvLinha::Paint(HDC dc) { LayOut(); }

void KvLinha::LayOut() {
  Step(L"lay Line1", [&] { SetEnds(line1_, 0, 0, Width(), 0); });
  Step(L"lay Line2", [&] { SetEnds(line2_, 0, kSecondLineTwips, Width(), kSecondLineTwips); });
}

}  // namespace tessel
