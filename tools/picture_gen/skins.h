// The six 64 x 25 skin pictures of the Command button, as assets/skins holds
// them: drawn by controls/skin_design.h at 96 dots per inch.
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
