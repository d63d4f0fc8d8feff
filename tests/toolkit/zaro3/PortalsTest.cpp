#include "Portals.h"

#include <gtest/gtest.h>

#include "AreaSplit.h"
#include "BrushBounds.h"
#include "CraftedRooms.h"
#include "Headroom.h"
#include "PortalSites.h"
#include "PrismShapes.h"
#include "SectorRegions.h"

using zaro3::Prism;
using zaro3test::MakeRooms;
using zaro3test::PlanOf;
using zaro3test::Room;
using zaro3test::RoomSpec;

namespace {

// Makes `sector` a door rising to `open`, with its func_door entity over the sector's box.
zaro3::MapEntity MakeDoor(zaro3::MoverPlan& plan, int sector, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                          int64_t open) {
  zaro3::Mover door;
  door.build = zaro3::MoverBuild::Door;
  door.plane = zaro3::Plane::Ceiling;
  door.sector = sector;
  door.low = plan.floor[sector];
  door.high = open;
  plan.ceilingMover[sector] = static_cast<int>(plan.movers.size());
  plan.movers.push_back(door);
  plan.ceiling[sector] = open;
  zaro3::MapEntity entity;
  entity.Set("classname", "func_door");
  entity.brushes.push_back(zaro3::Box(x0, y0, x1, y1, plan.floor[sector], open, zaro3::Surface("d/DOOR")));
  return entity;
}

std::vector<zaro3::MapEntity> WorldAnd(std::vector<zaro3::MapEntity> others) {
  std::vector<zaro3::MapEntity> entities(1);
  entities[0].Set("classname", "worldspawn");
  for (auto& e : others) entities.push_back(std::move(e));
  return entities;
}

// The side of a portal brush that carries the visportal material; fails the test unless exactly one.
const zaro3::PrismSide* PortalFace(const Prism& p) {
  const zaro3::PrismSide* face = nullptr;
  int count = 0;
  for (const auto& s : p.sides) {
    if (s.face.material == zaro3::kVisportalMaterial) {
      face = &s;
      ++count;
    } else {
      EXPECT_EQ(s.face.material, zaro3::kPortalSideMaterial);
    }
  }
  EXPECT_EQ(count, 1);
  EXPECT_EQ(p.top.material, zaro3::kPortalSideMaterial);
  EXPECT_EQ(p.bottom.material, zaro3::kPortalSideMaterial);
  return face;
}

// A level drawn by hand: sectors, and lines given by their ends and the sectors on either side.
class HandLevel {
public:
  explicit HandLevel(const std::vector<int>& ceilings) {
    level.name = "MAP01";
    for (const int ceiling : ceilings) {
      wad::Sector sector;
      sector.ceilingHeight = ceiling;
      level.sectors.push_back(sector);
    }
  }
  // A line from (x1, y1) to (x2, y2) with `right` on its right and `left` (-1: none) on its left.
  void Line(int x1, int y1, int x2, int y2, int right, int left) {
    wad::Linedef l;
    l.v1 = Vertex(x1, y1);
    l.v2 = Vertex(x2, y2);
    l.front = Side(right);
    l.back = left >= 0 ? Side(left) : -1;
    l.flags = left >= 0 ? wad::kLineTwoSided : wad::kLineBlocking;
    level.linedefs.push_back(l);
  }
  wad::Level level;

private:
  int Vertex(int x, int y) {
    for (std::size_t i = 0; i < level.vertices.size(); ++i) {
      if (level.vertices[i].x == x && level.vertices[i].y == y) return static_cast<int>(i);
    }
    level.vertices.push_back({x, y});
    return static_cast<int>(level.vertices.size()) - 1;
  }
  int Side(int sector) {
    wad::Sidedef sd;
    sd.sector = sector;
    level.sidedefs.push_back(sd);
    return static_cast<int>(level.sidedefs.size()) - 1;
  }
};

// The portals of a hand-drawn level whose sector 1 is a door rising to 124, its func_door
// over the box (x0, y0) to (x1, y1).
struct DoorLevelPortals {
  zaro3::PortalReport report;
  std::vector<Prism> portals;
};

DoorLevelPortals PortalsWithDoor(const wad::Level& level, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  zaro3::MoverPlan plan = PlanOf(level);
  const auto entities = WorldAnd({MakeDoor(plan, 1, x0, y0, x1, y1, 124)});
  DoorLevelPortals out;
  out.portals =
      zaro3::BuildPortals(level, {}, plan, zaro3::FindPortalSites(level, plan), entities, {15, 1}, out.report);
  return out;
}

// Two rooms, the second taller and wider: the line between them is a doorway in the second's wall.
wad::Level Doorway() {
  // Room 0 is [0,128]^2; room 1 is [128,256] x [-64,192]. Walls run with their room on the right.
  HandLevel hand({128, 128});
  hand.Line(0, 0, 0, 128, 0, -1);
  hand.Line(0, 128, 128, 128, 0, -1);
  hand.Line(128, 0, 0, 0, 0, -1);
  hand.Line(128, 128, 128, 0, 0, 1);
  hand.Line(128, -64, 128, 0, 1, -1);
  hand.Line(128, 128, 128, 192, 1, -1);
  hand.Line(128, 192, 256, 192, 1, -1);
  hand.Line(256, 192, 256, -64, 1, -1);
  hand.Line(256, -64, 128, -64, 1, -1);
  return hand.level;
}

// Room 0 [0,128]^2 and room 2 [144,272] x [0,128], joined by one door sector (1) in two
// parts, [128,144] x [0,32] and [128,144] x [96,128], with solid wall between them.
struct TwoPartDoor {
  wad::Level level;
  std::vector<zaro3::Piece> pieces;
};

TwoPartDoor DoorInTwoParts() {
  TwoPartDoor out;
  HandLevel hand({128, 0, 128});
  // Room 0, walked with the room on the right.
  hand.Line(0, 0, 0, 128, 0, -1);
  hand.Line(0, 128, 128, 128, 0, -1);
  hand.Line(128, 128, 128, 96, 0, 1);
  hand.Line(128, 96, 128, 32, 0, -1);
  hand.Line(128, 32, 128, 0, 0, 1);
  hand.Line(128, 0, 0, 0, 0, -1);
  // The door's parts: their tops, bottoms and the walls facing the gap.
  hand.Line(128, 128, 144, 128, 1, -1);
  hand.Line(144, 96, 128, 96, 1, -1);
  hand.Line(128, 32, 144, 32, 1, -1);
  hand.Line(144, 0, 128, 0, 1, -1);
  // Room 2.
  hand.Line(144, 128, 272, 128, 2, -1);
  hand.Line(272, 128, 272, 0, 2, -1);
  hand.Line(272, 0, 144, 0, 2, -1);
  hand.Line(144, 0, 144, 32, 2, 1);
  hand.Line(144, 32, 144, 96, 2, -1);
  hand.Line(144, 96, 144, 128, 2, 1);
  out.level = hand.level;
  auto piece = [&](int sector, int x0, int y0, int x1, int y1) {
    zaro3::Piece p = zaro3test::ConvexPiece(sector, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
    p.area = static_cast<double>(x1 - x0) * (y1 - y0);
    out.pieces.push_back(p);
  };
  piece(0, 0, 0, 128, 128);
  piece(1, 128, 0, 144, 32);
  piece(1, 128, 96, 144, 128);
  piece(2, 144, 0, 272, 128);
  return out;
}

}  // namespace

TEST(Portals, ADoorInTwoPartsGetsAPortalInEach) {
  TwoPartDoor crafted = DoorInTwoParts();
  zaro3::MoverPlan plan = PlanOf(crafted.level);
  const auto entities = WorldAnd({MakeDoor(plan, 1, 128, 0, 144, 128, 124)});
  zaro3::PortalReport report;
  const auto portals = zaro3::BuildPortals(crafted.level, crafted.pieces, plan,
                                           zaro3::FindPortalSites(crafted.level, plan), entities, {15, 1}, report);
  EXPECT_EQ(report.doorsWithPortal, 1);
  ASSERT_EQ(portals.size(), 2u);
  for (const Prism& p : portals) {
    const zaro3::PrismSide* face = PortalFace(p);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->a.x, 136);
    EXPECT_EQ(face->b.x, 136);
    // Each seals its own part, wall to wall.
    const zaro3::Footprint footprint = zaro3::FootprintOf(p);
    const double lo = footprint.box.lo[1], hi = footprint.box.hi[1];
    EXPECT_TRUE((lo == 0 && hi == 32) || (lo == 96 && hi == 128)) << lo << " to " << hi;
  }
  EXPECT_EQ(report.areas, 2);
}

