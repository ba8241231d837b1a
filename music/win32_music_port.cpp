// The music port over winmm.
#include "music/win32_music_port.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>  // after windows.h, whose types it uses
// clang-format on

#include <iterator>

#include "common/win32_system_dlls.h"

namespace kb::music {
namespace {

// winmm's functions, from the system folder's winmm.dll.
struct Winmm {
  void* sendString = nullptr;
  void* errorString = nullptr;
  void* waveOutDeviceCount = nullptr;
  void* playSound = nullptr;

  // Without winmm every request fails as on a machine with no sound device,
  // and the show goes on without music.
  bool bound() {
    const SystemFunction functions[] = {{"mciSendStringA", &sendString},
                                        {"mciGetErrorStringA", &errorString},
                                        {"waveOutGetNumDevs", &waveOutDeviceCount},
                                        {"PlaySoundA", &playSound}};
    static const bool bound = bindSystemFunctions("winmm.dll", functions, std::size(functions));
    return bound;
  }
};

template <typename Function>
Function as(void* pointer) {
  return reinterpret_cast<Function>(pointer);
}

class Win32MusicPort final : public MusicPort {
 public:
  std::int32_t sendString(const char* command, char* reply, std::uint32_t replyLength) override {
    if (!winmm_.bound()) return MCIERR_DEVICE_NOT_INSTALLED;
    return static_cast<std::int32_t>(
        as<decltype(&mciSendStringA)>(winmm_.sendString)(command, reply, replyLength, nullptr));
  }
  bool errorString(std::int32_t code, char* buffer, std::uint32_t length) override {
    if (!winmm_.bound()) return false;
    return as<decltype(&mciGetErrorStringA)>(winmm_.errorString)(static_cast<MCIERROR>(code),
                                                                 buffer, length) != FALSE;
  }
  std::uint32_t waveOutDeviceCount() override {
    if (!winmm_.bound()) return 0;
    return as<decltype(&waveOutGetNumDevs)>(winmm_.waveOutDeviceCount)();
  }
  std::int32_t playSound(const char* name, std::uint32_t flags) override {
    if (!winmm_.bound()) return FALSE;
    return as<decltype(&PlaySoundA)>(winmm_.playSound)(name, nullptr, flags);
  }

 private:
  Winmm winmm_;
};

}  // namespace

MusicPort& win32MusicPort() {
  static Win32MusicPort port;
  return port;
}

}  // namespace kb::music
