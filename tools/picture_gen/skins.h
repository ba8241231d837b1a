// The six 64 x 25 skin pictures of the Command button: a 4-pixel frame band
// around a face. Only the band is ever drawn by the button.
#pragma once

#include <string>
#include <vector>

#include "common/image.h"

namespace kb::gen {

struct Skin {
  std::string name;  // file name without ".bmp"
  RgbImage picture;
};

// Normal, HighLight, HighLightSelect, Selected, Pressed, Disable.
std::vector<Skin> paintSkins();

}  // namespace kb::gen