TEST(Portals, ADoorGetsOnePortalThatSealsItsOpening) {
  const auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 144, 0, 0), Room(144, 272, 0, 128)});
  zaro3::MoverPlan plan = PlanOf(crafted.level);
  const auto entities = WorldAnd({MakeDoor(plan, 1, 128, 0, 144, 128, 124)});
  zaro3::PortalReport report;
  const auto portals = zaro3::BuildPortals(crafted.level, crafted.pieces, plan, zaro3::FindPortalSites(crafted.level, plan), entities, {15, 1}, report);
  EXPECT_EQ(report.doors, 1);
  EXPECT_EQ(report.doorsWithPortal, 1);
  ASSERT_EQ(portals.size(), 1u);
  const Prism& p = portals[0];
  EXPECT_TRUE(zaro3::FootprintIsSound(p));
  // The face crosses the door half way, so the door straddles it and is drawn from either
  // side when shut; it covers the door's whole cross-section: wall to wall, the world's
  // floor to the open door's top.
  EXPECT_EQ(p.zLow, 0);
  EXPECT_EQ(p.zHigh, 124);
  const zaro3::PrismSide* face = PortalFace(p);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->a.x, face->b.x);
  EXPECT_EQ(face->a.x, 136);
  for (const auto& side : p.sides) {
    if (side.a.y == side.b.y) {
      EXPECT_TRUE(side.a.y == 0 || side.a.y == 128) << "a side on y = " << side.a.y;
    }
  }
}

