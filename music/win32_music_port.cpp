// The music port over winmm.
#include "music/win32_music_port.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>  // after windows.h, whose types it uses
// clang-format on

namespace kb::music {
namespace {

class Win32MusicPort final : public MusicPort {
 public:
  std::int32_t sendString(const char* command, char* reply, std::uint32_t replyLength) override {
    return static_cast<std::int32_t>(mciSendStringA(command, reply, replyLength, nullptr));
  }
  bool errorString(std::int32_t code, char* buffer, std::uint32_t length) override {
    return mciGetErrorStringA(static_cast<MCIERROR>(code), buffer, length) != FALSE;
  }
  std::uint32_t waveOutDeviceCount() override { return waveOutGetNumDevs(); }
  std::int32_t playSound(const char* name, std::uint32_t flags) override {
    return PlaySoundA(name, nullptr, flags);
  }
};

}  // namespace

MusicPort& win32MusicPort() {
  static Win32MusicPort port;
  return port;
}

}  // namespace kb::music
