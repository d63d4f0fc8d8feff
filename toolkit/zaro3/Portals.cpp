#include "Portals.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "AreaSplit.h"
#include "BrushBounds.h"
#include "DoorPortal.h"
#include "PrismShapes.h"
#include "SectorRegions.h"

namespace zaro3 {

namespace {

// How thick a portal brush is, and the least room beside its opening it stands in, DOOM units.
constexpr int64_t kPortalThickness = 1;
constexpr double kPortalRoom = 6;
// No area may grow past this share of the level's drawn faces by joining free openings.
constexpr double kAreaCap = 0.08;
// An area planned through narrow openings alone that is bigger than this share of the
// level and this many faces is split further at wide openings too; a small level, whose
// areas hold few faces anyway, keeps its open rooms whole.
constexpr double kBigAreaShare = 0.15;
constexpr double kBigAreaFaces = 500;
// Added to a wide opening's order, so that every wide opening is joined before a narrow one.
constexpr double kWideJoinedFirst = 1e12;
// Room kept between a portal and another mover's bounds, DOOM units, beyond the game's own pad.
constexpr double kMoverClearance = 1;
// Far above and below any level, for a mover's column.
constexpr double kEverywhere = 1e9;

// What a brush entity is to a portal: a door takes one, a static model must not be cut, any
// other mover must keep its path clear. Triggers have no model to draw or cut: a portal
// through one changes nothing of it, so they are left out.
enum class EntityKind { Door, Static, Mover };

struct PlacedEntity {
  EntityKind kind;
  BrushEntityBounds bounds;
};

std::vector<PlacedEntity> PlacedEntitiesOf(const std::vector<MapEntity>& entities) {
  std::vector<PlacedEntity> placed;
  for (BrushEntityBounds& bounds : BrushEntitiesOf(entities)) {
    if (bounds.classname.rfind("trigger_", 0) == 0) continue;
    const EntityKind kind = bounds.classname == "func_door"     ? EntityKind::Door
                            : bounds.classname == "func_static" ? EntityKind::Static
                                                                : EntityKind::Mover;
    placed.push_back({kind, std::move(bounds)});
  }
  return placed;
}

// Keeps portal brushes clear of the brush entities.
class PortalPlacer {
public:
  PortalPlacer(const wad::Level& level, const MoverPlan& plan, const std::vector<MapEntity>& entities,
               const Scale& scale)
      : m_entities(PlacedEntitiesOf(entities)) {
    // The game pads a door's bounds by one of its units before it looks for a portal.
    m_doorPad = 1.0 / scale.Value() + kMoverClearance;
    m_doorBoxes.resize(level.sectors.size());
    std::vector<bool> started(level.sectors.size(), false);
    for (const wad::Linedef& line : level.linedefs) {
      for (const int side : {line.front, line.back}) {
        if (side < 0) continue;
        const int s = level.sidedefs[side].sector;
        if (!plan.IsDoor(s)) continue;
        for (const int v : {line.v1, line.v2}) {
          AddPoint(m_doorBoxes[s], level.vertices[v], started[s]);
          started[s] = true;
        }
      }
    }
  }

  // The brush for `site` on the side of its front sector (or its back), when it keeps
  // clear of every brush entity but the door of sector `ownDoor` (-1: none).
  bool Place(const PortalSite& site, bool onFront, Prism& slab, int ownDoor = -1) const {
    const IntPoint a = site.from, b = site.to;
    slab = LineSlab(a, b, kPortalThickness, onFront, site.low, site.high, Surface(kPortalSideMaterial),
                    Surface(kPortalSideMaterial));
    if (!FootprintIsSound(slab)) return false;
    for (PrismSide& side : slab.sides) {
      if ((side.a == a || side.a == b) && (side.b == a || side.b == b)) side.face = Surface(kVisportalMaterial);
    }
    Box3 face;
    face.lo[0] = static_cast<double>(std::min(a.x, b.x));
    face.hi[0] = static_cast<double>(std::max(a.x, b.x));
    face.lo[1] = static_cast<double>(std::min(a.y, b.y));
    face.hi[1] = static_cast<double>(std::max(a.y, b.y));
    face.lo[2] = static_cast<double>(site.low);
    face.hi[2] = static_cast<double>(site.high);
    return Clear(slab, face, ownDoor);
  }