// Room 0 [0,128]^2 opens east into an L-shaped door (1): an arm [128,192] x [0,32] that
// turns north into [160,192] x [32,96], opening onto room 2 [128,256] x [96,224].
wad::Level LShapedDoor() {
  HandLevel hand({128, 0, 128});
  hand.Line(0, 0, 0, 128, 0, -1);
  hand.Line(0, 128, 128, 128, 0, -1);
  hand.Line(128, 128, 128, 32, 0, -1);
  hand.Line(128, 0, 0, 0, 0, -1);
  hand.Line(128, 0, 128, 32, 1, 0);
  hand.Line(128, 32, 160, 32, 1, -1);
  hand.Line(160, 32, 160, 96, 1, -1);
  hand.Line(160, 96, 192, 96, 1, 2);
  hand.Line(192, 96, 192, 0, 1, -1);
  hand.Line(192, 0, 128, 0, 1, -1);
  hand.Line(128, 96, 128, 224, 2, -1);
  hand.Line(128, 224, 256, 224, 2, -1);
  hand.Line(256, 224, 256, 96, 2, -1);
  hand.Line(256, 96, 192, 96, 2, -1);
  hand.Line(160, 96, 128, 96, 2, -1);
  return hand.level;
}

// Room 0 [0,128-t]^2, a door strip (1) t units thick bent round its north-east corner, and
// room 2 round the strip: no flat face across the strip meets walls at both ends.
wad::Level BentDoor(int t) {
  const int in = 128 - t;
  HandLevel hand({128, 0, 128});
  hand.Line(0, 0, 0, in, 0, -1);
  hand.Line(0, in, in, in, 0, 1);
  hand.Line(in, in, in, 0, 0, 1);
  hand.Line(in, 0, 0, 0, 0, -1);
  hand.Line(0, 128, 128, 128, 1, 2);
  hand.Line(128, 128, 128, 0, 1, 2);
  hand.Line(128, 0, in, 0, 1, -1);
  hand.Line(0, in, 0, 128, 1, -1);
  hand.Line(0, 128, 0, 200, 2, -1);
  hand.Line(0, 200, 200, 200, 2, -1);
  hand.Line(200, 200, 200, 0, 2, -1);
  hand.Line(200, 0, 128, 0, 2, -1);
  return hand.level;
}

