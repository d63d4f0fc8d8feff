// The naming pass: every entity without a "name" gets a unique "noname%u".
//
// First every existing name in the list is collected, then unnamed entities are
// named in list order from one counter that starts at 0 and rises by one for
// every candidate tried; a candidate already in use anywhere in the file is
// skipped. Existing names are never changed, not even duplicates.
//
// Does not check: whether existing names are unique. Comparison is exact and
// case-sensitive ("NoName0" and "noname00" do not block "noname0"). Order: file
// order. Ownership: modifies the caller's list; new names' text goes into the
// list's arena.
#pragma once

#include "MapModel.h"

// Gives every unnamed entity of the list its generated name.
void NameUnnamedEntities(MapEntityList& entities);
