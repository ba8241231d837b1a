#include "renderer/window_messages.h"

#include "renderer/frame_loop.h"
#include "renderer/scene.h"

namespace kb::renderer {

namespace {

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
      return MessageOutcome::kFollowDisplays;
    case message::kSettingChange:
      return wParam == kWorkAreaSetting ? MessageOutcome::kFollowDisplays
                                        : MessageOutcome::kDefault;
    default:
      return MessageOutcome::kDefault;
  }
}

}  // namespace kb::renderer
