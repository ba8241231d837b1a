// The reel-and-slides scene: its state, one frame of drawing with the
// animation step, the speed swing, the click's selection pass, and the fixed
// GL state and projection it is drawn with. GL 1.1 and GLU only.
#pragma once

#include <cstdint>
#include <vector>

class GLUquadric;

namespace kb::renderer {

class TexturePlatform;

constexpr int kSlideTextureCount = 10;  // entry 0 wears the reel, 1 to 9 the slides
constexpr int kSlideCount = 9;

extern float reelAngle;  // degrees; also places every slide
// Extra degrees per frame at 60 frames a second; swings between about 0 and 1.
extern float reelSpeed;
extern bool speedRising;
extern unsigned int slideTextures[kSlideTextureCount];
extern GLUquadric* reelQuadric;
extern bool pickingMode;       // true only during the selection pass
extern double averageFrameMs;  // kept by the frame loop: the run's exact average

// What one frame stands for against a frame at 60 frames a second, from the
// average frame time: the per-frame terms (the speed and its swing) were made
// for that rate, and scaled by this the reel turns alike on a 60, 144 or 240 Hz
// screen, or with no vertical sync at all. Frames of a second or more (a
// stalled machine) count as one second.
double frameScale();

// Where slide `slide` (1 to 9) stands along the rails for a reel angle: the
// remainder of angle / 3 - 4 * slide on division by 36, with the dividend's sign.
float slideDepth(float angle, int slide);

// A slide is drawn only strictly inside (0, 34).
bool slideVisible(float depth);

// One animation step: 4 degrees a second from the frame time, plus the
// swinging speed scaled to the frame time, never below 30. From 1188 on the angle is kept within
// [108, 1188) by whole periods of 1080 degrees, which show the same picture:
// an angle that only grew would lose the small steps to the float's
// precision after hours, and the animation would stutter, then stand still.
void advanceAnimation();

// Moves the animation on one step and draws the scene.
void renderFrame();

// Clears and draws the reel, rails and slides as they stand, without moving
// the animation: the same frame again, for another monitor.
void drawScene();

// Moves `reelSpeed` one step along its triangle wave, a step scaled to the
// frame time, so that a swing lasts as long at any frame rate.
void swingSpeed();

// Runs the scene once in selection mode around a clicked client point; the
// renderer makes no use of what it selects.
void pickAtPoint(std::uint16_t x, std::uint16_t y);

// The selection pass of pickAtPoint: the names (0 the reel and rails, i slide
// i) drawn into the pick region, nearest hit first or not.
std::vector<unsigned int> pickedNames(std::uint16_t x, std::uint16_t y);

// Viewport and perspective for a client area of the given size.
void setProjection(int width, int height);

// Fixed GL state, the ten slide textures and the scene's starting values.
void prepareGlState(TexturePlatform& platform);

// The fixed GL state alone, for a further context that shares the textures.
void setFixedGlState();

// Frees what prepareGlState acquired (the quadric and the slide textures),
// while the GL context is still current.
void releaseGlState();

}  // namespace kb::renderer
