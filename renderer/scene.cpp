#include "renderer/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "common/slide_files.h"
#include "renderer/textures.h"

namespace kb::renderer {

float reelAngle = 0.0f;
float reelSpeed = 0.0f;
bool speedRising = false;
unsigned int slideTextures[kSlideTextureCount] = {};
GLUquadric* reelQuadric = nullptr;
bool pickingMode = false;
double averageFrameMs = 0.0;

namespace {

constexpr float kStartAngle = 100.0f;
constexpr float kAngleFloor = 30.0f;
constexpr double kSpeedStep = 0.0005;
constexpr double kReferenceFrameMs = 1000.0 / 60.0;
constexpr double kLargestFrameScale = 60.0;  // frames of one second
constexpr double kFieldOfView = 45.0;
constexpr double kFarPlane = 100.0;
constexpr double kTubeLength = 44.0;
constexpr double kSlideCycle = 36.0;
constexpr float kSlideHideDepth = 34.0f;
constexpr GLsizei kSelectBufferSize = 23;
// The pick region lies this many pixels below the clicked point.
constexpr std::int64_t kPickOffsetY = 27;

// The reel repeats every 360 degrees and the slides every 108, as long as
// every slide's place (angle / 3 - 4 * slide) is not negative, which holds
// from 108 on. 1080 is a whole period of both, so taking it off once the
// angle reaches 108 + 1080 changes no picture, while the angle keeps the
// float's full precision for good.
constexpr double kAnglePeriod = 1080.0;
constexpr double kAnglePeriodStart = 108.0;

// An angle past the bound back into [108, 1188). The difference is exact for
// any angle a frame can reach.
float boundedAngle(float angle) {
  if (angle < kAnglePeriodStart + kAnglePeriod) return angle;
  return static_cast<float>(kAnglePeriodStart + std::fmod(angle - kAnglePeriodStart, kAnglePeriod));
}

void drawReelAndRails() {
  glPushMatrix();
  glBindTexture(GL_TEXTURE_2D, slideTextures[0]);
  glRotatef(reelAngle, 0, 0, 1);
  gluCylinder(reelQuadric, 1.0, 2.0, kTubeLength, 16, 16);
  glRotatef(-reelAngle, 0, 0, 1);

  glPushMatrix();
  glTranslatef(-1.05f, 0.6f, 0);
  glRotatef(reelAngle, 0, 0, 1);
  gluCylinder(reelQuadric, 0.05, 0.05, kTubeLength, 8, 8);
  glPopMatrix();

  // The second rail is placed from the same frame, still wearing bitmap 0.
  glTranslatef(-1.05f, -0.6f, 0);
  glRotatef(reelAngle, 0, 0, 1);
  gluCylinder(reelQuadric, 0.05, 0.05, kTubeLength, 8, 8);
  glPopMatrix();
}

// A 2 x 1.2 quad in the plane x = -1 between the rails; the bitmap's width runs
// along z and only the middle three quarters of its height are shown.
void drawSlide(int slide, float depth) {
  glPushMatrix();
  if (pickingMode) glLoadName(static_cast<GLuint>(slide));
  glBindTexture(GL_TEXTURE_2D, slideTextures[slide]);
  glTranslatef(-1, 0, depth + 10);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0.125f);
  glVertex3f(0, -0.6f, 2);
  glTexCoord2f(1, 0.125f);
  glVertex3f(0, -0.6f, 0);
  glTexCoord2f(1, 0.875f);
  glVertex3f(0, 0.6f, 0);
  glTexCoord2f(0, 0.875f);
  glVertex3f(0, 0.6f, 2);
  glEnd();
  glPopMatrix();
}

}  // namespace

double frameScale() {
  return std::min(averageFrameMs / kReferenceFrameMs, kLargestFrameScale);
}

void advanceAnimation() {
  // Both terms in one rounding to float: at high frame rates the steps are
  // small beside the angle, and two roundings would lose more of them.
  reelAngle = static_cast<float>(reelAngle + averageFrameMs / 250.0 + reelSpeed * frameScale());
  if (reelAngle < kAngleFloor) {
    reelAngle = kAngleFloor;
    reelSpeed = 0.0f;
  }
  reelAngle = boundedAngle(reelAngle);
}

