// What the renderer's window does with each message. The decisions and the
// state they touch are here; the Win32 window procedure only carries out
// what is left for the system.
#pragma once

#include <cstdint>

namespace kb::renderer {

namespace message {
constexpr std::uint32_t kCreate = 0x0001;
constexpr std::uint32_t kSize = 0x0005;
constexpr std::uint32_t kClose = 0x0010;
constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uint32_t kKeyUp = 0x0101;
constexpr std::uint32_t kTimer = 0x0113;
constexpr std::uint32_t kLeftButtonDown = 0x0201;
constexpr std::uint32_t kSettingChange = 0x001A;
constexpr std::uint32_t kDisplayChange = 0x007E;
constexpr std::uint32_t kDpiChanged = 0x02E0;
// The window's own (WM_APP + 1): the displays changed, follow them now.
constexpr std::uint32_t kFollowDisplays = 0x8001;
}  // namespace message

constexpr std::uint64_t kWorkAreaSetting = 0x002F;  // SPI_SETWORKAREA

constexpr std::uint64_t kTitleTimerId = 1;

enum class MessageOutcome {
  kHandled,         // result 0, nothing more to do
  kPostQuit,        // a close request: post the quit message, keep the window
  kRestoreTitle,    // set the window title again
  kPostFollow,      // the displays changed: post kFollowDisplays to the window
  kFollowDisplays,  // place the window and the covers again, once for a burst
  kDefault,         // not ours: the system's default handling
};

// Applies a window message to the renderer's state (keys, projection, the
// click's selection pass) and says what the window procedure must still do.
MessageOutcome handleRendererMessage(std::uint32_t message, std::uint64_t wParam,
                                     std::uint64_t lParam);

}  // namespace kb::renderer
