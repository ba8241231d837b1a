#include "renderer/win32_frame_wait.h"

#include <dwmapi.h>

#include <cmath>
#include <iterator>

#include "common/win32_system_dlls.h"

namespace kb::renderer {
namespace {

constexpr DWORD kHighResolutionTimer = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr UINT kFinestResolutionMs = 1;

// winmm's timer resolution calls, bound from the system folder; null without them.
struct TimerResolution {
  UINT(WINAPI* begin)(UINT) = nullptr;
  UINT(WINAPI* end)(UINT) = nullptr;
};

const TimerResolution* timerResolution() {
  static const TimerResolution* bound = [] {
    static TimerResolution functions;
    const SystemFunction winmm[] = {{"timeBeginPeriod", reinterpret_cast<void**>(&functions.begin)},
                                    {"timeEndPeriod", reinterpret_cast<void**>(&functions.end)}};
    return bindSystemFunctions("winmm.dll", winmm, std::size(winmm)) ? &functions : nullptr;
  }();
  return bound;
}

HANDLE createTimer(DWORD flags) {
  using CreateTimerEx = HANDLE(WINAPI*)(SECURITY_ATTRIBUTES*, const wchar_t*, DWORD, DWORD);
  const auto createEx =
      reinterpret_cast<CreateTimerEx>(loadedFunction("kernel32.dll", "CreateWaitableTimerExW"));
  if (createEx == nullptr)
    return flags == 0 ? CreateWaitableTimerA(nullptr, FALSE, nullptr) : nullptr;
  return createEx(nullptr, nullptr, flags, TIMER_ALL_ACCESS);
}

// The desktop compositor's refresh rate, exact (59.94 where the display mode
// reads 59), from dwmapi in the system folder; 0 without it or without
// composition (Windows 7 with it turned off).
double compositorRefreshHertz() {
  using GetTiming = HRESULT(WINAPI*)(HWND, DWM_TIMING_INFO*);
  static const GetTiming getTiming = [] {
    GetTiming function = nullptr;
    const SystemFunction dwmapi[] = {
        {"DwmGetCompositionTimingInfo", reinterpret_cast<void**>(&function)}};
    bindSystemFunctions("dwmapi.dll", dwmapi, std::size(dwmapi));
    return function;
  }();
  if (getTiming == nullptr) return 0;
  DWM_TIMING_INFO timing{};
  timing.cbSize = sizeof timing;
  // NOTE: the window must be null from Windows 8.1 on (E_INVALIDARG otherwise).
  if (FAILED(getTiming(nullptr, &timing)) || timing.rateRefresh.uiDenominator == 0) return 0;
  return static_cast<double>(timing.rateRefresh.uiNumerator) / timing.rateRefresh.uiDenominator;
}

}  // namespace

FrameWait::FrameWait() : timer_(createTimer(kHighResolutionTimer)) {
  if (timer_ != nullptr) return;
  // NOTE: without a high-resolution timer, a wait ends on the system's timer
  // tick, 15.6 ms by default: a 60 Hz frame would wait two. The finer tick
  // costs power too, so it is asked for only while the show runs.
  timer_ = createTimer(0);
  const TimerResolution* resolution = timerResolution();
  raisedResolution_ = resolution != nullptr && resolution->begin(kFinestResolutionMs) == 0;
}

FrameWait::~FrameWait() {
  if (raisedResolution_) timerResolution()->end(kFinestResolutionMs);
  if (timer_ != nullptr) CloseHandle(timer_);
}

void FrameWait::wait(double ms) {
  // A relative due time, in 100-nanosecond units, is negative.
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(std::llround(ms * 10000.0));
  if (timer_ != nullptr && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
    MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    CancelWaitableTimer(timer_);
  } else {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::lround(ms)), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

RefreshRate monitorRefreshRate(HWND window) {
  RefreshRate rate;
  rate.exactHertz = compositorRefreshHertz();
  MONITORINFOEXA monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return rate;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  if (EnumDisplaySettingsA(monitor.szDevice, ENUM_CURRENT_SETTINGS, &mode))
    rate.modeHertz = static_cast<int>(mode.dmDisplayFrequency);
  return rate;
}

}  // namespace kb::renderer
