// The six skin pictures of the Command button, drawn from their designs: a
// 4-pixel frame band (at 96 dots per inch) around a face; only the band is
// ever drawn on the button. At 96 dots per inch they are the pictures in
// assets/skins, which the picture generator writes with this code.
#pragma once

#include "common/image.h"
#include "controls/command.h"

namespace kb::controls {

// The skin's picture at `dotsPerInch`: 64 x 25 pixels at 96, scaled with the
// resolution. Each frame line keeps one colour across its whole thickness,
// the side bands' shading is worked out for every row, and the corners are
// those of the 96-DPI picture, each of their pixels grown to the scale.
RgbImage PaintSkin(Skin skin, int dotsPerInch);

}  // namespace kb::controls
