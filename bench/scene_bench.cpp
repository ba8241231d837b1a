// One frame of the scene at 1024 x 768 on OSMesa, wearing the project's
// pictures, against a frame that only clears and finishes.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "common/image.h"
#include "common/slide_files.h"
#include "common/slide_set.h"
#include "tools/asset_names.h"
#include "renderer/scene.h"
#include "tests/unit/gl_context.h"
#include "tests/unit/textures/texture_test_support.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// The ten hand-off bitmaps made from the project's pictures, held in memory.
void putHandOffBitmaps(kb::test::RecordingPlatform& platform) {
  for (int k = 0; k < kb::kSlideFileCount; ++k) {
    const auto picture =
        kb::readFileBytes(std::string(KB_SOURCE_DIR) + "/assets/" + kb::embeddedPictureName(k));
    if (!picture) throw std::runtime_error("missing picture " + kb::embeddedPictureName(k));
    auto bitmap = kb::makeSlideBitmapFile(k, picture->data(), picture->size());
    if (!bitmap) throw std::runtime_error("cannot make bitmap " + std::to_string(k));
    platform.files[kb::slideFileName(k)] = std::move(*bitmap);
  }
}

void BM_RenderFrame(benchmark::State& state) {
  kb::test::OffscreenGlContext gl(kWidth, kHeight);
  kb::test::RecordingPlatform platform;
  putHandOffBitmaps(platform);
  kb::renderer::setProjection(kWidth, kHeight);
  kb::renderer::prepareGlState(platform);
  kb::renderer::averageFrameMs = 16;
  for (auto _ : state) {
    kb::renderer::renderFrame();
    glFinish();
  }
  if (!platform.messages.empty()) state.SkipWithError(platform.messages.front().text.c_str());
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);

void BM_ClearOnly(benchmark::State& state) {
  kb::test::OffscreenGlContext gl(kWidth, kHeight);
  glEnable(GL_DEPTH_TEST);
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFinish();
  }
}
BENCHMARK(BM_ClearOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
