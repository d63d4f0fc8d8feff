// BuildPieces: partition, edge attribution, merge, check; one pass per stage.
#include "Pieces.h"

#include <algorithm>

#include "PiecesCheck.h"
#include "PiecesEdges.h"
#include "PiecesMerge.h"
#include "PiecesPartition.h"

namespace zaro3 {

namespace {

// Keeps margins inside the range the exact arithmetic is sized for (coordinates below 2^16).
constexpr int kMaxMargin = 4096;

struct Attempt {
  PieceCut cut;
  std::vector<int> mismatched;
};

Attempt Finish(const wad::Level& level, const std::vector<geo::IntLine>& lines,
               std::vector<geo::ConvexPolygon> cells, const std::vector<SectorArea>& truth, const FacesJoin& join) {
  const SectorLocator locator(level);
  Attempt attempt;
  attempt.cut.cells = AttributeAndLabel(level, lines, std::move(cells), locator);
  attempt.cut.pieces = MergePieces(level, attempt.cut.cells, true, join);
  attempt.mismatched = MismatchedSectors(truth, attempt.cut.pieces);
  return attempt;
}

}  // namespace

PieceCut CutLevel(const wad::Level& level, const PieceOptions& options, PieceReport& report) {
  report = PieceReport{};
  const std::vector<geo::IntLine> lines = LinedefLines(level);
  const geo::ConvexPolygon box = LevelBox(level, std::min(options.margin, kMaxMargin));
  const std::vector<SectorArea> truth = TrueSectorAreas(level);
  for (const SectorArea& s : truth) report.brokenSectors += s.closed ? 0 : 1;

  Attempt result;
  bool haveResult = false;
  if (!options.direct) {
    std::vector<geo::ConvexPolygon> cells;
    std::string reason = level.nodesProblem.empty() ? "the level's nodes are unusable" : level.nodesProblem;
    if (level.nodesUsable && PartitionByNodes(level, lines, box, cells, reason)) {
      result = Finish(level, lines, std::move(cells), truth, options.facesJoin);
      report.usedNodes = true;
      haveResult = true;
    } else {
      report.fallbackReason = reason;
    }
  }
  if (!haveResult) {
    result = Finish(level, lines, PartitionDirect(level, lines, box), truth, options.facesJoin);
  } else if (!result.mismatched.empty()) {
    // The node-guided cut disagrees with the lines somewhere: cut the level
    // from its lines alone and keep that when it agrees better.
    Attempt direct = Finish(level, lines, PartitionDirect(level, lines, box), truth, options.facesJoin);
    if (direct.mismatched.size() < result.mismatched.size()) {
      report.repairedSectors = static_cast<int>(result.mismatched.size() - direct.mismatched.size());
      report.usedNodes = false;
      result = std::move(direct);
    }
  }
  report.subsectors = static_cast<int>(result.cut.cells.size());
  for (const Piece& p : result.cut.pieces) (p.sector >= 0 ? report.sectorPieces : report.voidPieces) += 1;
  return std::move(result.cut);
}

std::vector<Piece> BuildPieces(const wad::Level& level, const PieceOptions& options, PieceReport& report) {
  return CutLevel(level, options, report).pieces;
}

}  // namespace zaro3
