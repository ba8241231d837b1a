// Loading the ten hand-off bitmaps as textures on an OSMesa context, against
// reading the same files' bytes alone.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/image.h"
#include "common/slide_files.h"
#include "common/slide_set.h"
#include "tools/asset_names.h"
#include "renderer/textures.h"
#include "tests/unit/gl_context.h"

namespace {

class StdioByteSource : public kb::renderer::ByteSource {
 public:
  explicit StdioByteSource(std::FILE* file) : file_(file) {}
  ~StdioByteSource() override { std::fclose(file_); }
  StdioByteSource(const StdioByteSource&) = delete;
  StdioByteSource& operator=(const StdioByteSource&) = delete;
  std::size_t read(std::uint8_t* buffer, std::size_t count) override {
    return std::fread(buffer, 1, count, file_);
  }

 private:
  std::FILE* file_;
};

// Plain C files; a message box becomes a line on stderr.
class StdioTexturePlatform : public kb::renderer::TexturePlatform {
 public:
  void showMessage(const std::string& text, const std::string& caption) override {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  }
  std::unique_ptr<kb::renderer::ByteSource> openFile(const std::string& fileName) override {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    return file ? std::make_unique<StdioByteSource>(file) : nullptr;
  }
  bool fileExists(const std::string& fileName) override {
    return std::filesystem::is_regular_file(fileName);
  }
  std::unique_ptr<kb::renderer::ByteSource> openResource(const std::string&,
                                                         const std::string&) override {
    return nullptr;
  }
};

// The ten hand-off bitmaps made from the project's pictures, in a scratch
// folder that goes away with the benchmark.
struct HandOffFiles {
  std::filesystem::path folder;
  std::vector<std::string> paths;

  HandOffFiles() {
    char pattern[] = "/tmp/kb_bench_textures_XXXXXX";
    folder = mkdtemp(pattern) ? pattern : "";
    for (int index = 0; index < kb::kSlideFileCount && !folder.empty(); ++index) {
      const auto picture = kb::readFileBytes(std::string(KB_SOURCE_DIR) + "/assets/" +
                                             kb::embeddedPictureName(index));
      const auto bitmap =
          picture ? kb::makeSlideBitmapFile(index, picture->data(), picture->size()) : std::nullopt;
      if (!bitmap) continue;
      paths.push_back((folder / kb::slideBaseName(index)).string());
      std::ofstream(paths.back(), std::ios::binary)
          .write(reinterpret_cast<const char*>(bitmap->data()),
                 static_cast<std::streamsize>(bitmap->size()));
    }
  }
  ~HandOffFiles() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

void BM_LoadTenBitmapsAsTextures(benchmark::State& state) {
  HandOffFiles files;
  if (files.paths.size() != kb::kSlideFileCount) {
    state.SkipWithError("the ten hand-off bitmaps could not be made");
    return;
  }
  kb::test::OffscreenGlContext gl;
  StdioTexturePlatform platform;
  std::vector<unsigned int> slots(files.paths.size());
  for (auto _ : state) {
    for (std::size_t k = 0; k < files.paths.size(); ++k) {
      slots[k] = 0;
      kb::renderer::textureFromFile(files.paths[k], slots[k], false, platform);
    }
    glFinish();
    state.PauseTiming();
    glDeleteTextures(static_cast<GLsizei>(slots.size()), slots.data());
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kb::kSlideSetBytes));
}
BENCHMARK(BM_LoadTenBitmapsAsTextures)->Unit(benchmark::kMillisecond);

void BM_ReadTenBitmapFilesOnly(benchmark::State& state) {
  HandOffFiles files;
  StdioTexturePlatform platform;
  std::vector<std::uint8_t> buffer(kb::kSlideFileBytes);
  for (auto _ : state) {
    for (const std::string& path : files.paths) {
      auto source = platform.openFile(path);
      benchmark::DoNotOptimize(source->read(buffer.data(), buffer.size()));
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kb::kSlideSetBytes));
}
BENCHMARK(BM_ReadTenBitmapFilesOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