TEST(Portals, AnLShapedDoorIsCutInAnArm) {
  const wad::Level bent = LShapedDoor();
  const auto [report, portals] = PortalsWithDoor(bent, 128, 0, 192, 96);
  EXPECT_EQ(report.doorsWithPortal, 1);
  EXPECT_EQ(report.doorsUnsealable, 0);
  ASSERT_EQ(portals.size(), 1u);
  ASSERT_TRUE(zaro3::FootprintIsSound(portals[0]));
  // Wall to wall across one arm, clear of the bend.
  const zaro3::Box3 box = zaro3::FootprintOf(portals[0]).box;
  const bool eastArm = box.lo[1] == 0 && box.hi[1] == 32 && box.lo[0] > 128 && box.hi[0] <= 160;
  const bool northArm = box.lo[0] == 160 && box.hi[0] == 192 && box.lo[1] >= 32 && box.hi[1] < 96;
  EXPECT_TRUE(eastArm || northArm) << box.lo[0] << "," << box.lo[1] << " to " << box.hi[0] << "," << box.hi[1];
}

// The strip's cut follows it at its middle: a brush a unit thick in each arm, their
// visportal faces on the arms' middles (x = 124, y = 124), meeting where those cross and
// ending on the walls at the strip's ends; the brushes meet at a mitre without overlapping.
// A strip too thin for a cut is unsealable.
TEST(Portals, ADoorStripBentRoundACornerIsCutAlongItsMiddle) {
  const wad::Level strip = BentDoor(8);
  const auto [report, portals] = PortalsWithDoor(strip, 0, 0, 128, 128);
  EXPECT_EQ(report.doorsWithPortal, 1);
  EXPECT_EQ(report.doorsUnsealable, 0);
  ASSERT_EQ(portals.size(), 2u);
  EXPECT_FALSE(zaro3::Overlap(zaro3::FootprintOf(portals[0]), zaro3::FootprintOf(portals[1])));
  bool east = false, north = false;
  for (const Prism& p : portals) {
    ASSERT_TRUE(zaro3::FootprintIsSound(p));
    EXPECT_EQ(p.zLow, 0);
    EXPECT_EQ(p.zHigh, 124);
    const zaro3::PrismSide* face = PortalFace(p);
    ASSERT_NE(face, nullptr);
    const zaro3::Box3 box = zaro3::FootprintOf(p).box;
    if (face->a.x == 124 && face->b.x == 124) {
      east = true;
      EXPECT_TRUE(box.hi[0] - box.lo[0] == 1 && box.lo[0] >= 123 && box.hi[0] <= 125 && box.lo[1] == 0 &&
                  box.hi[1] >= 124 && box.hi[1] <= 125)
          << box.lo[0] << "," << box.lo[1] << " to " << box.hi[0] << "," << box.hi[1];
    } else if (face->a.y == 124 && face->b.y == 124) {
      north = true;
      EXPECT_TRUE(box.hi[1] - box.lo[1] == 1 && box.lo[1] >= 123 && box.hi[1] <= 125 && box.lo[0] == 0 &&
                  box.hi[0] >= 124 && box.hi[0] <= 125)
          << box.lo[0] << "," << box.lo[1] << " to " << box.hi[0] << "," << box.hi[1];
    }
  }
  EXPECT_TRUE(east && north);

  const wad::Level thin = BentDoor(2);
  const zaro3::PortalReport thinReport = PortalsWithDoor(thin, 0, 0, 128, 128).report;
  EXPECT_EQ(thinReport.doorsHidingNothing, 0);
  EXPECT_EQ(thinReport.doorsWithPortal, 0);
  EXPECT_EQ(thinReport.doorsUnsealable, 1);
}