  // Whether the brush `slab` with its visportal face in `face` keeps clear of every brush
  // entity but the door of sector `ownDoor` (-1: none).
  bool Clear(const Prism& slab, const Box3& face, int ownDoor) const {
    const Footprint brush = FootprintOf(slab);
    // Every test below needs the entity within a pad of the brush seen from above.
    const double reach = std::max(m_doorPad, kMoverClearance);
    for (const PlacedEntity& placed : m_entities) {
      const BrushEntityBounds& entity = placed.bounds;
      if (!TouchesAcross(brush.box, entity.box, reach)) continue;
      if (placed.kind == EntityKind::Door) {
        if (ownDoor >= 0 && Covers(entity.box, m_doorBoxes[ownDoor])) continue;
        if (face.Touches(entity.box, m_doorPad)) return false;
      } else if (placed.kind == EntityKind::Static) {
        for (const Footprint& other : entity.brushes) {
          if (Overlap(brush, other)) return false;
        }
      } else if (ownDoor >= 0) {
        // Other movers (plats, risers) never take a portal: a door's own portal must only stay
        // out of the column they move in.
        for (Footprint column : entity.brushes) {
          column.zLow = column.box.lo[2] = -kEverywhere;
          column.zHigh = column.box.hi[2] = kEverywhere;
          if (Overlap(brush, column)) return false;
        }
      } else if (TouchesAcross(brush.box, entity.box, kMoverClearance)) {
        return false;
      }
    }
    return true;
  }

private:
  static void AddPoint(Box3& box, const wad::Vertex& v, bool started) {
    if (!started) {
      box.lo[0] = box.hi[0] = v.x;
      box.lo[1] = box.hi[1] = v.y;
      return;
    }
    box.lo[0] = std::min<double>(box.lo[0], v.x);
    box.hi[0] = std::max<double>(box.hi[0], v.x);
    box.lo[1] = std::min<double>(box.lo[1], v.y);
    box.hi[1] = std::max<double>(box.hi[1], v.y);
  }

  // Whether the entity's box holds the door sector's footprint.
  static bool Covers(const Box3& entity, const Box3& sector) {
    constexpr double slack = 0.5;
    return entity.lo[0] <= sector.lo[0] + slack && entity.hi[0] >= sector.hi[0] - slack &&
           entity.lo[1] <= sector.lo[1] + slack && entity.hi[1] >= sector.hi[1] - slack;
  }

  // Whether two boxes come within `pad` of each other seen from above.
  static bool TouchesAcross(const Box3& a, const Box3& b, double pad) {
    return a.lo[0] <= b.hi[0] + pad && a.hi[0] >= b.lo[0] - pad && a.lo[1] <= b.hi[1] + pad &&
           a.hi[1] >= b.lo[1] - pad;
  }

