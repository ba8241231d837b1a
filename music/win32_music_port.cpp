// The music port over winmm.
#include "music/win32_music_port.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>  // after windows.h, whose types it uses
// clang-format on

#include <iterator>
#include <memory>

#include "common/win32_system_dlls.h"

namespace kb::music {
namespace {

template <typename Function>
Function as(void* pointer) {
  return reinterpret_cast<Function>(pointer);
}

// winmm's functions, from the system folder's copy of `dll`, bound at the
// first request: a show without music never loads winmm, and one with music
// loads it only once the renderer has been started. Without winmm every
// request fails as on a machine with no sound device, and the show goes on
// without music.
class Win32MusicPort final : public MusicPort {
 public:
  explicit Win32MusicPort(const char* dll) : dll_(dll) {}

  std::int32_t sendString(const char* command, char* reply, std::uint32_t replyLength) override {
    if (!bound()) return MCIERR_DEVICE_NOT_INSTALLED;
    return static_cast<std::int32_t>(
        as<decltype(&mciSendStringA)>(sendString_)(command, reply, replyLength, nullptr));
  }
  bool errorString(std::int32_t code, char* buffer, std::uint32_t length) override {
    if (!bound()) return false;
    return as<decltype(&mciGetErrorStringA)>(errorString_)(static_cast<MCIERROR>(code), buffer,
                                                           length) != FALSE;
  }
  std::uint32_t waveOutDeviceCount() override {
    if (!bound()) return 0;
    return as<decltype(&waveOutGetNumDevs)>(waveOutDeviceCount_)();
  }
  std::int32_t playSound(const char* name, std::uint32_t flags) override {
    if (!bound()) return FALSE;
    return as<decltype(&PlaySoundA)>(playSound_)(name, nullptr, flags);
  }

 private:
  // Binds once; a missing DLL or function is not asked for again.
  bool bound() {
    if (!tried_) {
      tried_ = true;
      const SystemFunction functions[] = {{"mciSendStringA", &sendString_},
                                          {"mciGetErrorStringA", &errorString_},
                                          {"waveOutGetNumDevs", &waveOutDeviceCount_},
                                          {"PlaySoundA", &playSound_}};
      bound_ = bindSystemFunctions(dll_, functions, std::size(functions));
    }
    return bound_;
  }

  const char* dll_;
  bool tried_ = false;
  bool bound_ = false;
  void* sendString_ = nullptr;
  void* errorString_ = nullptr;
  void* waveOutDeviceCount_ = nullptr;
  void* playSound_ = nullptr;
};

}  // namespace

MusicPort& win32MusicPort() {
  static Win32MusicPort port("winmm.dll");
  return port;
}

std::unique_ptr<MusicPort> win32MusicPortOver(const char* dll) {
  return std::make_unique<Win32MusicPort>(dll);
}

}  // namespace kb::music
