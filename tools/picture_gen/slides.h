// The pictures the screensaver carries: the reel's film strip, nine slides,
// each with its own dominant colour, and the preview of the whole show.
#pragma once

#include "common/image.h"

namespace kb::gen {

RgbImage paintReel();             // 180 x 148
RgbImage paintSlide(int number);  // 1 to 9, 256 x 256
RgbImage paintPreview();          // 152 x 112

}  // namespace kb::gen