// A room with a door in a niche of its east wall (sector 1, 128..144 by 32..96), open to the
// room only; and the same room with a pillar that lowers in its middle instead.
wad::Level NicheDoor() {
  HandLevel hand({128, 0});
  hand.Line(0, 0, 0, 128, 0, -1);
  hand.Line(0, 128, 128, 128, 0, -1);
  hand.Line(128, 128, 128, 96, 0, -1);
  hand.Line(128, 96, 128, 32, 0, 1);
  hand.Line(128, 32, 128, 0, 0, -1);
  hand.Line(128, 0, 0, 0, 0, -1);
  hand.Line(128, 96, 144, 96, 1, -1);
  hand.Line(144, 96, 144, 32, 1, -1);
  hand.Line(144, 32, 128, 32, 1, -1);
  return hand.level;
}

wad::Level PillarDoor() {
  HandLevel hand({128, 0});
  hand.Line(0, 0, 0, 128, 0, -1);
  hand.Line(0, 128, 128, 128, 0, -1);
  hand.Line(128, 128, 128, 0, 0, -1);
  hand.Line(128, 0, 0, 0, 0, -1);
  hand.Line(48, 48, 48, 80, 1, 0);
  hand.Line(48, 80, 80, 80, 1, 0);
  hand.Line(80, 80, 80, 48, 1, 0);
  hand.Line(80, 48, 48, 48, 1, 0);
  return hand.level;
}

TEST(Portals, ADoorInANicheClosesAPortalOnItsOpeningAndAPillarNone) {
  const wad::Level niche = NicheDoor();
  const auto [report, portals] = PortalsWithDoor(niche, 128, 32, 144, 96);
  EXPECT_EQ(report.doorsWithPortal, 1);
  ASSERT_EQ(portals.size(), 1u);
  const zaro3::PrismSide* face = PortalFace(portals[0]);
  ASSERT_NE(face, nullptr);
  // On the opening, wall to wall, the brush inside the door's sector: the door's bounds touch it.
  EXPECT_EQ(face->a.x, 128);
  EXPECT_EQ(face->b.x, 128);
  EXPECT_EQ(std::min(face->a.y, face->b.y), 32);
  EXPECT_EQ(std::max(face->a.y, face->b.y), 96);
  const zaro3::Box3 box = zaro3::FootprintOf(portals[0]).box;
  EXPECT_EQ(box.lo[0], 128);
  EXPECT_EQ(box.hi[0], 129);
  EXPECT_EQ(report.areas, 2);

  const wad::Level pillar = PillarDoor();
  zaro3::MoverPlan pillarPlan = PlanOf(pillar);
  const auto pillarEntities = WorldAnd({MakeDoor(pillarPlan, 1, 48, 48, 80, 80, 124)});
  zaro3::PortalReport pillarReport;
  EXPECT_TRUE(zaro3::BuildPortals(pillar, {}, pillarPlan, zaro3::FindPortalSites(pillar, pillarPlan),
                                  pillarEntities, {15, 1}, pillarReport)
                  .empty());
  EXPECT_EQ(pillarReport.doorsWithPortal, 0);
  EXPECT_EQ(pillarReport.doorsHidingNothing, 1);
  EXPECT_EQ(pillarReport.doorsUnsealable, 0);
}

