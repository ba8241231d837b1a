// kb_picture_gen <output folder>
// Makes every picture of the project into the folder (normally assets/):
// reel.bmp, slide1.jpg to slide9.jpg, preview.jpg, mark_empty.bmp,
// mark_filled.bmp, icon.ico and skins/<name>.bmp. The same bytes every run.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/image.h"
#include "common/slide_set.h"
#include "tools/asset_names.h"
#include "tools/picture_gen/encoders.h"
#include "tools/picture_gen/marks_icon.h"
#include "tools/picture_gen/skins.h"
#include "tools/picture_gen/slides.h"

namespace {

constexpr int kJpegQuality = 92;

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (out) return true;
  std::fprintf(stderr, "kb_picture_gen: cannot write %s\n", path.string().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kb_picture_gen <output folder>\n");
    return 2;
  }
  namespace gen = kb::gen;
  const std::filesystem::path out = argv[1];
  std::error_code error;
  std::filesystem::create_directories(out / "skins", error);
  if (error) {
    std::fprintf(stderr, "kb_picture_gen: cannot make %s\n", (out / "skins").string().c_str());
    return 1;
  }
  bool ok = writeFile(out / kb::embeddedPictureName(0), kb::encodeBitmap(gen::paintReel()));
  for (int slide = 1; slide <= 9; ++slide)
    ok = writeFile(out / kb::embeddedPictureName(slide),
                   gen::encodeBaselineJpeg(gen::paintSlide(slide), kJpegQuality)) &&
         ok;
  ok = writeFile(out / "preview.jpg", gen::encodeBaselineJpeg(gen::paintPreview(), kJpegQuality)) &&
       ok;
  ok = writeFile(out / "mark_empty.bmp", kb::encodeBitmap(gen::paintEmptyMark())) && ok;
  ok = writeFile(out / "mark_filled.bmp", kb::encodeBitmap(gen::paintFilledMark())) && ok;
  ok = writeFile(out / "icon.ico", gen::encodeIcon(gen::paintIcon())) && ok;
  for (const gen::Skin& skin : gen::paintSkins())
    ok = writeFile(out / "skins" / (skin.name + ".bmp"), kb::encodeBitmap(skin.picture)) && ok;
  return ok ? 0 : 1;
}
