#include "host/start.h"

#include "host/command_line.h"

namespace kb {
namespace {

// Every title is looked for, even after one was found; then a show that has
// no window yet.
bool anotherInstanceRuns(StartPort& port) {
  bool found = false;
  for (const char* title : kInstanceTitles) found = port.windowExists(title) || found;
  return port.showClaimed() || found;
}

}  // namespace

MainOutcome Main(StartPort& port, std::string_view argumentText, LeadByteTest isLeadByte) {
  if (anotherInstanceRuns(port)) return MainOutcome::End;
  const StartPlan plan = planStart(argumentText, isLeadByte);
  if (plan.action == StartAction::Preview) {
    port.runPreview(previewHandle(argumentText, isLeadByte));
    return MainOutcome::KeepRunning;
  }
  port.loadSettings();
  if (!port.rendererFileExists()) {
    port.showMissingRendererBox();
    return MainOutcome::End;
  }
  switch (plan.action) {
    case StartAction::SettingsDialog:
      port.runSettingsDialog();
      return MainOutcome::End;
    case StartAction::Show:
      // Two shows started at once both pass the check above; one claim wins.
      if (!port.claimShow()) return MainOutcome::End;
      port.loadShowForm();
      return MainOutcome::KeepRunning;
    default:
      return MainOutcome::End;
  }
}

}  // namespace kb