// Two rooms that share sector 0 (west 0..128, east 144..272) with a door (sector 1) between
// them, and a square pillar (a hole in sector 0) in the west room.
wad::Level RoomsSharingASector(bool eastRoomClosed) {
  HandLevel hand({128, 0});
  hand.Line(0, 0, 0, 128, 0, -1);
  hand.Line(0, 128, 128, 128, 0, -1);
  hand.Line(128, 128, 128, 96, 0, -1);
  hand.Line(128, 96, 128, 32, 0, 1);
  hand.Line(128, 32, 128, 0, 0, -1);
  hand.Line(128, 0, 0, 0, 0, -1);
  hand.Line(32, 32, 48, 32, 0, -1);
  hand.Line(48, 32, 48, 48, 0, -1);
  hand.Line(48, 48, 32, 48, 0, -1);
  hand.Line(32, 48, 32, 32, 0, -1);
  hand.Line(128, 96, 144, 96, 1, -1);
  hand.Line(144, 32, 128, 32, 1, -1);
  hand.Line(144, 96, 144, 32, 1, 0);
  hand.Line(144, 128, 272, 128, 0, -1);
  hand.Line(272, 128, 272, 0, 0, -1);
  hand.Line(272, 0, 144, 0, 0, -1);
  hand.Line(144, 0, 144, 32, 0, -1);
  if (eastRoomClosed) hand.Line(144, 96, 144, 128, 0, -1);
  return hand.level;
}

TEST(SectorRegions, TwoRoomsOfOneSectorAreApartAndAPillarBelongsToItsRoom) {
  const wad::Level level = RoomsSharingASector(true);
  const zaro3::SectorRegions regions = zaro3::FindSectorRegions(level);
  ASSERT_EQ(regions.sectorOf.size(), 3u);
  const int west = regions.ofFront[0], pillar = regions.ofFront[6], east = regions.ofFront[13];
  EXPECT_NE(west, east);
  EXPECT_EQ(pillar, west);
  EXPECT_EQ(regions.ofBack[12], east);  // the door's east side
  EXPECT_EQ(regions.ofFront[3], west);  // the door's west side
  EXPECT_TRUE(west == 0 || east == 0);
  EXPECT_EQ(regions.sectorOf[static_cast<std::size_t>(std::max(west, east))], 0);
  EXPECT_EQ(regions.ofFront[10], 1);  // the door, one region

  // An outline that does not close keeps the sector whole.
  const zaro3::SectorRegions open = zaro3::FindSectorRegions(RoomsSharingASector(false));
  EXPECT_EQ(open.sectorOf.size(), 2u);
  EXPECT_EQ(open.ofFront[0], 0);
  EXPECT_EQ(open.ofFront[13], 0);
}

TEST(Portals, ADoorBetweenTwoRoomsOfOneSectorClosesAPortal) {
  const wad::Level level = RoomsSharingASector(true);
  const auto [report, portals] = PortalsWithDoor(level, 128, 32, 144, 96);
  EXPECT_EQ(report.doorsWithPortal, 1);
  ASSERT_EQ(portals.size(), 1u);
  EXPECT_EQ(report.areas, 2);
}

TEST(Portals, ADoorKeepsItsPortalBesideAPlatButNotWhereAnotherDoorWouldTakeIt) {
  const auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 144, 0, 0), Room(144, 272, 0, 128)});
  zaro3::MoverPlan plan = PlanOf(crafted.level);
  zaro3::MapEntity door = MakeDoor(plan, 1, 128, 0, 144, 128, 124);
  // One floor mover of two sectors, one in each room: its bounds span the door, its brushes do not.
  zaro3::MapEntity plat;
  plat.Set("classname", "func_plat");
  plat.brushes.push_back(zaro3::Box(16, 16, 64, 64, -8, 0, zaro3::Surface("d/FLAT")));
  plat.brushes.push_back(zaro3::Box(208, 16, 256, 64, -8, 0, zaro3::Surface("d/FLAT")));
  zaro3::PortalReport report;
  const auto sites = zaro3::FindPortalSites(crafted.level, plan);
  EXPECT_EQ(zaro3::BuildPortals(crafted.level, crafted.pieces, plan, sites, WorldAnd({door, plat}), {15, 1}, report).size(), 1u);
  EXPECT_EQ(report.doorsWithPortal, 1);
  // A crusher (a func_door) whose bounds touch the portal would take it: none then.
  zaro3::MapEntity crusher = plat;
  crusher.Set("classname", "func_door");
  zaro3::PortalReport crushed;
  EXPECT_TRUE(zaro3::BuildPortals(crafted.level, crafted.pieces, plan, sites, WorldAnd({door, crusher}), {15, 1}, crushed).empty());
  EXPECT_EQ(crushed.doorsWithPortal, 0);
}

