// The icons of the shared image list, loaded the one way start-up and tests use.
//
// Creates the list (16 x 16, 4-bit colour with mask, capacity 0, growth 6) and
// appends the icons 131, 132, 133, 138, 140, 139 from the running program's
// resources, which fixes their indices: 0 blank, 1 tick, 2 cross, 3 folder,
// 4 empty check box, 5 ticked check box. The list keeps copies of the icons.
#pragma once

#include "ImageList.h"

// False when the list already exists, cannot be created or an icon is missing.
bool FillSharedImageList(CImageList& images);
