// AreaSplit: which openings between sectors become visportals, as a graph cut.
//
// Sectors are the nodes, weighted by how much they draw; every opening is an
// edge of one of three kinds. A Joined edge can carry no portal, so its two
// sectors always share an area. A Door edge must carry one (the door closes
// it), so its two sides must never end up in one area. A Free edge may carry
// one. Free edges are joined greedily, the least portal-like first (the caller's
// cost: large openings before doorways), while the joined area stays under the
// cap and no door's two sides meet; what is left between different areas is
// cut. Pure values in, values out.
#pragma once

#include <vector>

namespace zaro3 {

enum class OpeningKind { Joined, Door, Free };

struct Opening {
  int a = -1, b = -1;    // sectors
  OpeningKind kind = OpeningKind::Free;
  double joinFirst = 0;  // larger: joined earlier
};

struct AreaSplitResult {
  std::vector<bool> cut;   // per opening
  std::vector<int> groupOf;  // per sector: its group (the same number for one planned area)
  int areas = 0;           // groups of sectors that have any opening or weight
  int doorsKept = 0;       // door openings that are cut
  int doorsLost = 0;       // door openings whose sides other openings join anyway
  double largestShare = 0; // of the weight, in the largest group
};

// `cap`: the largest share of the total weight a group may reach by joining Free edges.
AreaSplitResult SplitAreas(const std::vector<double>& weight, const std::vector<Opening>& openings, double cap);

}  // namespace zaro3
