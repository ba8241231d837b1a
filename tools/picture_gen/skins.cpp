#include "tools/picture_gen/skins.h"

#include <utility>

#include "controls/skin_design.h"

namespace kb::gen {

std::vector<Skin> paintSkins() {
  using controls::Skin;
  const std::pair<Skin, const char*> named[] = {{Skin::Normal, "Normal"},
                                                {Skin::HighLight, "HighLight"},
                                                {Skin::HighLightSelect, "HighLightSelect"},
                                                {Skin::Selected, "Selected"},
                                                {Skin::Pressed, "Pressed"},
                                                {Skin::Disable, "Disable"}};
  std::vector<gen::Skin> skins;
  for (const auto& [skin, name] : named) skins.push_back({name, controls::PaintSkin(skin, 96)});
  return skins;
}

}  // namespace kb::gen
