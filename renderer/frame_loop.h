// The renderer's message-and-frame loop, its frame timing and its exit rules,
// over a small port to the platform's message queue, clock, buffer swap and
// cursor.
#pragma once

#include <cstdint>
#include <optional>

namespace kb::renderer {

constexpr int kKeyCount = 256;
constexpr std::uint64_t kEscapeKey = 27;

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

extern bool keyDown[kKeyCount];  // indexed by virtual-key code
// Esc went down at some point: a tap whose key-up is queued before the next
// frame still ends the run.
extern bool escapePressed;
extern ScreenPoint cursorStart;  // taken once, just before the loop
// False while Windows has turned the display off: no frame is drawn then.
extern bool displayOn;

// The state of the session's display: 0 off, 1 on, 2 dimmed (still seen).
void displayStateChanged(std::uint32_t state);

// A monitor's refresh rate as Windows gives it: its display mode's whole
// number of hertz, rounded down (a 59.94 Hz mode reads 59; 0 and 1 mean the
// hardware's default), and the compositor's exact rate where it has one.
struct RefreshRate {
  int modeHertz = 0;
  double exactHertz = 0;  // 0: unknown
};

// The time the loop leaves between frames: never longer than a refresh, so
// that no frame aims later than the refresh it is for (a swap that waits for
// the screen would otherwise miss one now and then and show a picture
// twice), and never so much shorter that a swap that does not wait draws
// more than one frame a second above the screen's rate. The exact rate
// counts where it agrees with the mode's; a default or a reading no monitor
// gives (below 24 or above 600) counts as 60.
double framePeriodMs(RefreshRate rate);

// Records a key going down or up; codes of 256 or more are ignored.
void recordKey(std::uint64_t keyCode, bool down);

// Milliseconds per frame, exact rather than whole: the elapsed time, summed
// from 32-bit tick differences (each right across a tick-count wrap) in 64
// bits so that it stays right past 49.7 days, over a 64-bit frame count.
double frameAverage(std::uint64_t elapsedMs, std::uint64_t frameCount);

class LoopPlatform {
 public:
  struct Message {
    bool quit = false;
    std::uint64_t wParam = 0;
  };
  // Takes one waiting message, dispatching it unless it is the quit message.
  virtual std::optional<Message> takeMessage() = 0;
  virtual std::uint32_t tickCount() = 0;
  // A steady clock finer than the tick count, in milliseconds.
  virtual double preciseMs() = 0;
  // The refresh rate of the scene's monitor, as Windows reports it.
  virtual RefreshRate refreshRate() = 0;
  // Waits at most `ms`, returning early when a message or input arrives.
  virtual void waitForMessages(double ms) = 0;
  virtual void showFrame() = 0;
  virtual ScreenPoint cursorPosition() = 0;
  // Esc is held down while the scene's window is not the foreground window,
  // which its key messages then never reach.
  virtual bool escapeHeldElsewhere() = 0;

 protected:
  ~LoopPlatform() = default;
};

// Handles one message per iteration and draws a frame whenever none waits,
// until the quit message, Esc (seen by the window, or held while another
// window has the keyboard) or the mouse rule. Returns the last message's wParam.
// No more frames than the monitor shows: one that would come before the next
// refresh waits for it (on the messages) unless the buffer swap waited
// already; none at all while the display is off, when Esc and the mouse are
// still checked every 30 ms.
std::uint64_t runFrameLoop(LoopPlatform& platform);

}  // namespace kb::renderer
