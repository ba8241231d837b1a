// The settings dialog's pictures: the two 12 x 12 selection marks and the
// window's 32 x 32, 256-colour icon.
#pragma once

#include "common/image.h"
#include "tools/picture_gen/encoders.h"

namespace kb::gen {

RgbImage paintEmptyMark();   // an empty square box
RgbImage paintFilledMark();  // a blue filled square box
IndexedIcon paintIcon();     // a film reel with coloured windows

}  // namespace kb::gen