float slideDepth(float angle, int slide) {
  const double cycles = (angle / 3.0 - 4.0 * slide) / kSlideCycle;
  return static_cast<float>((cycles - std::trunc(cycles)) * kSlideCycle);
}

bool slideVisible(float depth) {
  return depth > 0.0f && depth < kSlideHideDepth;
}

void renderFrame() {
  advanceAnimation();
  drawScene();
}

void drawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(21, 0, -39);
  glRotatef(30, 0, -1, 0);

  drawReelAndRails();
  for (int slide = 1; slide <= kSlideCount; ++slide) {
    const float depth = slideDepth(reelAngle, slide);
    if (slideVisible(depth)) drawSlide(slide, depth);
  }
}

void swingSpeed() {
  const double step = kSpeedStep * frameScale();
  reelSpeed = static_cast<float>(speedRising ? reelSpeed + step : reelSpeed - step);
  if (reelSpeed > 1.0f) speedRising = false;
  if (reelSpeed < 0.0f) speedRising = true;
}

void pickAtPoint(std::uint16_t x, std::uint16_t y) {
  pickedNames(x, y);  // the hits are not used
}

std::vector<unsigned int> pickedNames(std::uint16_t x, std::uint16_t y) {
  // NOTE: a click can arrive while a texture message box pumps messages during
  // start-up, before the quadric exists; there is no scene to pick yet then.
  if (reelQuadric == nullptr) return {};

  GLint viewport[4];
  GLuint selectBuffer[kSelectBufferSize];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glSelectBuffer(kSelectBufferSize, selectBuffer);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glRenderMode(GL_SELECT);
  pickingMode = true;
  glInitNames();
  glPushName(0);
  glLoadIdentity();
  const std::int64_t pickY = static_cast<std::int64_t>(viewport[3]) - y - kPickOffsetY;
  gluPickMatrix(x, static_cast<GLdouble>(pickY), 1.0, 1.0, viewport);
  gluPerspective(kFieldOfView, static_cast<GLdouble>(viewport[2]) / viewport[3], 0.0, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  renderFrame();
  const GLint hits = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  pickingMode = false;
  glMatrixMode(GL_MODELVIEW);

  // Each hit record: its name count, two depths, then the names. A full
  // buffer gives -1 hits and keeps what fitted.
  const auto capacity = static_cast<std::size_t>(kSelectBufferSize);
  std::vector<unsigned int> names;
  std::size_t at = 0;
  for (GLint hit = 0; hit < hits && at < capacity; ++hit) {
    const std::size_t count = selectBuffer[at];
    for (std::size_t n = 0; n < count && at + 3 + n < capacity; ++n)
      names.push_back(selectBuffer[at + 3 + n]);
    at += 3 + count;
  }
  return names;
}

void setProjection(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, static_cast<GLdouble>(width) / height, 1.0, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void prepareGlState(TexturePlatform& platform) {
  setFixedGlState();

  // A bitmap that fails to load is reported by the loader; its slot stays 0.
  for (int k = 0; k < kSlideTextureCount; ++k)
    textureFromFile(slideFileName(k), slideTextures[k], false, platform);

  reelAngle = kStartAngle;
  reelSpeed = 0.0f;
  reelQuadric = gluNewQuadric();
  gluQuadricNormals(reelQuadric, GLU_SMOOTH);
  gluQuadricTexture(reelQuadric, GL_TRUE);
}

void setFixedGlState() {
  glClearColor(0, 0, 0, 0);
  glShadeModel(GL_SMOOTH);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
}

void releaseGlState() {
  if (reelQuadric != nullptr) gluDeleteQuadric(reelQuadric);
  reelQuadric = nullptr;
  glDeleteTextures(kSlideTextureCount, slideTextures);
  for (unsigned int& slot : slideTextures) slot = 0;
}

}  // namespace kb::renderer
