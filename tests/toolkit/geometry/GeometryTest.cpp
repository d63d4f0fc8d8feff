// Exact lines, crossings and the convex polygon split.
#include <gtest/gtest.h>

#include "ConvexPolygon.h"

namespace {

using geo::ConvexPolygon;
using geo::IntLine;
using geo::RationalPoint;

TEST(IntLine, SameLineFromAnyTwoPointsAndOrientation) {
  const IntLine l = IntLine::Through({0, 0}, {4, 2});
  EXPECT_EQ(l, IntLine::Through({-2, -1}, {10, 5}));
  EXPECT_NE(l, IntLine::Through({4, 2}, {0, 0}));
  EXPECT_TRUE(l.SameCarrier(IntLine::Through({4, 2}, {0, 0})));
  EXPECT_FALSE(l.SameCarrier(IntLine::Through({0, 1}, {4, 3})));
  EXPECT_EQ(l.Direction(), (geo::IntVec{2, 1}));
  EXPECT_EQ(l.Side({0, 1}), 1);
  EXPECT_EQ(l.Side({1, 0}), -1);
  EXPECT_EQ(l.Side({6, 3}), 0);
  EXPECT_TRUE(IntLine::Through({3, 3}, {3, 3}).IsNull());
}

TEST(RationalPoint, CrossingsAreExactAndReduced) {
  RationalPoint p;
  // x = 1/3 on y = 0: a crossing no double holds exactly.
  ASSERT_TRUE(geo::Intersect(IntLine::Through({0, 0}, {1, 0}), IntLine::Through({1, -1}, {0, 2}), p));
  EXPECT_EQ(p, (RationalPoint{2, 0, 3}));
  EXPECT_EQ(geo::SideOf(IntLine::Through({2, -5}, {2, 5}), p), 1);
  EXPECT_EQ(geo::SideOf(IntLine::Through({2, -5}, {2, 5}).Reversed(), p), -1);
  // The same point from other lines compares equal member by member.
  RationalPoint q;
  ASSERT_TRUE(geo::Intersect(IntLine::Through({0, 0}, {2, 0}), IntLine::Through({2, 4}, {0, -2}), q));
  EXPECT_EQ(p, q);
  EXPECT_FALSE(geo::Intersect(IntLine::Through({0, 0}, {1, 1}), IntLine::Through({5, 0}, {6, 1}), q));
  // Far corners of DOOM's range still cross exactly.
  ASSERT_TRUE(geo::Intersect(IntLine::Through({-32768, -32768}, {32767, 32766}),
                             IntLine::Through({-32768, 32767}, {32767, -32767}), q));
  EXPECT_EQ(geo::SideOf(IntLine::Through({-32768, -32768}, {32767, 32766}), q), 0);
  EXPECT_EQ(geo::SideOf(IntLine::Through({-32768, 32767}, {32767, -32767}), q), 0);
}

TEST(ConvexPolygon, SplitThroughVerticesAlongEdgesAndMissing) {
  const ConvexPolygon box = ConvexPolygon::Box(0, 0, 100, 100);
  ConvexPolygon left, right;
  box.Split(IntLine::Through({0, 0}, {100, 100}), left, right);  // corner to corner
  ASSERT_EQ(left.Size(), 3u);
  ASSERT_EQ(right.Size(), 3u);
  EXPECT_DOUBLE_EQ(left.Area(), 5000);
  EXPECT_DOUBLE_EQ(right.Area(), 5000);
  box.Split(IntLine::Through({100, 0}, {100, 100}), left, right);  // along an edge
  EXPECT_EQ(left.Size(), 4u);
  EXPECT_TRUE(right.Empty());
  box.Split(IntLine::Through({300, 0}, {300, 1}), left, right);  // past the polygon
  EXPECT_EQ(left.Size(), 4u);
  EXPECT_TRUE(right.Empty());
  box.Split(IntLine::Through({0, 100}, {1, 101}), left, right);  // touching one corner
  EXPECT_TRUE(left.Empty());
  EXPECT_EQ(right.Size(), 4u);
  // Cutting off a lone corner trims both of its edges.
  box.Split(IntLine::Through({100, 90}, {90, 100}), left, right);
  EXPECT_EQ(left.Size(), 5u);
  EXPECT_EQ(right.Size(), 3u);
  EXPECT_DOUBLE_EQ(left.Area(), 10000 - 50);
  EXPECT_DOUBLE_EQ(right.Area(), 50);
  // An off-grid cut keeps the rational corners exact: the pieces' corners lie on the line.
  const IntLine slanted = IntLine::Through({0, 1}, {3, 101});
  box.Split(slanted, left, right, 7);
  for (const ConvexPolygon* part : {&left, &right}) {
    int onLine = 0;
    for (std::size_t i = 0; i < part->Size(); ++i) onLine += geo::SideOf(slanted, part->Vertex(i)) == 0;
    EXPECT_EQ(onLine, 2);
  }
  EXPECT_EQ(left.Edge(left.Size() - 1).tag, 7);
  EXPECT_NEAR(left.Area() + right.Area(), 10000, 1e-9);
}

TEST(ConvexPolygon, MakeAcceptsOnlyStrictlyConvexCounterClockwise) {
  ConvexPolygon triangle;
  EXPECT_TRUE(ConvexPolygon::Make({{IntLine::Through({0, 0}, {4, 0})}, {IntLine::Through({4, 0}, {0, 4})},
                                   {IntLine::Through({0, 4}, {0, 0})}},
                                  triangle));
  EXPECT_DOUBLE_EQ(triangle.Area(), 8);
  ConvexPolygon bad;
  EXPECT_FALSE(ConvexPolygon::Make({{IntLine::Through({0, 0}, {0, 4})}, {IntLine::Through({0, 4}, {4, 0})},
                                    {IntLine::Through({4, 0}, {0, 0})}},
                                   bad));  // clockwise
  EXPECT_FALSE(ConvexPolygon::Make({{IntLine::Through({0, 0}, {4, 0})}, {IntLine::Through({4, 0}, {8, 0})},
                                    {IntLine::Through({8, 0}, {0, 4})}, {IntLine::Through({0, 4}, {0, 0})}},
                                   bad));  // two edges on one line
  EXPECT_TRUE(bad.Empty());
  EXPECT_EQ(geo::Turn({1, 0}, {0, 1}), 1);
  EXPECT_EQ(geo::Turn({1, 0}, {2, 0}), 0);
  EXPECT_EQ(geo::Turn({0, 1}, {1, 0}), -1);
}

TEST(ConvexPolygon, ASegmentEntersOnlyThroughTheInside) {
  ConvexPolygon square;
  ASSERT_TRUE(ConvexPolygon::Make({{IntLine::Through({0, 0}, {8, 0})}, {IntLine::Through({8, 0}, {8, 8})},
                                   {IntLine::Through({8, 8}, {0, 8})}, {IntLine::Through({0, 8}, {0, 0})}},
                                  square));
  EXPECT_TRUE(square.Enters({-4, 4}, {12, 4}));   // straight through
  EXPECT_TRUE(square.Enters({2, 2}, {3, 3}));     // wholly inside
  EXPECT_TRUE(square.Enters({4, 4}, {20, 4}));    // from inside out
  EXPECT_FALSE(square.Enters({0, -4}, {0, 12}));  // along an edge
  EXPECT_FALSE(square.Enters({-4, 4}, {4, -4}));  // through a corner only
  EXPECT_FALSE(square.Enters({9, 0}, {20, 8}));   // beside it
  EXPECT_TRUE(square.Enters({-4, 1}, {12, 1}));
  EXPECT_FALSE(square.Enters({-4, 1}, {12, 1}, 8.5));  // within the edge allowance of the bottom
}

}  // namespace