TEST(Portals, ALevelWithoutDoorsOrNarrowOpeningsStaysOneArea) {
  const auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 8, 120), Room(256, 384, 0, 128)});
  zaro3::PortalReport report;
  const auto portals =
      zaro3::BuildPortals(crafted.level, crafted.pieces, PlanOf(crafted.level), zaro3::FindPortalSites(crafted.level, PlanOf(crafted.level)), WorldAnd({}), {15, 1}, report);
  EXPECT_TRUE(portals.empty());
  EXPECT_EQ(report.areas, 1);
}

TEST(Portals, ADoorwayInAWallGetsOneUnlessAMoverIsNear) {
  const wad::Level level = Doorway();
  const auto sites = zaro3::FindPortalSites(level, PlanOf(level));
  ASSERT_EQ(sites.size(), 1u);
  EXPECT_TRUE(sites[0].narrows);
  zaro3::PortalReport report;
  const auto portals = zaro3::BuildPortals(level, {}, PlanOf(level), sites, WorldAnd({}), {15, 1}, report);
  ASSERT_EQ(portals.size(), 1u);
  EXPECT_EQ(report.areas, 2);
  // A lift whose bounds come within a unit of the doorway keeps it open.
  zaro3::MapEntity lift;
  lift.Set("classname", "func_plat");
  lift.brushes.push_back(zaro3::Box(129, 40, 160, 80, -64, 0, zaro3::Surface("d/LIFT")));
  zaro3::PortalReport near;
  EXPECT_TRUE(zaro3::BuildPortals(level, {}, PlanOf(level), sites, WorldAnd({lift}), {15, 1}, near).empty());
}

TEST(AreaSplit, DoorsKeepTheirSidesApartAndJoinedOpeningsAlwaysJoin) {
  using zaro3::OpeningKind;
  const std::vector<double> weight = {1, 1, 1, 1};
  // 0 -free- 1 =door= 2 -free- 3, and 0 -joined- 3 around the door.
  const std::vector<zaro3::Opening> openings = {{0, 1, OpeningKind::Free, 10}, {1, 2, OpeningKind::Door, 0},
                                                {2, 3, OpeningKind::Free, 5}, {0, 3, OpeningKind::Joined, 0}};
  const auto split = zaro3::SplitAreas(weight, openings, 1.0);
  EXPECT_EQ(split.cut, (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(split.doorsKept, 1);
  EXPECT_EQ(split.areas, 2);
  // With its two sides joined around it, a door keeps nothing apart.
  const std::vector<zaro3::Opening> around = {{1, 2, OpeningKind::Door, 0}, {1, 3, OpeningKind::Joined, 0},
                                              {2, 3, OpeningKind::Joined, 0}};
  EXPECT_EQ(zaro3::SplitAreas(weight, around, 1.0).doorsLost, 1);
}

TEST(AreaSplit, FreeOpeningsJoinWidestFirstUpToTheCap) {
  using zaro3::OpeningKind;
  const std::vector<double> weight = {1, 1, 1, 1};
  const std::vector<zaro3::Opening> chain = {
      {0, 1, OpeningKind::Free, 3}, {1, 2, OpeningKind::Free, 1}, {2, 3, OpeningKind::Free, 2}};
  const auto split = zaro3::SplitAreas(weight, chain, 0.5);
  EXPECT_EQ(split.cut, (std::vector<bool>{false, true, false}));
  EXPECT_DOUBLE_EQ(split.largestShare, 0.5);
}

TEST(Headroom, OpeningsDoom3sPlayerPassesOnlyCrouchingOrNotAtAll) {
  // A 64-high opening between walls, and one 48 high that DOOM's player cannot pass either.
  const auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 0, 64), Room(256, 384, 16, 64)});
  const zaro3::MoverPlan plan = PlanOf(crafted.level);
  const auto sites = zaro3::FindPortalSites(crafted.level, plan);
  const auto one = zaro3::CheckHeadroom(crafted.level, sites, {1, 0});
  EXPECT_EQ(one.openings, 1);
  EXPECT_EQ(one.crouch, 1);
  EXPECT_EQ(one.blocked, 0);
  const auto usual = zaro3::CheckHeadroom(crafted.level, sites, {15, 1});
  EXPECT_EQ(usual.crouch + usual.blocked, 0);
  const auto half = zaro3::CheckHeadroom(crafted.level, sites, {5, 1});
  EXPECT_EQ(half.blocked, 1);
}

