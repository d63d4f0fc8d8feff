// Picture: the preview's name for the kit's RGBA image (rows from the top, four
// bytes a pixel). A plain value; whoever holds it owns its pixels.
#pragma once

#include "Image.h"

namespace mappreview {

using Picture = image::Image;

}  // namespace mappreview
