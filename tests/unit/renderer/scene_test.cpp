#include "renderer/scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "renderer/window_messages.h"
#include "tests/unit/renderer/scene_fixture.h"

namespace kb::test {
namespace {

using namespace kb::renderer;

std::set<GLuint> slidesOneTo(GLuint last) {
  std::set<GLuint> names{0};
  for (GLuint i = 1; i <= last; ++i) names.insert(i);
  return names;
}

TEST(SceneStart, StartsAtItsStartingValuesEvenWithoutAnyBitmap) {
  OffscreenGlContext gl;
  RecordingPlatform noFiles;
  prepareGlState(noFiles);
  EXPECT_FLOAT_EQ(reelAngle, 100.0f);
  EXPECT_EQ(reelSpeed, 0.0f);
  EXPECT_NE(reelQuadric, nullptr);
  for (unsigned int slot : slideTextures) EXPECT_EQ(slot, 0u);
  // One box per missing bitmap, in order, and the scene is still set up.
  ASSERT_EQ(noFiles.messages.size(), 10u);
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(noFiles.messages[k], (Message{"Error opening " + slideFileName(k), "BMP Unit"}));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  releaseGlState();
}

TEST(SceneStart, MissingBitmapLeavesItsSlideBlankAndTheOthersLoaded) {
  OffscreenGlContext gl;
  RecordingPlatform files;
  putSolidBitmaps(files);
  files.files.erase(slideFileName(3));
  prepareGlState(files);
  ASSERT_EQ(files.messages.size(), 1u);
  EXPECT_EQ(files.messages[0],
            (Message{"Error opening C:\\Windows\\Kolvane_Brightrun3.bmp", "BMP Unit"}));
  for (int k = 0; k < 10; ++k) EXPECT_EQ(slideTextures[k] == 0, k == 3) << k;
  const GLuint first = slideTextures[0];
  releaseGlState();
  EXPECT_FALSE(glIsTexture(first)) << "the textures are given back";
}

TEST_F(SceneTest, FirstFrameDrawsSlidesOneToEightAndHidesNine) {
  averageFrameMs = 16;
  EXPECT_EQ(namesDrawnByNextFrame(), slidesOneTo(8));
  EXPECT_NEAR(slideDepth(reelAngle, 1), 29.35, 0.01);
  EXPECT_NEAR(slideDepth(reelAngle, 8), 1.35, 0.01);
  EXPECT_NEAR(slideDepth(reelAngle, 9), -2.65, 0.01);
}

TEST_F(SceneTest, SlideAtDepthExactlyZeroOrThirtyFourIsNotDrawn) {
  reelAngle = 108.0f;  // slide 9: 36 - 36 = 0
  ASSERT_EQ(slideDepth(reelAngle, 9), 0.0f);
  EXPECT_EQ(namesDrawnByNextFrame(), slidesOneTo(8));

  reelAngle = 108.01f;  // just past 0: slide 9 comes back
  EXPECT_EQ(namesDrawnByNextFrame(), slidesOneTo(9));

  reelAngle = 114.0f;  // slide 1: 38 - 4 = 34
  ASSERT_EQ(slideDepth(reelAngle, 1), 34.0f);
  std::set<GLuint> withoutOne = slidesOneTo(9);
  withoutOne.erase(1);
  EXPECT_EQ(namesDrawnByNextFrame(), withoutOne);
}

TEST_F(SceneTest, DepthKeepsTheSignOfItsDividend) {
  EXPECT_NEAR(slideDepth(30.0f, 4), -6.0, 1e-5);   // 10 - 16
  EXPECT_NEAR(slideDepth(30.0f, 9), -26.0, 1e-5);  // 10 - 36
  EXPECT_NEAR(slideDepth(300.0f, 1), 24.0, 1e-5);  // 96 = 2 * 36 + 24
  EXPECT_NEAR(slideDepth(3000.0f, 5), 8.0, 1e-3);  // 980 = 27 * 36 + 8
}

TEST_F(SceneTest, EachFrameAdvancesByTheFrameTimeAndTheSpeedScaledToIt) {
  averageFrameMs = 1000.0 / 60;
  reelSpeed = 0.5f;
  renderFrame();
  EXPECT_FLOAT_EQ(reelAngle, 100.5f + 1.0f / 15);
  averageFrameMs = 500;  // two degrees of time term
  reelSpeed = 0.0f;
  renderFrame();
  EXPECT_FLOAT_EQ(reelAngle, 102.5f + 1.0f / 15);
}

TEST_F(SceneTest, AngleIsHeldAtThirtyAndTheSpeedStopped) {
  averageFrameMs = 1000.0 / 60;
  reelAngle = 30.2f;
  reelSpeed = -0.5f;
  speedRising = false;
  renderFrame();
  EXPECT_EQ(reelAngle, 30.0f);
  EXPECT_EQ(reelSpeed, 0.0f);
  EXPECT_FALSE(speedRising);
  // A small dip from the start value stays far from the floor.
  reelAngle = 100.0f;
  reelSpeed = -0.0004f;
  renderFrame();
  EXPECT_NEAR(reelAngle, 100.0663, 1e-4);
  EXPECT_EQ(reelSpeed, -0.0004f);
}

// Where a slide stands for an angle kept in double precision and never bounded.
double unboundedDepth(double angle, int slide) {
  const double cycles = (angle / 3.0 - 4.0 * slide) / 36.0;
  return (cycles - std::trunc(cycles)) * 36.0;
}

TEST(LongRun, ADayAt144FramesASecondLooksAsTheFirstMinuteDid) {
  reelAngle = 100.0f;
  reelSpeed = 0.0f;
  speedRising = true;
  averageFrameMs = 1000.0 / 144;
  long long wrongSteps = 0, misplacedSlides = 0, periodsTaken = 0;
  for (long long frame = 0; frame < 144LL * 86'400; ++frame) {
    const float before = reelAngle;
    const double asked = averageFrameMs / 250.0 + reelSpeed * 60 / 144.0;
    advanceAnimation();
    swingSpeed();
    double moved = static_cast<double>(reelAngle) - before;
    if (moved < -540.0) {  // the bound took a whole period off
      moved += 1080.0;
      ++periodsTaken;
    }
    // Within the float's rounding at angles below 2048.
    if (std::abs(moved - asked) > 2.5e-4 && ++wrongSteps <= 3)
      ADD_FAILURE() << "frame " << frame << " moved " << moved << " for " << asked;
    const double unbounded = reelAngle + 1080.0 * static_cast<double>(periodsTaken);
    for (int slide = 1; slide <= kSlideCount; ++slide) {
      const double want = unboundedDepth(unbounded, slide);
      const double depth = slideDepth(reelAngle, slide);
      const bool nearAnEdge = std::abs(want) < 1e-5 || std::abs(want - 34.0) < 1e-5;
      if ((std::abs(depth - want) > 1e-5 ||  // the float depth's rounding
           (!nearAnEdge && slideVisible(static_cast<float>(depth)) != (want > 0 && want < 34))) &&
          ++misplacedSlides <= 3)
        ADD_FAILURE() << "frame " << frame << ": slide " << slide << " at " << depth << ", not "
                      << want;
    }
  }
  EXPECT_EQ(wrongSteps, 0);
  EXPECT_EQ(misplacedSlides, 0);
  EXPECT_GT(periodsTaken, 1000);
  EXPECT_GE(reelAngle, 108.0f);
  EXPECT_LT(reelAngle, 1188.0f);
}

TEST(LongRun, NoFrameTimeOrSpeedTakesTheBoundBelowItsPeriodsStart) {
  for (const std::int32_t frameMs : {0, 1, 40, 100'000, 0x7FFFFFFF}) {
    for (const float speed : {-0.5f, 0.0f, 1.0f}) {
      reelAngle = 1187.9f;
      reelSpeed = speed;
      averageFrameMs = frameMs;
      advanceAnimation();
      EXPECT_GE(reelAngle, frameMs == 0 && speed < 0 ? 1187.0f : 108.0f) << frameMs << " " << speed;
      EXPECT_LT(reelAngle, 1188.0f) << frameMs << " " << speed;
    }
  }
  // The floor of 30 is as it was.
  reelAngle = 30.2f;
  reelSpeed = -0.5f;
  averageFrameMs = 1000.0 / 60;
  advanceAnimation();
  EXPECT_EQ(reelAngle, 30.0f);
  averageFrameMs = 0;
}

TEST(SpeedSwing, RunsATriangleBetweenJustBelowZeroAndJustAboveOne) {
  averageFrameMs = 1000.0 / 60;
  reelSpeed = 0.0f;
  speedRising = true;
  int upSteps = 0;
  while (speedRising) {
    const float before = reelSpeed;
    swingSpeed();
    ASSERT_NEAR(reelSpeed - before, 0.0005, 1e-5);
    ASSERT_LT(++upSteps, 3000);
  }
  EXPECT_GT(reelSpeed, 1.0f);
  EXPECT_LT(reelSpeed, 1.001f);
  int downSteps = 0;
  while (!speedRising) {
    const float before = reelSpeed;
    swingSpeed();
    ASSERT_NEAR(reelSpeed - before, -0.0005, 1e-5);
    ASSERT_LT(++downSteps, 3000);
  }
  EXPECT_LT(reelSpeed, 0.0f);
  EXPECT_GT(reelSpeed, -0.001f);
  EXPECT_NEAR(upSteps + downSteps, 4000, 10);
  swingSpeed();
  EXPECT_GT(reelSpeed, -0.0005f) << "rising again";
}

std::uint64_t clientPoint(int x, int y) {
  return static_cast<std::uint64_t>(y) << 16 | x;
}

TEST_F(SceneTest, LeftClickAdvancesTheAnimationOnceAndChangesNothingElse) {
  reelAngle = 120.0f;
  reelSpeed = 0.25f;
  averageFrameMs = 40;
  speedRising = false;
  GLdouble projectionBefore[16];
  GLint viewportBefore[4];
  glGetDoublev(GL_PROJECTION_MATRIX, projectionBefore);
  glGetIntegerv(GL_VIEWPORT, viewportBefore);

  for (auto [x, y] : {std::pair{512, 384}, std::pair{0, 0}, std::pair{1023, 767}}) {
    const float before = reelAngle;
    EXPECT_EQ(handleRendererMessage(message::kLeftButtonDown, 0, clientPoint(x, y)),
              MessageOutcome::kHandled);
    EXPECT_NEAR(reelAngle - before, 0.16 + 0.25 * 40 / (1000.0 / 60), 1e-4);
  }
  EXPECT_EQ(reelSpeed, 0.25f);
  EXPECT_FALSE(speedRising);
  EXPECT_FALSE(pickingMode);

  GLint renderMode = 0, matrixMode = 0, viewport[4];
  GLdouble projection[16];
  glGetIntegerv(GL_RENDER_MODE, &renderMode);
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  EXPECT_EQ(renderMode, GL_RENDER);
  EXPECT_EQ(matrixMode, GL_MODELVIEW);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(viewport[i], viewportBefore[i]);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(projection[i], projectionBefore[i]);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  // The next frame still draws the whole scene normally.
  renderFrame();
  EXPECT_GT(pixelsOf(kReelColour), 1000);
}

TEST(PickBeforeTheScene, ClickDuringStartUpIsIgnored) {
  OffscreenGlContext gl;
  ASSERT_EQ(reelQuadric, nullptr);
  reelAngle = 0.0f;
  EXPECT_EQ(handleRendererMessage(message::kLeftButtonDown, 0, clientPoint(10, 10)),
            MessageOutcome::kHandled);
  EXPECT_EQ(reelAngle, 0.0f);
  EXPECT_FALSE(pickingMode);
}

TEST_F(SceneTest, SizeMessageSetsViewportAndAspectAndAZeroHeightBecomesOne) {
  auto expectProjection = [](GLint width, GLint height) {
    GLint viewport[4];
    GLdouble m[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
    const double focal = 1.0 / std::tan(22.5 * M_PI / 180.0);
    EXPECT_NEAR(m[5], focal, 1e-5);
    EXPECT_NEAR(m[0], focal * height / width, 1e-5);
    EXPECT_NEAR(m[10], -101.0 / 99.0, 1e-5);  // near 1, far 100
  };
  EXPECT_EQ(handleRendererMessage(message::kSize, 0, clientPoint(640, 480)),
            MessageOutcome::kHandled);
  expectProjection(640, 480);
  handleRendererMessage(message::kSize, 0, clientPoint(300, 0));
  expectProjection(300, 1);
  // The words are unsigned: 40000 is a width, not a negative number.
  handleRendererMessage(message::kSize, 0, clientPoint(40000, 480));
  GLint viewport[4], maxDims[2];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxDims);
  EXPECT_EQ(viewport[2], std::min(40000, maxDims[0]));
}

}  // namespace
}  // namespace kb::test