  std::vector<PlacedEntity> m_entities;
  std::vector<Box3> m_doorBoxes;  // per sector, for door sectors
  double m_doorPad = 1;
};

// Roughly how many faces each region draws: its walls, and its sector's floor and ceiling
// pieces shared among the sector's regions by their walls.
std::vector<double> DrawnWeights(const wad::Level& level, const std::vector<Piece>& pieces,
                                 const SectorRegions& regions) {
  std::vector<double> walls(regions.sectorOf.size(), 0);
  std::vector<double> sectorWalls(level.sectors.size(), 0);
  for (std::size_t i = 0; i < level.linedefs.size(); ++i) {
    for (const int region : {regions.ofFront[i], regions.ofBack[i]}) {
      if (region < 0) continue;
      walls[region] += 2;
      sectorWalls[regions.sectorOf[region]] += 2;
    }
  }
  std::vector<double> flats(level.sectors.size(), 0);
  for (const Piece& piece : pieces) {
    if (piece.sector >= 0) flats[piece.sector] += 2.0 * std::max<double>(1, piece.edges.size() - 2.0);
  }
  std::vector<double> weight(walls.size(), 0);
  for (std::size_t region = 0; region < weight.size(); ++region) {
    const int sector = regions.sectorOf[region];
    // A sector without walls keeps its flats on its own number.
    const double flatsHere = sectorWalls[sector] > 0 ? flats[sector] * walls[region] / sectorWalls[sector]
                             : region == static_cast<std::size_t>(sector) ? flats[sector]
                                                                           : 0.0;
    weight[region] = walls[region] + flatsHere;
  }
  return weight;
}

// The graph node on the front (or back) of a site: the region of that side.
int NodeOf(const wad::Level& level, const SectorRegions& regions, const PortalSite& site, bool onFront) {
  const int sector = onFront ? site.front : site.back;
  if (site.linedefs.empty()) return sector;
  const std::size_t l = static_cast<std::size_t>(site.linedefs.front());
  const wad::Linedef& line = level.linedefs[l];
  const bool lineFrontIsSector = line.front >= 0 && level.sidedefs[line.front].sector == sector;
  const int region = lineFrontIsSector ? regions.ofFront[l] : regions.ofBack[l];
  return region >= 0 ? region : sector;
}

// A door's portal: the opening between the two halves of a part of the door, the near one
// (the door's own sector in the graph for its first part, a node of its own for any other)
// and the far one (a node of its own).
struct DoorSplit {
  int door = -1;
  int nearNode = -1;
  int farNode = -1;
  std::vector<Prism> slabs;  // one, or one per arm of a bent cut
};

// A door no cut across its middle seals (a door in a niche of a wall, open on one side only;
// a door whose middle is bent or blocked): its only opening to one neighbour carries the
// portal, on the door's side of the run, so that it parts that neighbour from the door and
// whatever else the door opens to. The site's door end gets the far node of its own.
bool EdgeSplit(const PortalPlacer& placer, const std::vector<PortalSite>& sites, const std::vector<int>& front,
               const std::vector<int>& back, const std::vector<std::size_t>& doorSites, int door, int farNode,
               DoorSplit& split, std::size_t& site) {
  std::map<int, int> runsTo;  // per neighbouring node
  for (const std::size_t i : doorSites) ++runsTo[front[i] == door ? back[i] : front[i]];
  for (const std::size_t i : doorSites) {
    const PortalSite& candidate = sites[i];
    const bool doorInFront = candidate.front == door;
    if (runsTo[doorInFront ? back[i] : front[i]] != 1) continue;
    Prism slab;
    if (!placer.Place(candidate, doorInFront, slab, door)) continue;
    split = {door, door, farNode, {std::move(slab)}};
    site = i;
    return true;
  }
  return false;
}

// A door part no straight cut seals, with runs to two neighbours only: the bent cut along the
// runs to one of them, when every arm's brush keeps clear of other entities. `near` gets the
// runs along the cut, `far` the others.
bool BentSplit(const wad::Level& level, const MoverPlan& plan, const PortalPlacer& placer,
               const std::vector<PortalSite>& sites, const std::vector<int>& front, const std::vector<int>& back,
               const std::vector<std::size_t>& own, int door, const DoorOutline& outline, std::size_t part,
               std::vector<std::size_t>& near, std::vector<std::size_t>& far, std::vector<Prism>& slabs) {
  std::map<int, std::vector<std::size_t>> byNeighbour;
  for (const std::size_t i : own) byNeighbour[front[i] == door ? back[i] : front[i]].push_back(i);
  if (byNeighbour.size() != 2) return false;
  const std::vector<std::size_t>* groups[2] = {&byNeighbour.begin()->second, &byNeighbour.rbegin()->second};
  for (int k = 0; k < 2; ++k) {
    const std::vector<std::size_t>& outerSites = *groups[k];
    const std::vector<std::size_t>& innerSites = *groups[1 - k];
    std::vector<PortalSite> outer, inner;
    for (const std::size_t i : outerSites) outer.push_back(sites[i]);
    for (const std::size_t i : innerSites) inner.push_back(sites[i]);
    std::vector<DoorCut> cuts;
    if (!DoorBentPortal(level, plan, door, outline, part, outer, inner, cuts)) continue;
    const bool clear = std::all_of(cuts.begin(), cuts.end(),
                                   [&](const DoorCut& cut) { return placer.Clear(cut.slab, cut.face, door); });
    if (!clear) continue;
    near = outerSites;
    far = innerSites;
    slabs.clear();
    for (DoorCut& cut : cuts) slabs.push_back(std::move(cut.slab));
    return true;
  }
  return false;
}

// Each door part's portal across its middle, parallel to one of its runs, where the brush
// seals, keeps clear of other entities and has runs of the part on both halves. The part's
// runs on the far half get the far half's node in place of the door's sector (`front`,
// `back`), and those of any part but the first on the near half a near node of its own, so
// that two parts of one door never join what the door parts.
// `sealable` tells, per sector, whether some part of the door could take a portal at all.
std::vector<DoorSplit> SplitDoors(const wad::Level& level, const MoverPlan& plan, const PortalPlacer& placer,
                                  const std::vector<PortalSite>& sites, int firstFreeNode, std::vector<int>& front,
                                  std::vector<int>& back, std::vector<bool>& sealable) {
  sealable.assign(level.sectors.size(), false);
  std::vector<std::vector<std::size_t>> sitesOf(level.sectors.size());
  for (std::size_t i = 0; i < sites.size(); ++i) {
    sitesOf[sites[i].front].push_back(i);
    sitesOf[sites[i].back].push_back(i);
  }
  std::vector<DoorSplit> splits;
  int nextNode = firstFreeNode;
  auto renode = [&](std::size_t j, int from, int to) {
    if (front[j] == from) front[j] = to;
    if (back[j] == from) back[j] = to;
  };
  for (std::size_t door = 0; door < level.sectors.size(); ++door) {
    if (!plan.IsDoor(static_cast<int>(door))) continue;
    const int doorNode = static_cast<int>(door);
    bool first = true;
    // The part's runs on either half of its cut get the halves' nodes.
    auto addSplit = [&](const std::vector<std::size_t>& near, const std::vector<std::size_t>& far,
                        std::vector<Prism> slabs) {
      const int nearNode = first ? doorNode : nextNode++;
      const int farNode = nextNode++;
      for (const std::size_t j : far) renode(j, doorNode, farNode);
      for (const std::size_t j : near) renode(j, doorNode, nearNode);
      splits.push_back({doorNode, nearNode, farNode, std::move(slabs)});
      first = false;
    };
    const DoorOutline outline = DoorOutlineOf(level, doorNode);
    for (std::size_t part = 0; part < outline.parts.size(); ++part) {
      std::vector<std::size_t> own;
      for (const std::size_t i : sitesOf[door]) {
        if (RunsAlong(level, outline, part, sites[i])) own.push_back(i);
      }
      bool partCut = false;
      for (const std::size_t i : own) {
        DoorCut cut;
        if (!DoorMiddlePortal(level, plan, doorNode, outline, part, sites[i], cut)) continue;
        sealable[door] = true;
        // A run lies wholly on one half (the cut meets the door's outline at walls only).
        std::vector<std::size_t> far, near;
        for (const std::size_t j : own) {
          const geo::IntVec from{sites[j].from.x, sites[j].from.y}, to{sites[j].to.x, sites[j].to.y};
          (cut.line.SideValue(from) + cut.line.SideValue(to) > 0 ? far : near).push_back(j);
        }
        if (far.empty() || !placer.Clear(cut.slab, cut.face, doorNode)) continue;
        addSplit(near, far, {std::move(cut.slab)});
        partCut = true;
        break;
      }
      std::vector<std::size_t> near, far;
      std::vector<Prism> slabs;
      if (!partCut && BentSplit(level, plan, placer, sites, front, back, own, doorNode, outline, part, near, far,
                                slabs)) {
        sealable[door] = true;
        addSplit(near, far, std::move(slabs));
      }
    }
    DoorSplit edge;
    std::size_t edgeSite = 0;
    if (first && EdgeSplit(placer, sites, front, back, sitesOf[door], doorNode, nextNode, edge, edgeSite)) {
      sealable[door] = true;
      renode(edgeSite, doorNode, nextNode++);
      splits.push_back(std::move(edge));
    }
  }
  return splits;
}

// Every other site: free where it narrows the way, wide where it does not (cut only in big
// areas), joined where no portal may stand (by a door, or too near a brush entity).
void MarkOtherSites(const MoverPlan& plan, const PortalPlacer& placer, const std::vector<PortalSite>& sites,
                    std::vector<Opening>& graph, std::vector<Prism>& slabs, std::vector<bool>& wide) {
  wide.assign(sites.size(), false);
  for (std::size_t i = 0; i < sites.size(); ++i) {
    const PortalSite& site = sites[i];
    graph[i].kind = OpeningKind::Joined;
    if (plan.IsDoor(site.front) || plan.IsDoor(site.back)) continue;
    // In the deeper of the two sectors, out of the way of narrow ledges and sills; never in a
    // slit a few units thin, where a portal hides nothing a mapper would portal off.
    const bool frontFirst = site.frontRoom > site.backRoom;
    const double rooms[2] = {frontFirst ? site.frontRoom : site.backRoom, frontFirst ? site.backRoom : site.frontRoom};
    bool placed = false;
    for (int k = 0; k < 2 && !placed; ++k) {
      placed = rooms[k] >= kPortalRoom && placer.Place(site, frontFirst == (k == 0), slabs[i]);
    }
    if (!placed) continue;
    const double length = std::hypot(static_cast<double>(site.to.x - site.from.x),
                                      static_cast<double>(site.to.y - site.from.y));
    graph[i].joinFirst = length * static_cast<double>(site.high - site.low);
    if (site.narrows) graph[i].kind = OpeningKind::Free;
    else wide[i] = true;
  }
}

// Lets the wide sites of every area that is still big be cut too; false when there is none.
bool FreeWideSitesOfBigAreas(const std::vector<double>& weight, const AreaSplitResult& split,
                             const std::vector<bool>& wide, std::vector<Opening>& graph) {
  const double total = std::accumulate(weight.begin(), weight.end(), 0.0);
  std::vector<double> groupWeight(weight.size(), 0);
  for (std::size_t s = 0; s < weight.size(); ++s) groupWeight[split.groupOf[s]] += weight[s];
  bool freed = false;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const double g = groupWeight[split.groupOf[graph[i].a]];
    if (!wide[i] || g <= kBigAreaShare * total || g <= kBigAreaFaces) continue;
    // Wide sites are joined before any narrow one, so they are cut only where no narrow one will do.
    graph[i].kind = OpeningKind::Free;
    graph[i].joinFirst += kWideJoinedFirst;
    freed = true;
  }
  return freed;
}

// Counts the doors, those that close a portal and, of the others, those that hide nothing
// when shut (a pillar that opens, with one sector all round and no wall) and those no flat
// portal seals.
void CountDoors(const wad::Level& level, const MoverPlan& plan, const std::vector<PortalSite>& sites,
                const std::vector<DoorSplit>& splits, const std::vector<bool>& splitCut,
                const std::vector<bool>& sealable, PortalReport& report) {
  std::vector<std::vector<int>> neighbours(level.sectors.size());
  for (const PortalSite& site : sites) {
    neighbours[site.front].push_back(site.back);
    neighbours[site.back].push_back(site.front);
  }
  std::vector<bool> walled(level.sectors.size(), false);
  for (const wad::Linedef& line : level.linedefs) {
    if (line.front >= 0 && line.back < 0) walled[level.sidedefs[line.front].sector] = true;
  }
  std::vector<bool> closes(level.sectors.size(), false);
  for (std::size_t k = 0; k < splits.size(); ++k) closes[splits[k].door] = closes[splits[k].door] || splitCut[k];
  for (std::size_t s = 0; s < level.sectors.size(); ++s) {
    if (!plan.IsDoor(static_cast<int>(s))) continue;
    ++report.doors;
    std::vector<int>& n = neighbours[s];
    std::sort(n.begin(), n.end());
    const auto distinct = std::unique(n.begin(), n.end()) - n.begin();
    if (closes[s]) ++report.doorsWithPortal;
    else if (distinct < 2 && !walled[s]) ++report.doorsHidingNothing;
    else if (!sealable[s]) ++report.doorsUnsealable;
  }
}

}  // namespace

