// LayerPieces: the footprints of the floor brushes and of the ceiling brushes.
//
// A floor brush shows its top (the sector's flat at the floor height) and a
// side only where the neighbour's floor is lower. Between neighbouring sectors
// with the same floor height and flat it shows nothing, so their cells merge
// into one floor piece across the lines between them; ceilings likewise with
// the ceiling height and flat. A moving sector's world brushes stay its own.
// The step rules below are the ones the brush builders texture by, so a
// merge never hides a face that would show.
#pragma once

#include <vector>

#include "Level.h"
#include "MoverPlan.h"
#include "Pieces.h"

namespace zaro3 {

// Whether the floor brush of `sector` shows a lower texture towards `across` (-1: none).
bool LowerStepShows(const MoverPlan& plan, int sector, int across);
// Whether the ceiling brush of `sector` shows an upper texture (or sky) towards `across`.
bool UpperStepShows(const MoverPlan& plan, int sector, int across);

struct LayerPieces {
  std::vector<Piece> floors;    // each carries one sector of its group
  std::vector<Piece> ceilings;
};

// `join`: as PieceOptions::facesJoin, for the steps' faces.
LayerPieces BuildLayerPieces(const wad::Level& level, const std::vector<LabelledCell>& cells, const MoverPlan& plan,
                             const FacesJoin& join = {});

}  // namespace zaro3
