#include "renderer/frame_loop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/mouse_rule.h"
#include "renderer/gl_extensions.h"
#include "renderer/other_monitors.h"
#include "renderer/window_messages.h"
#include "renderer/window_size.h"
#include "tests/unit/renderer/scene_fixture.h"

namespace kb::test {
namespace {

using namespace kb::renderer;

TEST(FrameAverage, IsElapsedTimeOverFramesExactly) {
  EXPECT_EQ(frameAverage(0, 0), 0.0);
  EXPECT_EQ(frameAverage(3, 4), 0.75) << "fewer milliseconds than frames";
  EXPECT_EQ(frameAverage(0xFFFFFFFFu, 1), 4294967295.0);
  EXPECT_NEAR(frameAverage(0xFFFFFFFFu, 0x80000001u), 2.0, 1e-8) << "past 2^31 frames";
  EXPECT_EQ(frameAverage(60ull * 86'400'000, 518'400'000), 10.0) << "60 days at 100 frames/s";
}

TEST(GlExtensions, AreWholeEntriesOfTheList) {
  const char* list = "WGL_ARB_pixel_format WGL_EXT_swap_control_tear WGL_EXT_swap_control";
  EXPECT_TRUE(listsExtension(list, "WGL_EXT_swap_control"));
  EXPECT_TRUE(listsExtension(list, "WGL_ARB_pixel_format"));
  EXPECT_FALSE(listsExtension("WGL_EXT_swap_control_tear", "WGL_EXT_swap_control"));
  EXPECT_FALSE(listsExtension("XWGL_EXT_swap_control", "WGL_EXT_swap_control"));
  EXPECT_FALSE(listsExtension(nullptr, "WGL_EXT_swap_control"));
}

TEST(SceneWindowSize, AMaximisedWindowPlusACaptionGrownToThePrimaryMonitor) {
  // Windows 10, 1920 x 1080 with a 40-pixel taskbar: one row short before.
  const WindowSize windows10 = sceneWindowSize(1936, 1056, 23, 1920, 1080);
  EXPECT_EQ(windows10.width, 1936);
  EXPECT_EQ(windows10.height, 1080);
  // Wine on a 1024 x 768 screen without a taskbar: larger already, unchanged.
  const WindowSize wine = sceneWindowSize(1032, 806, 19, 1024, 768);
  EXPECT_EQ(wine.width, 1032);
  EXPECT_EQ(wine.height, 825);
  // A monitor smaller than the rule's size: nothing shrinks.
  const WindowSize small = sceneWindowSize(808, 580, 23, 640, 480);
  EXPECT_EQ(small.width, 808);
  EXPECT_EQ(small.height, 603);
}

TEST(OtherMonitors, EveryMonitorButThePrimary) {
  const Monitor primary{{0, 0, 1920, 1080}, true};
  const Monitor left{{-1280, 0, 0, 1024}, false};
  const Monitor right{{1920, -200, 3840, 880}, false};
  EXPECT_TRUE(otherMonitors({primary}).empty()) << "one monitor: no others";
  const auto covered = otherMonitors({left, primary, right});
  ASSERT_EQ(covered.size(), 2u);
  EXPECT_EQ(covered[0].left, -1280);
  EXPECT_EQ(covered[1].top, -200);
  EXPECT_EQ(covered[1].right, 3840);
  EXPECT_TRUE(otherMonitors({primary, {{0, 0, 0, 0}, false}}).empty()) << "no size";
}

TEST(PointerRule, NeedsMoreThanThirtyPixelsOnBothAxesFromTheStart) {
  EXPECT_TRUE(pointerMovedFarEnough(500, 400, 531, 431));
  EXPECT_TRUE(pointerMovedFarEnough(500, 400, 469, 369));
  EXPECT_FALSE(pointerMovedFarEnough(500, 400, 530, 430));
  EXPECT_FALSE(pointerMovedFarEnough(500, 400, 600, 400));
  EXPECT_FALSE(pointerMovedFarEnough(500, 400, 500, 0));
  EXPECT_FALSE(pointerMovedFarEnough(500, 400, 531, 430));
  EXPECT_FALSE(pointerMovedFarEnough(500, 400, 530, 431));
  EXPECT_TRUE(pointerMovedFarEnough(-2147483647 - 1, 0, 2147483647, 31))
      << "no overflow at the extremes";
}

TEST(KeyTable, RecordsDownAndUpAndIgnoresCodesFromTwoHundredFiftySix) {
  EXPECT_EQ(handleRendererMessage(message::kKeyDown, 27, 0), MessageOutcome::kHandled);
  EXPECT_TRUE(keyDown[27]);
  EXPECT_EQ(handleRendererMessage(message::kKeyUp, 27, 0), MessageOutcome::kHandled);
  EXPECT_FALSE(keyDown[27]);
  EXPECT_TRUE(escapePressed);
  escapePressed = false;
  handleRendererMessage(message::kKeyDown, 255, 0);
  EXPECT_TRUE(keyDown[255]);
  handleRendererMessage(message::kKeyUp, 255, 0);
  for (std::uint64_t code : {256ull, 283ull, 0xFFFFFFFFFFFFFFFFull}) {
    EXPECT_EQ(handleRendererMessage(message::kKeyDown, code, 0), MessageOutcome::kHandled);
    for (bool down : keyDown) EXPECT_FALSE(down) << code;
  }
}

TEST(WindowMessages, CloseTimerAndTheRestAreLeftToTheSystemAsTheyShouldBe) {
  EXPECT_EQ(handleRendererMessage(message::kCreate, 0, 0), MessageOutcome::kHandled);
  EXPECT_EQ(handleRendererMessage(message::kClose, 0, 0), MessageOutcome::kPostQuit);
  EXPECT_EQ(handleRendererMessage(message::kTimer, 1, 0), MessageOutcome::kRestoreTitle);
  EXPECT_EQ(handleRendererMessage(message::kTimer, 2, 0), MessageOutcome::kHandled);
  EXPECT_EQ(handleRendererMessage(0x0104 /* system key down */, 115, 0), MessageOutcome::kDefault);
  // A burst of display changes posts one message that follows them all;
  // a change from the moment it is handled posts another.
  EXPECT_EQ(handleRendererMessage(message::kDisplayChange, 32, 0), MessageOutcome::kPostFollow);
  EXPECT_EQ(handleRendererMessage(message::kSettingChange, kWorkAreaSetting, 0),
            MessageOutcome::kHandled);
  EXPECT_EQ(handleRendererMessage(message::kDpiChanged, 0, 0), MessageOutcome::kHandled);
  EXPECT_EQ(handleRendererMessage(message::kFollowDisplays, 0, 0), MessageOutcome::kFollowDisplays);
  EXPECT_EQ(handleRendererMessage(message::kDpiChanged, 0, 0), MessageOutcome::kPostFollow);
  EXPECT_EQ(handleRendererMessage(message::kFollowDisplays, 0, 0), MessageOutcome::kFollowDisplays);
  EXPECT_EQ(handleRendererMessage(message::kSettingChange, 0x14, 0), MessageOutcome::kDefault);
  EXPECT_EQ(handleRendererMessage(0x0112 /* system command */, 0xF060, 0),
            MessageOutcome::kDefault);
  EXPECT_EQ(handleRendererMessage(0x000F /* paint */, 0, 0), MessageOutcome::kDefault);
  for (bool down : keyDown) EXPECT_FALSE(down) << "system keys are not recorded";
}

// A queue, a clock and a cursor scripted per frame. Its log reads "m<wParam>"
// for each message taken, "q" for the quit message and "f" for each frame shown.
class ScriptedLoop : public LoopPlatform {
 public:
  struct Queued {
    std::uint32_t message;
    std::uint64_t wParam;
  };
  std::map<int, std::vector<Queued>> queuedBeforeFrame;  // by the number of the next frame
  std::function<std::uint32_t(int frame)> tickAtFrame = [](int) { return 0u; };
  std::function<ScreenPoint(int frame)> cursorAfterFrame = [](int) { return ScreenPoint{}; };
  std::function<bool(int frame)> escapeElsewhereAfterFrame = [](int) { return false; };
  std::string log;
  std::vector<double> averages;
  std::vector<float> angles;
  int frames = 0;
  double clockMs = 0;  // the precise clock, moved by waits and swaps alone
  double swapMs = 0;   // a swap that waits for the screen takes a refresh
  // Or: a screen refreshing every `refreshEveryMs`, a frame drawn in
  // `drawMs` and its swap waiting for the next refresh.
  double refreshEveryMs = 0, drawMs = 0;
  long lastRefresh = -1;
  long refreshesShownTwice = 0;
  RefreshRate rate{60, 0};
  int waits = 0;
  int otherMonitors = 0;  // drawn again after each frame, as the Win32 glue does

