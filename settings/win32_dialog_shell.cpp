// What the dialog asks of the shell: the music file's open dialog and the
// maker's web page.
// clang-format off
#include <windows.h>  // before the headers that build on it
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "common/win32_system_dlls.h"
#include "common/win32_text.h"
#include "settings/win32_dialog_window.h"

namespace kb::settings {

namespace {

// One function of a system DLL, bound at its first use; null without it.
// NOTE: comdlg32 and shell32 are not imported: only this dialog needs them,
// and loading them (with the comctl32 they pull in, which sets up theming) at
// every start would delay the show's first pictures.
template <typename Function>
Function systemFunction(const char* dll, const char* name) {
  void* address = nullptr;
  const SystemFunction function{name, &address};
  bindSystemFunctions(dll, &function, 1);
  return reinterpret_cast<Function>(address);
}

// The open-file request, through the Unicode call so that its texts read
// right on every code page.
constexpr wchar_t kBrowseFilter[] = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
constexpr wchar_t kBrowseTitle[] = L"ﾌｧｲﾙを開く";
constexpr int kBrowseBufferChars = 255;
// The size of the request as the common dialog first knew it, which every
// version accepts: 76 bytes in the 32-bit build.
constexpr DWORD kBrowseRequestSize =
    offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(OPENFILENAMEW::lpTemplateName);
static_assert(sizeof(void*) != 4 || kBrowseRequestSize == 76, "the 76-byte request");

}  // namespace

void SettingsDialog::Browse() {
  std::array<wchar_t, kBrowseBufferChars> file{};
  std::array<wchar_t, kBrowseBufferChars> title{};
  OPENFILENAMEW request{};
  request.lStructSize = kBrowseRequestSize;
  request.hwndOwner = window_;
  request.hInstance = instance_;
  request.lpstrFilter = kBrowseFilter;
  request.lpstrFile = file.data();
  request.nMaxFile = kBrowseBufferChars;
  request.lpstrFileTitle = title.data();
  request.nMaxFileTitle = kBrowseBufferChars;
  request.lpstrTitle = kBrowseTitle;
  static const auto getOpenFileName =
      systemFunction<BOOL(WINAPI*)(OPENFILENAMEW*)>("comdlg32.dll", "GetOpenFileNameW");
  WhileBusy([&] { shared_.ApiResult = getOpenFileName != nullptr && getOpenFileName(&request); });
  if (shared_.ApiResult <= 0) return;
  // The buffer is always terminated: the dialog fails rather than fill it.
  file.back() = L'\0';
  // The settings file and the music calls take the ANSI code page: a path it
  // cannot spell is kept by its short form, and one with neither is not
  // taken at all, as if the dialog had been cancelled.
  const std::optional<std::string> stored = ansiPath(ansiSpellings(file.data()));
  if (!stored) return;
  shared_.BgmFile = *stored;
  RenderPanelImage();
}

void SettingsDialog::OpenWebPage() {
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
  static const auto shellExecute =
      systemFunction<HINSTANCE(WINAPI*)(HWND, const char*, const char*, const char*, const char*,
                                        INT)>("shell32.dll", "ShellExecuteA");
  // NOTE: the handler of "open" may be a COM extension: the shell asks its
  // callers to initialise COM on the calling thread, apartment-threaded.
  static const auto coInitializeEx =
      systemFunction<HRESULT(WINAPI*)(void*, DWORD)>("ole32.dll", "CoInitializeEx");
  static const auto coUninitialize = systemFunction<void(WINAPI*)()>("ole32.dll", "CoUninitialize");
  const bool com =
      coInitializeEx != nullptr && coUninitialize != nullptr &&
      SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  if (shellExecute != nullptr)
    WhileBusy([this] { shellExecute(window_, "open", kMakerWebPage, "", "", SW_SHOWNORMAL); });
  if (com) coUninitialize();
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
}

}  // namespace kb::settings
