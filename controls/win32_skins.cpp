#include "controls/win32_skins.h"

#include <array>

#include "controls/skin_resources.h"

namespace kb::controls {

HBITMAP SkinBitmap(Skin skin) {
  static const std::array<int, 6> ids = {KB_SKIN_NORMAL,          KB_SKIN_HIGHLIGHT,
                                         KB_SKIN_HIGHLIGHTSELECT, KB_SKIN_SELECTED,
                                         KB_SKIN_PRESSED,         KB_SKIN_DISABLE};
  static std::array<HBITMAP, 6> loaded{};
  const auto index = static_cast<std::size_t>(skin);
  if (index >= ids.size()) return nullptr;
  if (loaded[index] == nullptr) {
    loaded[index] =
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids[index]),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  }
  return loaded[index];
}

}  // namespace kb::controls