  std::optional<Message> takeMessage() override {
    if (waits > 20000) return Message{true, 0};  // a loop that never ends fails
    auto& queue = queuedBeforeFrame[frames + 1];
    if (queue.empty()) return std::nullopt;
    const Queued next = queue.front();
    queue.erase(queue.begin());
    if (next.message == kQuit) {
      log += "q";
      return Message{true, next.wParam};
    }
    log += "m" + std::to_string(next.wParam);
    handleRendererMessage(next.message, next.wParam, 0);  // as dispatch would
    return Message{false, next.wParam};
  }
  std::uint32_t tickCount() override { return tickAtFrame(frames); }
  double preciseMs() override { return clockMs; }
  RefreshRate refreshRate() override { return rate; }
  void waitForMessages(double ms) override {
    ++waits;
    clockMs += ms;
  }
  void showFrame() override {
    for (int other = 0; other < otherMonitors; ++other) drawScene();
    clockMs += swapMs;
    if (refreshEveryMs > 0) {
      const auto refresh = static_cast<long>(std::ceil((clockMs + drawMs) / refreshEveryMs));
      clockMs = static_cast<double>(refresh) * refreshEveryMs;
      if (lastRefresh >= 0 && refresh > lastRefresh + 1)
        refreshesShownTwice += refresh - lastRefresh - 1;
      lastRefresh = refresh;
    }
    ++frames;
    log += "f";
    averages.push_back(averageFrameMs);
    angles.push_back(reelAngle);
  }
  ScreenPoint cursorPosition() override { return cursorAfterFrame(frames); }
  bool escapeHeldElsewhere() override { return escapeElsewhereAfterFrame(frames); }

