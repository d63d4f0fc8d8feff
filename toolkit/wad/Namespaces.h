// Namespaces: the lumps between start and end markers (flats, patches,
// sprites). A flat is 64x64 raw palette indices, row by row.
//
// Markers may be doubled (FF_START ... F_END, as PWAD tools write them) and
// may nest sub-markers (F1_START, P2_END): any empty lump whose name ends in
// _START or _END inside a range is a marker, not a member. An unclosed range
// runs to the end of the wad. Only 4096-byte flats are flats; others are the
// caller's problem to report.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "WadFile.h"

namespace wad {

// Lump indices inside every range opened by one of `starts` and closed by one of `ends`, in wad order.
std::vector<int> LumpsInNamespace(const WadFile& wad, std::initializer_list<std::string_view> starts,
                                  std::initializer_list<std::string_view> ends);

// The flat lumps (F_START/F_END, FF_START/FF_END), one per name, the last of each name winning, in wad order.
std::vector<int> FlatLumps(const WadFile& wad);
// Whether lump `index` lies in the flat namespace.
bool IsFlatLump(const WadFile& wad, int index);

constexpr int kFlatSide = 64;
constexpr std::size_t kFlatBytes = kFlatSide * kFlatSide;

}  // namespace wad
