// The settings dialog Q_Tavel_P as a Win32 window: the music kind, the CD
// track to repeat and the music file, saved by its OK button.
//
//   kb::settings::DialogHost host{writeOneKey, animateOpen, animateClose};
//   kb::settings::RunSettingsDialog(instance, shared, host);  // returns once closed
//
// Programs that use it link kb_settings and its resources
// (kb_settings_resources: the icon and the two mark pictures).
#pragma once

#include <windows.h>

#include <functional>

#include "common/shared_state.h"
#include "settings/dialog_model.h"

namespace kb::settings {

// What the dialog asks of the screensaver program.
struct DialogHost {
  // Writes one key of the settings file's section (WriteIniValue).
  std::function<void(const IniWrite&)> writeSetting;
  // The caption animations between the remembered cursor point and the window.
  std::function<void(HWND)> animateOpen;
  std::function<void(HWND)> animateClose;
};

// Child window identifiers, for GetDlgItem on the window or on the panel.
enum ControlId : int {
  kIdPanel = 100,  // Pic_C, on the window
  kIdRepeatBox,    // BGM_Repeat, on the panel
  kIdCmdBgm,       // on the panel
  kIdCmdSet,       // the rest on the window
  kIdCmdCan,
  kIdCmdEtc,
};

// Creates the window hidden and runs its load handler: placement, buttons,
// the current settings, the cursor point and the open animation. Returns
// nullptr when the window cannot be created. `shared` and `host` must outlive
// the window.
HWND LoadSettingsDialog(HINSTANCE instance, SharedState& shared, const DialogHost& host);

// Keyboard focus moves that the window's message loop must see first (Tab and
// Shift+Tab through the focus order). True when the message was used.
bool PreTranslateSettingsMessage(HWND dialog, const MSG& message);

// Shows the loaded window and runs its message loop until it has closed.
void ShowSettingsDialogModal(HWND dialog);

// Load and show modally: what the program's configure mode does.
void RunSettingsDialog(HINSTANCE instance, SharedState& shared, const DialogHost& host);

}  // namespace kb::settings