  static constexpr std::uint32_t kQuit = 0x0012;
};

class FrameLoopTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    cursorStart = {500, 400};
    // One pixel drawn a frame: these tests look at the loop, which draws thousands.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    loop.cursorAfterFrame = [](int) { return ScreenPoint{500, 400}; };
  }
  void TearDown() override {
    for (bool& down : keyDown) down = false;
    escapePressed = false;
    displayOn = true;
    SceneTest::TearDown();
  }
  ScriptedLoop loop;
};

TEST_F(FrameLoopTest, QueuedMessagesAreHandledOnePerIterationBeforeTheNextFrame) {
  loop.queuedBeforeFrame[1] = {{0x0200, 7}};
  loop.queuedBeforeFrame[3] = {{0x0200, 1}, {0x0200, 2}, {0x0200, 3}};
  loop.queuedBeforeFrame[5] = {{0x0200, 4}, {ScriptedLoop::kQuit, 99}, {0x0200, 5}};
  EXPECT_EQ(runFrameLoop(loop), 99u);
  EXPECT_EQ(loop.log, "m7ffm1m2m3ffm4q") << "the quit message ends it without another frame";
}

TEST_F(FrameLoopTest, EscDrawsOneMoreFrameThenEnds) {
  loop.queuedBeforeFrame[3] = {{message::kKeyDown, 27}};
  loop.tickAtFrame = [](int shown) { return 50u * static_cast<std::uint32_t>(shown); };
  const float speedBefore = reelSpeed;
  EXPECT_EQ(runFrameLoop(loop), 27u);
  EXPECT_EQ(loop.log, "ffm27f");
  // Frames 1 and 2 average 0 and 25 ms; the Esc frame swings no more.
  EXPECT_NEAR(reelSpeed - speedBefore, 0.0005 * 25 / (1000.0 / 60), 1e-6);
}

TEST_F(FrameLoopTest, AQuickEscTapWhoseKeyUpIsQueuedBeforeTheNextFrameStillEnds) {
  loop.queuedBeforeFrame[2] = {{message::kKeyDown, 27}, {message::kKeyUp, 27}};
  runFrameLoop(loop);
  EXPECT_EQ(loop.log, "fm27m27f");
}

TEST_F(FrameLoopTest, EscHeldWhileAnotherWindowHasTheKeyboardEndsAfterThatFrame) {
  loop.escapeElsewhereAfterFrame = [](int frame) { return frame == 3; };
  loop.queuedBeforeFrame[20] = {{ScriptedLoop::kQuit, 0}};  // a loop that misses it ends too
  runFrameLoop(loop);
  EXPECT_EQ(loop.log, "fff");
}

