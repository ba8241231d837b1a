// Decoding one slide JPEG in process against djpeg on the same file, and
// making and writing the ten hand-off bitmaps against writing their bytes raw.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/image.h"
#include "common/slide_files.h"
#include "common/slide_set.h"

namespace {

using namespace kb::bench;

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
