// A scene ready to draw on an off-screen context, as openRendererWindow leaves
// it, its ten bitmaps each of one colour so that pixels tell them apart.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

#include "common/image.h"
#include "common/slide_files.h"
#include "renderer/scene.h"
#include "tests/unit/gl_context.h"
#include "tests/unit/textures/texture_test_support.h"

namespace kb::test {

constexpr std::uint32_t kReelColour = 0x204060;
constexpr std::uint32_t kHiddenEdgeColour = 0x7F007F;  // top and bottom eighths of each slide
constexpr std::array<std::uint32_t, 10> kSlideColours = {kReelColour, 0xFF0000, 0x00FF00, 0x0000FF,
                                                         0xFFFF00,    0x00FFFF, 0xFF8000, 0x8000FF,
                                                         0x008040,    0xC0C0C0};

// A hand-off bitmap of one colour whose top and bottom sixteenths are `edge`.
inline std::vector<std::uint8_t> solidBitmap(int width, int height, std::uint32_t colour,
                                             std::uint32_t edge) {
  RgbImage image{width, height, {}};
  for (int y = 0; y < height; ++y) {
    const bool atEdge = y < height / 16 || y >= height - height / 16;
    const std::uint32_t c = atEdge ? edge : colour;
    for (int x = 0; x < width; ++x)
      for (int shift : {16, 8, 0}) image.pixels.push_back(static_cast<std::uint8_t>(c >> shift));
  }
  return encodeBitmap(image);
}

inline void putSolidBitmaps(RecordingPlatform& platform) {
  platform.files[slideFileName(0)] = solidBitmap(kReelWidth, kReelHeight, kReelColour, kReelColour);
  for (int k = 1; k < kSlideFileCount; ++k)
    platform.files[slideFileName(k)] =
        solidBitmap(kSlideSide, kSlideSide, kSlideColours[k], kHiddenEdgeColour);
}


class SceneTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  void SetUp() override {
    putSolidBitmaps(files);
    renderer::setProjection(kWidth, kHeight);
    renderer::prepareGlState(files);
    ASSERT_TRUE(files.messages.empty());
    renderer::averageFrameMs = 0;
    renderer::speedRising = true;
  }

  void TearDown() override { renderer::releaseGlState(); }

  // How many pixels of the last frame show each colour.
  std::map<std::uint32_t, int> colourCounts() const {
    glFinish();
    std::map<std::uint32_t, int> counts;
    const auto& rgba = gl.colourBuffer();
    for (std::size_t at = 0; at + 3 < rgba.size(); at += 4)
      ++counts[static_cast<std::uint32_t>(rgba[at]) << 16 | rgba[at + 1] << 8 | rgba[at + 2]];
    return counts;
  }

  int pixelsOf(std::uint32_t colour) const {
    const auto counts = colourCounts();
    const auto found = counts.find(colour);
    return found == counts.end() ? 0 : found->second;
  }

  // The names under which the next frame submits geometry: 0 for the reel
  // and rails, i for slide i. The projection takes in the whole scene, so a
  // name missing means its slide was not drawn at all, not that it was clipped.
  std::set<GLuint> namesDrawnByNextFrame() {
    std::array<GLuint, 256> buffer{};
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-200, 200, -200, 200, -200, 200);
    glMatrixMode(GL_MODELVIEW);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    renderer::pickingMode = true;
    renderer::renderFrame();
    renderer::pickingMode = false;
    const GLint hits = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    std::set<GLuint> names;
    std::size_t at = 0;
    for (GLint hit = 0; hit < hits; ++hit) {
      const GLuint count = buffer[at];
      for (GLuint n = 0; n < count; ++n) names.insert(buffer[at + 3 + n]);
      at += 3 + count;
    }
    return names;
  }

  OffscreenGlContext gl{kWidth, kHeight};
  RecordingPlatform files;
};

}  // namespace kb::test