std::vector<Prism> BuildPortals(const wad::Level& level, const std::vector<Piece>& pieces, const MoverPlan& plan,
                                const std::vector<PortalSite>& sites, const std::vector<MapEntity>& entities,
                                const Scale& scale, PortalReport& report) {
  const PortalPlacer placer(level, plan, entities, scale);
  std::vector<Opening> graph(sites.size());
  std::vector<Prism> slabs(sites.size());
  // Nodes: regions of sectors (two rooms that share a sector are apart), then the doors' own.
  // A door stays one region: its own cuts keep its parts apart.
  std::vector<bool> doors(level.sectors.size(), false);
  for (std::size_t s = 0; s < doors.size(); ++s) doors[s] = plan.IsDoor(static_cast<int>(s));
  const SectorRegions regions = FindSectorRegions(level, doors);
  std::vector<int> front, back;
  for (const PortalSite& site : sites) {
    front.push_back(NodeOf(level, regions, site, true));
    back.push_back(NodeOf(level, regions, site, false));
  }
  std::vector<bool> sealable;
  const int regionCount = static_cast<int>(regions.sectorOf.size());
  std::vector<DoorSplit> splits = SplitDoors(level, plan, placer, sites, regionCount, front, back, sealable);
  // Doorways and other narrowings first; the rest only where an area would stay too big.
  std::vector<bool> wide;
  MarkOtherSites(plan, placer, sites, graph, slabs, wide);
  for (std::size_t i = 0; i < sites.size(); ++i) {
    graph[i].a = front[i];
    graph[i].b = back[i];
  }
  int nodes = regionCount;
  for (const DoorSplit& split : splits) {
    graph.push_back({split.nearNode, split.farNode, OpeningKind::Door, 0});
    nodes = std::max({nodes, split.nearNode + 1, split.farNode + 1});
  }
  std::vector<double> weight = DrawnWeights(level, pieces, regions);
  weight.resize(static_cast<std::size_t>(nodes), 0);
  AreaSplitResult split = SplitAreas(weight, graph, kAreaCap);
  if (FreeWideSitesOfBigAreas(weight, split, wide, graph)) split = SplitAreas(weight, graph, kAreaCap);

  std::vector<Prism> portals;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    if (split.cut[i]) portals.push_back(std::move(slabs[i]));
  }
  std::vector<bool> splitCut;
  for (std::size_t k = 0; k < splits.size(); ++k) {
    splitCut.push_back(split.cut[sites.size() + k]);
    if (!splitCut.back()) continue;
    for (Prism& slab : splits[k].slabs) portals.push_back(std::move(slab));
  }
  CountDoors(level, plan, sites, splits, splitCut, sealable, report);
  report.portals = static_cast<int>(portals.size());
  report.areas = split.areas;
  report.largestShare = split.largestShare;
  return portals;
}

}  // namespace zaro3
