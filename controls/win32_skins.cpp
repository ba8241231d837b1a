#include "controls/win32_skins.h"

#include <array>
#include <map>
#include <utility>

#include "common/twips.h"
#include "common/win32_dpi.h"
#include "controls/skin_design.h"
#include "controls/skin_resources.h"

namespace kb::controls {

HBITMAP SkinBitmap(Skin skin, int dotsPerInch) {
  static const std::array<int, 6> ids = {KB_SKIN_NORMAL,          KB_SKIN_HIGHLIGHT,
                                         KB_SKIN_HIGHLIGHTSELECT, KB_SKIN_SELECTED,
                                         KB_SKIN_PRESSED,         KB_SKIN_DISABLE};
  static std::map<std::pair<Skin, int>, HBITMAP> made;
  const auto index = static_cast<std::size_t>(skin);
  if (index >= ids.size()) return nullptr;
  HBITMAP& bitmap = made[{skin, dotsPerInch}];
  if (bitmap != nullptr) return bitmap;
  // NOTE: never a 96-DPI picture stretched: at another resolution the frame
  // is drawn anew, its lines as thick as the scale makes them.
  if (dotsPerInch == kScreenDotsPerInch) {
    bitmap =
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids[index]),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  } else {
    bitmap = createBitmap(PaintSkin(skin, dotsPerInch));
  }
  return bitmap;
}

}  // namespace kb::controls
