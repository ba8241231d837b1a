// Show start as the screensaver program does it (its load handler decoding
// the nine slide JPEGs and the reel and writing the ten bitmap files) against
// djpeg decoding the same nine files plus writing the same bytes raw.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/image.h"
#include "common/slide_files.h"
#include "common/slide_set.h"
#include "host/show.h"

extern char** environ;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string assetPath(int index) {
  return std::string(KB_SOURCE_DIR) + "/assets/" + kb::embeddedPictureName(index);
}

std::vector<Bytes> loadPictures() {
  std::vector<Bytes> pictures;
  for (int index = 0; index < kb::kSlideFileCount; ++index)
    pictures.push_back(kb::readFileBytes(assetPath(index)).value_or(Bytes{}));
  return pictures;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool runProgram(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    char pattern[] = "/tmp/kb_host_bench_XXXXXX";
    path = mkdtemp(pattern) ? pattern : "/tmp";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (path != "/tmp") std::filesystem::remove_all(path, ignored);
  }
  std::string file(int index) const { return (path / kb::slideBaseName(index)).string(); }
};

// The show's load handler with the real slide writer; no renderer, no music.
class BenchShowPort final : public kb::ShowPort, public kb::ShowMusic {
 public:
  BenchShowPort(const std::vector<Bytes>& pictures, const ScratchFolder& folder)
      : pictures_(pictures), folder_(folder) {}
  bool writeSlideFile(int index) override {
    const Bytes& picture = pictures_[index];
    const auto file = kb::makeSlideBitmapFile(index, picture.data(), picture.size());
    return file && writeFile(folder_.file(index), *file);
  }
  void startRenderer() override {}
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
  bool CdWatchActive() override { return false; }
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
  kb::Show show(port, port, shared, 'S');
  for (auto _ : state) show.FormLoad();
  if (std::filesystem::file_size(folder.file(9)) != kb::kSlideFileBytes)
    state.SkipWithError("slide file 9 was not written");
  state.SetBytesProcessed(state.iterations() * static_cast<long>(kb::kSlideSetBytes));
}
BENCHMARK(BM_ShowStartAsTheHostDoes)->Unit(benchmark::kMillisecond)->UseRealTime();

// Nine djpeg runs (one process per slide, as a user would run it), then the
// ten files' 1,849,932 bytes, ready in memory, written raw.
void BM_DjpegNineSlidesPlusRawWrite(benchmark::State& state) {
  const auto pictures = loadPictures();
  std::vector<Bytes> files;
  for (int index = 0; index < kb::kSlideFileCount; ++index)
    files.push_back(kb::makeSlideBitmapFile(index, pictures[index].data(), pictures[index].size())
                        .value_or(Bytes{}));
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

}  // namespace

BENCHMARK_MAIN();
