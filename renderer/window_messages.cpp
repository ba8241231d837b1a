#include "renderer/window_messages.h"

#include "renderer/frame_loop.h"
#include "renderer/scene.h"

namespace kb::renderer {

namespace {

// A kFollowDisplays message waits in the queue.
bool followPosted = false;

// NOTE: a display change comes as a burst (WM_DISPLAYCHANGE, the work area,
// perhaps a new DPI), and re-making the covers handles sent messages, among
// them the next of the burst. So the messages only note the change, and the
// window's own message, posted once, does the work outside any other call.
MessageOutcome displaysChanged() {
  if (followPosted) return MessageOutcome::kHandled;
  followPosted = true;
  return MessageOutcome::kPostFollow;
}

std::uint16_t lowWord(std::uint64_t value) {
  return static_cast<std::uint16_t>(value & 0xFFFF);
}
std::uint16_t highWord(std::uint64_t value) {
  return static_cast<std::uint16_t>((value >> 16) & 0xFFFF);
}

}  // namespace

MessageOutcome handleRendererMessage(std::uint32_t message, std::uint64_t wParam,
                                     std::uint64_t lParam) {
  switch (message) {
    case message::kCreate:
      return MessageOutcome::kHandled;
    case message::kSize:
      setProjection(lowWord(lParam), highWord(lParam));
      return MessageOutcome::kHandled;
    case message::kClose:
      return MessageOutcome::kPostQuit;
    case message::kKeyDown:
      recordKey(wParam, true);
      return MessageOutcome::kHandled;
    case message::kKeyUp:
      recordKey(wParam, false);
      return MessageOutcome::kHandled;
    case message::kTimer:
      return wParam == kTitleTimerId ? MessageOutcome::kRestoreTitle : MessageOutcome::kHandled;
    case message::kLeftButtonDown:
      pickAtPoint(lowWord(lParam), highWord(lParam));
      return MessageOutcome::kHandled;
    // A resolution, a monitor come or gone, a moved taskbar (the scene's size
    // follows the work area), another scaling: the screen is covered anew.
    case message::kDisplayChange:
    case message::kDpiChanged:
      return displaysChanged();
    case message::kSettingChange:
      return wParam == kWorkAreaSetting ? displaysChanged() : MessageOutcome::kDefault;
    case message::kFollowDisplays:
      followPosted = false;  // a change from now on is followed again
      return MessageOutcome::kFollowDisplays;
    default:
      return MessageOutcome::kDefault;
  }
}

}  // namespace kb::renderer