TEST_F(FrameLoopTest, NoMoreFramesThanTheScreenShowsAndNoWaitOnASwapThatWaited) {
  // Frames a second over the first simulated second, and the waits.
  const auto pace = [](RefreshRate rate, double swapMs) {
    ScriptedLoop paced;
    paced.rate = rate;
    paced.swapMs = swapMs;
    double lastFrameMs = 0;
    paced.cursorAfterFrame = [&](int) {
      lastFrameMs = paced.clockMs;
      return paced.clockMs < 1000 ? cursorStart : ScreenPoint{0, 0};
    };
    runFrameLoop(paced);
    return std::pair{(paced.frames - 1) * 1000 / lastFrameMs, paced.waits};
  };
  // A reading of 60 stands for 60 to 61 Hz: 61 frames are within one of the screen's.
  EXPECT_NEAR(pace({60, 0}, 0).first, 61, 0.01);
  EXPECT_NEAR(pace({59, 0}, 0).first, 60, 0.01) << "59.94 Hz";
  EXPECT_NEAR(pace({144, 0}, 0).first, 145, 0.01);
  EXPECT_NEAR(pace({0, 0}, 0).first, 60, 0.01) << "the hardware's default counts as 60";
  EXPECT_NEAR(pace({1000, 0}, 0).first, 60, 0.01) << "an absurd rate counts as 60";
  EXPECT_NEAR(pace({60, 144}, 0).first, 61, 0.01) << "another monitor's exact rate";
  EXPECT_NEAR(pace({0, 60000 / 1001.0}, 0).first, 60.44, 0.01) << "the exact rate alone";
  EXPECT_EQ(pace({60, 0}, 1000.0 / 60).second, 0);
}

// Where Windows rounds the rate down (59.94 Hz reads 59), a swap that waits
// for the true refresh, after 2 ms of drawing, never misses one.
TEST_F(FrameLoopTest, NoRefreshShownTwiceInAMinuteWhereWindowsReadsTheRateRoundedDown) {
  const auto shownTwice = [](RefreshRate reading, double trueHertz) {
    ScriptedLoop paced;
    paced.rate = reading;
    paced.refreshEveryMs = 1000 / trueHertz;
    paced.drawMs = 2;
    paced.cursorAfterFrame = [&paced](int) {
      return paced.clockMs < 60'000 ? cursorStart : ScreenPoint{0, 0};
    };
    runFrameLoop(paced);
    EXPECT_GT(paced.frames, 59 * trueHertz) << trueHertz;
    return paced.refreshesShownTwice;
  };
  EXPECT_EQ(shownTwice({59, 0}, 60000 / 1001.0), 0) << "59.94 Hz read as 59";
  EXPECT_EQ(shownTwice({143, 0}, 143.98), 0) << "143.98 Hz read as 143";
  EXPECT_EQ(shownTwice({59, 60000 / 1001.0}, 60000 / 1001.0), 0) << "with the exact rate";
  EXPECT_EQ(shownTwice({60, 0}, 60), 0);
}

TEST_F(FrameLoopTest, NothingIsDrawnWhileTheDisplayIsOffButEscAndTheMouseAreWatched) {
  displayStateChanged(0);
  loop.cursorAfterFrame = [this](int frame) {
    if (loop.waits == 3) displayStateChanged(2);  // dimmed after 90 ms: seen again
    return frame < 2 ? cursorStart : ScreenPoint{0, 0};
  };
  runFrameLoop(loop);
  EXPECT_EQ(loop.frames, 2);
  EXPECT_GE(loop.clockMs, 90.0) << "drawn while the display was off";
  // In the dark, the mouse moved at 40 ms, or Esc tapped for 30 ms elsewhere.
  for (bool byMouse : {true, false}) {
    ScriptedLoop dark;
    displayStateChanged(0);
    dark.cursorAfterFrame = [&dark, byMouse](int) {
      return byMouse && dark.clockMs >= 40 ? ScreenPoint{0, 0} : cursorStart;
    };
    dark.escapeElsewhereAfterFrame = [&dark, byMouse](int) {
      return !byMouse && dark.clockMs >= 40 && dark.clockMs < 70;
    };
    runFrameLoop(dark);
    EXPECT_EQ(dark.frames, 0);
    EXPECT_LE(dark.clockMs, 70.0) << (byMouse ? "the mouse" : "Esc")
                                  << " not checked every 30 ms while the display was off";
  }
}

TEST_F(FrameLoopTest, EndsAfterTheFrameThatSeesTheCursorThirtyOneAndThirtyOneAway) {
  loop.cursorAfterFrame = [](int frame) {
    return frame < 4 ? ScreenPoint{500, 400} : ScreenPoint{531, 431};
  };
  EXPECT_EQ(runFrameLoop(loop), 0u);
  EXPECT_EQ(loop.log, "ffff");
}

TEST_F(FrameLoopTest, GoesOnAfterThirtyAndThirtyOrAHundredStraightRight) {
  for (ScreenPoint moved : {ScreenPoint{530, 430}, ScreenPoint{600, 400}, ScreenPoint{470, 0}}) {
    ScriptedLoop scripted;
    scripted.cursorAfterFrame = [moved](int frame) {
      return frame < 2 ? ScreenPoint{500, 400} : moved;
    };
    scripted.queuedBeforeFrame[20] = {{ScriptedLoop::kQuit, 0}};
    runFrameLoop(scripted);
    EXPECT_EQ(scripted.frames, 19) << moved.x << "," << moved.y;
  }
}

