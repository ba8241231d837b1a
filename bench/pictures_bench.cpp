// Decoding one slide JPEG in process against djpeg on the same file, and
// making and writing the ten hand-off bitmaps against writing their bytes raw.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/image.h"
#include "common/slide_files.h"
#include "common/slide_set.h"

extern char** environ;

namespace {

std::string assetPath(int index) {
  return std::string(KB_SOURCE_DIR) + "/assets/" + kb::embeddedPictureName(index);
}

std::vector<std::vector<std::uint8_t>> loadPictures() {
  std::vector<std::vector<std::uint8_t>> pictures;
  for (int index = 0; index < kb::kSlideFileCount; ++index)
    pictures.push_back(kb::readFileBytes(assetPath(index)).value_or(std::vector<std::uint8_t>{}));
  return pictures;
}

// Runs a program to its end; false when it cannot start or does not exit 0.
bool runProgram(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A scratch folder that goes away with the benchmark.
struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    char pattern[] = "/tmp/kb_bench_XXXXXX";
    path = mkdtemp(pattern) ? pattern : "/tmp";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (path != "/tmp") std::filesystem::remove_all(path, ignored);
  }
  std::string file(int index) const { return (path / kb::slideBaseName(index)).string(); }
};

void BM_DecodeSlideJpeg(benchmark::State& state) {
  const auto jpeg = kb::readFileBytes(assetPath(1)).value_or(std::vector<std::uint8_t>{});
  for (auto _ : state) {
    auto image = kb::decodeJpeg(jpeg.data(), jpeg.size());
    if (!image) state.SkipWithError("slide1.jpg did not decode");
    benchmark::DoNotOptimize(image);
  }
  state.SetBytesProcessed(state.iterations() * 256 * 256 * 3);
}
BENCHMARK(BM_DecodeSlideJpeg)->Unit(benchmark::kMicrosecond);

// djpeg as a separate process, as a user would run it: start-up included.
void BM_DjpegProcess(benchmark::State& state) {
  for (auto _ : state)
    if (!runProgram({"djpeg", "-bmp", "-outfile", "/dev/null", assetPath(1)}))
      state.SkipWithError("djpeg failed (libjpeg-turbo-progs installed?)");
}
BENCHMARK(BM_DjpegProcess)->Unit(benchmark::kMicrosecond)->UseRealTime();

// What starting any process costs here, to read djpeg's figure against.
void BM_ProcessStartOnly(benchmark::State& state) {
  for (auto _ : state)
    if (!runProgram({"true"})) state.SkipWithError("cannot start true");
}
BENCHMARK(BM_ProcessStartOnly)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Decode, lay out and write all ten files, as the show does at every start.
void BM_WriteSlideSet(benchmark::State& state) {
  const auto pictures = loadPictures();
  const ScratchFolder folder;
  for (auto _ : state)
    for (int index = 0; index < kb::kSlideFileCount; ++index) {
      const auto& picture = pictures[index];
      const auto file = kb::makeSlideBitmapFile(index, picture.data(), picture.size());
      if (!file)
        state.SkipWithError("a picture did not convert");
      else
        writeFile(folder.file(index), *file);
    }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(kb::kSlideSetBytes));
}
BENCHMARK(BM_WriteSlideSet)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same ten files, their 1,849,932 bytes ready in memory, written raw.
void BM_WriteRawSlideSetBytes(benchmark::State& state) {
  const auto pictures = loadPictures();
  std::vector<std::vector<std::uint8_t>> files;
  for (int index = 0; index < kb::kSlideFileCount; ++index)
    files.push_back(kb::makeSlideBitmapFile(index, pictures[index].data(), pictures[index].size())
                        .value_or(std::vector<std::uint8_t>{}));
  const ScratchFolder folder;
  for (auto _ : state)
    for (int index = 0; index < kb::kSlideFileCount; ++index)
      writeFile(folder.file(index), files[index]);
  state.SetBytesProcessed(state.iterations() * static_cast<long>(kb::kSlideSetBytes));
}
BENCHMARK(BM_WriteRawSlideSetBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
