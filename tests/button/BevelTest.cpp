#include <gtest/gtest.h>

#include "button/draw/Bevel.h"
#include "tests/button/ButtonCanvas.h"

namespace tessel::test {
namespace {

// Edge k is drawn in colour 0x0100 * k + 0x10, so a pixel tells which edge painted it last.
BevelColors EdgeColors() {
  BevelColors c{};
  for (int k = 1; k <= 12; ++k) c[k] = 0x0100 * k + 0x10;
  return c;
}
COLORREF Edge(int k) { return k ? static_cast<COLORREF>(0x0100 * k + 0x10) : kUnpainted; }

struct Probe {
  int x, y, edge;  // edge 0: not painted
};

void ExpectEdges(const ButtonCanvas& canvas, std::initializer_list<Probe> probes, const char* what) {
  for (const Probe& p : probes)
    EXPECT_EQ(Hex(canvas.At(p.x, p.y)), Hex(Edge(p.edge))) << what << " at (" << p.x << ", " << p.y << ")";
}

TEST(Bevel, RingsOfARectangleEndOnePixelShortOfEachCorner) {
  ButtonCanvas canvas(10, 8);
  BevelPoints points{};
  DrawBevel(canvas.dc(), {10, 8, 0, 10, shapeRectangle}, points, EdgeColors());
  ExpectEdges(canvas,
              {{2, 4, 1}, {2, 2, 2}, {6, 2, 2}, {7, 2, 3}, {7, 4, 3}, {7, 5, 4}, {2, 5, 4}, {3, 3, 0},  // inner
               {1, 3, 5}, {1, 1, 6}, {8, 1, 7}, {8, 5, 7}, {8, 6, 8}, {1, 6, 8}, {6, 4, 0},               // middle
               {0, 3, 9}, {0, 0, 10}, {8, 0, 10}, {9, 0, 11}, {9, 6, 11}, {9, 7, 12}, {0, 7, 12}},         // outer
              "rectangle");
  EXPECT_EQ(points[15].x, 9);
  EXPECT_EQ(points[15].y, 7);
}

TEST(Bevel, SlantedSidesFollowTheFaceAndUndrawnEdgesLeaveTheFace) {
  ButtonCanvas canvas(20, 8);
  BevelPoints points{};
  BevelColors colors = EdgeColors();
  colors[3] = colors[4] = colors[7] = -1;
  // Left side slanted: faceLeft 9, the outer left edge runs from (8, 8) up to (0, 0).
  DrawBevel(canvas.dc(), {20, 8, 9, 20, shapeSlantLeft}, points, colors);
  ExpectEdges(canvas, {{4, 4, 9}, {1, 1, 9}, {6, 4, 1}, {5, 3, 1}, {17, 3, 0}, {16, 2, 2}, {17, 2, 0}, {18, 3, 0}, {19, 3, 11},
                       {12, 7, 12}, {6, 7, 12}, {12, 6, 8}, {12, 5, 0}},  // (6, 7): the closing stroke only
              "slant left");
  EXPECT_EQ(points[10].x, 8);
  EXPECT_EQ(points[10].y, 8);
  EXPECT_EQ(points[14].x, 6);
}

TEST(Bevel, DottedOuterRingLeavesGapsAndNoEdgeDrawsNothing) {
  ButtonCanvas canvas(40, 12);
  BevelPoints points{};
  BevelColors colors{};
  for (int k = 1; k <= 12; ++k) colors[k] = k > 8 ? 0x000000 : -1;
  DrawBevel(canvas.dc(), {40, 12, 0, 40, shapeRectangle}, points, colors, PS_DOT);
  int black = 0;
  for (int x = 0; x < 40; ++x) black += canvas.At(x, 0) == 0;
  EXPECT_GT(black, 5);
  EXPECT_LT(black, 35);  // dotted, not solid
  EXPECT_EQ(canvas.At(20, 5), kUnpainted);

  ButtonCanvas none(10, 8);  // no edge at all: not even the closing stroke along the bottom
  for (int k = 1; k <= 12; ++k) colors[k] = -1;
  DrawBevel(none.dc(), {10, 8, 0, 10, shapeRectangle}, points, colors);
  EXPECT_EQ(none.Count(kUnpainted), 80);
}

}  // namespace
}  // namespace tessel::test
