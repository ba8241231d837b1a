// Main, the start-up of the screensaver program: the duplicate check, the
// mode dispatch, the settings and the renderer file check. The platform
// calls and the forms it opens are behind StartPort.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/ansi_text.h"

namespace kb {

// Titles whose windows stop a second start: a running show, an open settings
// dialog, a running renderer.
constexpr const char* kInstanceTitles[] = {"Q_Tavel_Main", "<Kolvane_Brightrun>",
                                           "Kolvane_Brightrun_Viewer"};
// A show holds this named mutex from before its first step to its end: while
// it writes its pictures and starts the renderer it has no window yet, and
// the titles alone would let a second show start beside it.
constexpr char kShowClaimName[] = "Local\\Kolvane_Brightrun_Show";

class StartPort {
 public:
  virtual ~StartPort() = default;
  // FindWindowA(NULL, title) found a top-level window.
  virtual bool windowExists(const char* title) = 0;
  // Another process holds the show claim.
  virtual bool showClaimed() = 0;
  // Takes the show claim for this process until it ends; false when another
  // process has it.
  virtual bool claimShow() = 0;
  virtual void loadSettings() = 0;
  virtual bool rendererFileExists() = 0;
  // The one message box: the renderer file is missing.
  virtual void showMissingRendererBox() = 0;
  virtual void runPreview(std::int32_t parentHandle) = 0;
  // The modal settings dialog; returns when it has closed.
  virtual void runSettingsDialog() = 0;
  // Loads the hidden show form, which runs its load handler.
  virtual void loadShowForm() = 0;
};

enum class MainOutcome {
  End,          // the program ends now
  KeepRunning,  // a form is loaded: run its message loop
};

// isLeadByte tells the ANSI code page's double-byte characters (ansi_text.h).
MainOutcome Main(StartPort& port, std::string_view argumentText, LeadByteTest isLeadByte);

}  // namespace kb
