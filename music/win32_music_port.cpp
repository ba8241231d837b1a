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

template <typename Function>
Function as(void* pointer) {
  return reinterpret_cast<Function>(pointer);
}

// winmm's functions, from the system folder's winmm.dll. Without winmm every
// request fails as on a machine with no sound device, and the show goes on
// without music.
class Win32MusicPort final : public MusicPort {
 public:
  Win32MusicPort() {
    const SystemFunction functions[] = {{"mciSendStringA", &sendString_},
                                        {"mciGetErrorStringA", &errorString_},
                                        {"waveOutGetNumDevs", &waveOutDeviceCount_},
                                        {"PlaySoundA", &playSound_}};
    bound_ = bindSystemFunctions("winmm.dll", functions, std::size(functions));
  }

  std::int32_t sendString(const char* command, char* reply, std::uint32_t replyLength) override {
    if (!bound_) return MCIERR_DEVICE_NOT_INSTALLED;
    return static_cast<std::int32_t>(
        as<decltype(&mciSendStringA)>(sendString_)(command, reply, replyLength, nullptr));
  }
  bool errorString(std::int32_t code, char* buffer, std::uint32_t length) override {
    if (!bound_) return false;
    return as<decltype(&mciGetErrorStringA)>(errorString_)(static_cast<MCIERROR>(code), buffer,
                                                           length) != FALSE;
  }
  std::uint32_t waveOutDeviceCount() override {
    if (!bound_) return 0;
    return as<decltype(&waveOutGetNumDevs)>(waveOutDeviceCount_)();
  }
  std::int32_t playSound(const char* name, std::uint32_t flags) override {
    if (!bound_) return FALSE;
    return as<decltype(&PlaySoundA)>(playSound_)(name, nullptr, flags);
  }

 private:
  bool bound_ = false;
  void* sendString_ = nullptr;
  void* errorString_ = nullptr;
  void* waveOutDeviceCount_ = nullptr;
  void* playSound_ = nullptr;
};

}  // namespace

MusicPort& win32MusicPort() {
  static Win32MusicPort port;
  return port;
}

}  // namespace kb::music
