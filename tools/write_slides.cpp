// kb_write_slides <assets folder> <output folder>
// Writes the ten slide bitmaps Kolvane_Brightrun0.bmp to Kolvane_Brightrun9.bmp
// made from the project's pictures, as the screensaver program does before a
// show. Developers use it to place the hand-off files for the renderer alone.
#include <cstdio>
#include <fstream>
#include <string>

#include "common/image.h"
#include "common/slide_files.h"
#include "common/slide_set.h"
#include "tools/asset_names.h"

namespace {

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

// Writes the whole file or removes what was started: a half-written bitmap
// would be read by the renderer as a damaged picture.
bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out.fail()) return true;
  std::remove(path.c_str());
  return false;
}

bool writeSlide(int index, const std::string& assets, const std::string& outFolder) {
  const std::string source = joinPath(assets, kb::embeddedPictureName(index));
  const auto picture = kb::readFileBytes(source);
  if (!picture) {
    std::fprintf(stderr, "kb_write_slides: cannot read %s\n", source.c_str());
    return false;
  }
  const auto bitmap = kb::makeSlideBitmapFile(index, picture->data(), picture->size());
  if (!bitmap) {
    std::fprintf(stderr, "kb_write_slides: %s is not a usable picture for slot %d\n",
                 source.c_str(), index);
    return false;
  }
  const std::string target = joinPath(outFolder, kb::slideBaseName(index));
  if (!writeWholeFile(target, *bitmap)) {
    std::fprintf(stderr, "kb_write_slides: cannot write %s\n", target.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kb_write_slides <assets folder> <output folder>\n");
    return 2;
  }
  // Every slot is tried even after a failure, like the show does.
  bool allWritten = true;
  for (int index = 0; index < kb::kSlideFileCount; ++index)
    allWritten = writeSlide(index, argv[1], argv[2]) && allWritten;
  return allWritten ? 0 : 1;
}
