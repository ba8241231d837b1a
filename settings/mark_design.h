// The two selection marks of the dialog's music kinds, drawn from their
// design: a square box, empty (light) or filled (blue), 12 pixels at 96 dots
// per inch. At 96 they are assets/mark_empty.bmp and mark_filled.bmp, which
// the picture generator writes with this code.
#pragma once

#include "common/image.h"

namespace kb::settings {

// The mark at `dotsPerInch`: its side and its border grow with the
// resolution, its shading is worked out for every row.
RgbImage PaintMark(bool filled, int dotsPerInch);

}  // namespace kb::settings