TEST(PortalSites, LinesEndToEndOnOneCarrierMakeOneSiteWhicheverWayTheyAreDrawn) {
  auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 0, 128)});
  wad::Level& level = crafted.level;
  // Split the shared line in three at y 40 and 80, the middle piece drawn the other way round.
  const int shared = crafted.sharedLines[1];
  const wad::Linedef whole = level.linedefs[shared];
  level.vertices.push_back({128, 40});
  level.vertices.push_back({128, 80});
  const int v40 = static_cast<int>(level.vertices.size()) - 2, v80 = v40 + 1;
  wad::Linedef low = whole, middle = whole, high = whole;
  low.v2 = v40;                     // up from y 0, front: the right room
  middle.v1 = v80;                  // down from y 80 to y 40: the front is now the left room
  middle.v2 = v40;
  std::swap(middle.front, middle.back);
  high.v1 = v80;
  level.linedefs[shared] = low;
  level.linedefs.push_back(middle);
  level.linedefs.push_back(high);
  const auto sites = zaro3::FindPortalSites(level, PlanOf(level));
  ASSERT_EQ(sites.size(), 1u);
  EXPECT_EQ(sites[0].linedefs.size(), 3u);
  EXPECT_EQ(std::min(sites[0].from.y, sites[0].to.y), 0);
  EXPECT_EQ(std::max(sites[0].from.y, sites[0].to.y), 128);
  EXPECT_TRUE(sites[0].betweenWalls);
  EXPECT_FALSE(sites[0].narrows);  // as wide as both rooms
}

TEST(BrushBounds, FootprintsThatOnlyTouchOrLieAtOtherHeightsDoNotOverlap) {
  const auto box = [](int64_t x0, int64_t x1, int64_t z0, int64_t z1) {
    return zaro3::FootprintOf(zaro3::Box(x0, 0, x1, 64, z0, z1, zaro3::Surface("x")));
  };
  EXPECT_TRUE(zaro3::Overlap(box(0, 64, 0, 64), box(32, 96, 0, 64)));
  EXPECT_FALSE(zaro3::Overlap(box(0, 64, 0, 64), box(64, 96, 0, 64)));  // side by side
  EXPECT_FALSE(zaro3::Overlap(box(0, 64, 0, 64), box(0, 64, 64, 96)));  // one on the other
  // A diagonal slab near a box's corner: the boxes around both overlap, the slab does not.
  const auto slab = zaro3::FootprintOf(zaro3::LineSlab({40, 100}, {100, 40}, 1, true, 0, 64, zaro3::Surface("x"),
                                                       zaro3::Surface("x")));
  ASSERT_TRUE(slab.box.Touches(box(0, 64, 0, 64).box, 0));
  EXPECT_FALSE(zaro3::Overlap(box(0, 64, 0, 64), slab));
}