TEST_F(FrameLoopTest, AverageFrameTimeCountsAcrossATickCountWrap) {
  const std::uint32_t start = 0xFFFFFFFFu - 45;  // wraps before the fourth frame
  loop.tickAtFrame = [start](int shown) { return start + 20u * static_cast<std::uint32_t>(shown); };
  loop.queuedBeforeFrame[7] = {{ScriptedLoop::kQuit, 0}};
  runFrameLoop(loop);
  ASSERT_EQ(loop.averages.size(), 6u);
  // frame n is shown 20 * (n - 1) ms after the start
  EXPECT_EQ(loop.averages, (std::vector<double>{0, 10, 40.0 / 3, 15, 16, 50.0 / 3}));
}

TEST_F(FrameLoopTest, AverageFrameTimeStaysRightPast49Point7Days) {
  // Frames 2^30 ms (12.4 days) apart: the fifth is 2^32 ms after the start.
  loop.tickAtFrame = [](int shown) { return static_cast<std::uint32_t>(shown) << 30; };
  loop.queuedBeforeFrame[7] = {{ScriptedLoop::kQuit, 0}};
  runFrameLoop(loop);
  ASSERT_EQ(loop.averages.size(), 6u);
  EXPECT_EQ(loop.averages[4], 4.0 * (1 << 30) / 5) << "4 * 2^30 ms over 5 frames";
  EXPECT_EQ(loop.averages[5], 5.0 * (1 << 30) / 6) << "5 * 2^30 ms over 6 frames";
}

TEST_F(FrameLoopTest, WhileTheClockStandsStillNothingMoves) {
  loop.queuedBeforeFrame[4] = {{ScriptedLoop::kQuit, 0}};
  reelSpeed = 0.5f;
  runFrameLoop(loop);
  EXPECT_EQ(reelAngle, 100.0f) << "no time has passed";
  EXPECT_EQ(reelSpeed, 0.5f);
}

// Degrees turned in `seconds` at `rate` frames a second, counting whole
// periods the bound took off.
double degreesTurned(double rate, int seconds, int otherMonitors = 0) {
  reelAngle = 100.0f;
  reelSpeed = 0.0f;
  speedRising = true;
  ScriptedLoop loop;
  loop.otherMonitors = otherMonitors;
  loop.cursorAfterFrame = [](int) { return cursorStart; };
  loop.tickAtFrame = [rate](int shown) { return static_cast<std::uint32_t>(shown * 1000 / rate); };
  loop.queuedBeforeFrame[static_cast<int>(rate * seconds) + 1] = {{ScriptedLoop::kQuit, 0}};
  runFrameLoop(loop);
  double turned = 0;
  for (std::size_t i = 1; i < loop.angles.size(); ++i)
    turned +=
        loop.angles[i] - loop.angles[i - 1] + (loop.angles[i] < loop.angles[i - 1] ? 1080 : 0);
  return turned;
}

TEST(FrameRate, TheReelTurnsAlikeAtEveryFrameRate) {
  OffscreenGlContext gl(4, 4);
  RecordingPlatform noFiles;
  prepareGlState(noFiles);
  cursorStart = {};
  // As the reel turned before its per-frame terms were scaled: at 60 frames a
  // second, whole milliseconds of average and the speed added per frame.
  double before = 0, speed = 0.0005, step = 0.0005;  // from the second frame on
  for (int frame = 2; frame <= 3600; ++frame) {
    before += ((frame - 1) * 1000 / 60) / frame / 250.0 + speed;  // in whole milliseconds
    speed += step;
    if (speed > 1 || speed < 0) step = -step;
  }
  const double minuteAt60 = degreesTurned(60, 60);
  EXPECT_NEAR(minuteAt60 / before, 1.0, 0.01);
  for (double rate : {144.0, 240.0})
    EXPECT_NEAR(degreesTurned(rate, 60) / minuteAt60, 1.0, 0.05) << rate;
  // A minute at 2,000 frames a second would take the test long to draw.
  EXPECT_NEAR(degreesTurned(2000, 6) / degreesTurned(60, 6), 1.0, 0.05);
  EXPECT_EQ(degreesTurned(60, 6, 2), degreesTurned(60, 6)) << "three monitors turn it faster";
  releaseGlState();
}

}  // namespace
}  // namespace kb::test
