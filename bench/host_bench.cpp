// Show start as the screensaver program does it (its load handler decoding
// the nine slide JPEGs and the reel and writing the ten bitmap files) against
// two floors: the nine decodes in process plus the same bytes written raw
// (printed as a ratio), and djpeg decoding the nine files as processes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/image.h"
#include "common/slide_files.h"
#include "common/slide_set.h"
#include "host/show.h"

namespace {

using namespace kb::bench;

// The show's load handler with the real slide writer; no renderer, no music.
class BenchShowPort final : public kb::ShowPort, public kb::music::BackgroundMusic {
 public:
  BenchShowPort(const std::vector<Bytes>& pictures, const ScratchFolder& folder)
      : pictures_(pictures), folder_(folder) {}
  bool writeSlideFile(int index) override {
    const Bytes& picture = pictures_[index];
    const auto file = kb::makeSlideBitmapFile(index, picture.data(), picture.size());
    return file && writeFile(folder_.file(index), *file);
  }
  void startRenderer() override {}
  void createWindow() override {}
  bool cursorPosition(int& x, int& y) override {
    x = y = 0;
    return true;
  }
  void setTimer(kb::ShowTimer, bool) override {}
  bool timerOn(kb::ShowTimer) override { return false; }
  std::int32_t showCursor(std::int32_t flag) override { return flag; }
  void endProgram() override {}
  void CdOpen() override {}
  void CdWatch() override {}
  void CdClose() override {}
  bool CdWatchActive() const override { return false; }
  void Mp3Start() override {}
  void Mp3Watch() override {}
  void Mp3Stop() override {}
  void WavStart() override {}
  void WavStop() override {}

 private:
  const std::vector<Bytes>& pictures_;
  const ScratchFolder& folder_;
};

void BM_ShowStartAsTheHostDoes(benchmark::State& state) {
  const auto pictures = loadPictures();
  const ScratchFolder folder;
  BenchShowPort port(pictures, folder);
  kb::SharedState shared;
  kb::Show show(port, port, shared, 'S', [](unsigned char) { return false; });  // no music
  for (auto _ : state) show.FormLoad();
  if (std::filesystem::file_size(folder.file(9)) != kb::kSlideFileBytes)
    state.SkipWithError("slide file 9 was not written");
  state.SetBytesProcessed(state.iterations() * static_cast<long>(kb::kSlideSetBytes));
}
BENCHMARK(BM_ShowStartAsTheHostDoes)->Unit(benchmark::kMillisecond)->UseRealTime();

// The ten files' bytes made in advance, for the floors' raw writes.
std::vector<Bytes> slideFiles(const std::vector<Bytes>& pictures) {
  std::vector<Bytes> files;
  for (int index = 0; index < kb::kSlideFileCount; ++index)
    files.push_back(kb::makeSlideBitmapFile(index, pictures[index].data(), pictures[index].size())
                        .value_or(Bytes{}));
  return files;
}

// The floor in process: the nine slide decodes alone, then the ten files'
// bytes, ready in memory, written raw.
void BM_NineDecodesPlusRawWrite(benchmark::State& state) {
  const auto pictures = loadPictures();
  const std::vector<Bytes> files = slideFiles(pictures);
  const ScratchFolder folder;
  for (auto _ : state) {
    for (int index = 1; index < kb::kSlideFileCount; ++index)
      benchmark::DoNotOptimize(
          kb::decodeCompleteJpeg(pictures[index].data(), pictures[index].size()));
    for (int index = 0; index < kb::kSlideFileCount; ++index)
      writeFile(folder.file(index), files[index]);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(kb::kSlideSetBytes));
}
BENCHMARK(BM_NineDecodesPlusRawWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// Nine djpeg runs (one process per slide, as a user would run it), then the
// ten files' 1,849,932 bytes, ready in memory, written raw.
void BM_DjpegNineSlidesPlusRawWrite(benchmark::State& state) {
  const auto pictures = loadPictures();
  const std::vector<Bytes> files = slideFiles(pictures);
  const ScratchFolder folder;
  for (auto _ : state) {
    for (int index = 1; index < kb::kSlideFileCount; ++index)
      if (!runProgram({"djpeg", "-outfile", "/dev/null", assetPath(index)}))
        state.SkipWithError("djpeg failed (libjpeg-turbo-progs installed?)");
    for (int index = 0; index < kb::kSlideFileCount; ++index)
      writeFile(folder.file(index), files[index]);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(kb::kSlideSetBytes));
}
BENCHMARK(BM_DjpegNineSlidesPlusRawWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints as usual and keeps each benchmark's real time for the ratio.
class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With repetitions, the median stands for the benchmark.
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
        milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> milliseconds;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto& ms = reporter.milliseconds;
  const auto show = ms.find("BM_ShowStartAsTheHostDoes");
  const auto floor = ms.find("BM_NineDecodesPlusRawWrite");
  if (show != ms.end() && floor != ms.end() && floor->second > 0)
    std::printf("show start / (nine decodes + raw write): %.2f\n", show->second / floor->second);
  benchmark::Shutdown();
  return 0;
}
