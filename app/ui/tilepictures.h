// The program's own artwork for the Browse page's tiles "B1" to "B7", drawn
// in code so that no image files have to travel with the program.
#pragma once

#include <QImage>

#include "library/tilegeometry.h"
#include "output/drawhelpers.h"
#include "picture/bitmap.h"

namespace vantlo {

// The seven 80 x 80 tile pictures, in the order of `ttilepicture`.
ttilepictures DrawTilePictures();

}  // namespace vantlo
