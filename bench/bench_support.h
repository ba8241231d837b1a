// What several benchmarks need: the project's pictures, a scratch folder,
// writing a file and running a program to its end.
#pragma once

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/image.h"
#include "common/slide_files.h"
#include "common/slide_set.h"
#include "tools/asset_names.h"

extern char** environ;

namespace kb::bench {

using Bytes = std::vector<std::uint8_t>;

inline std::string assetPath(int index) {
  return std::string(KB_SOURCE_DIR) + "/assets/" + kb::embeddedPictureName(index);
}

// The ten embedded pictures as the programs carry them.
inline std::vector<Bytes> loadPictures() {
  std::vector<Bytes> pictures;
  for (int index = 0; index < kb::kSlideFileCount; ++index)
    pictures.push_back(kb::readFileBytes(assetPath(index)).value_or(Bytes{}));
  return pictures;
}

inline bool writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// Runs a program to its end; false when it cannot start or does not exit 0.
inline bool runProgram(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

}  // namespace kb::bench
