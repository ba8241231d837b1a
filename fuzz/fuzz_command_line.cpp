// Any command line gives a mode and a preview handle, never a crash; Main
// over a port that records nothing follows the plan of its argument text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/command_line.h"
#include "host/start.h"
#include "tests/unit/code_pages.h"

namespace {

class QuietStartPort final : public kb::StartPort {
 public:
  bool windowExists(const char*) override { return false; }
  bool showClaimed() override { return false; }
  bool claimShow() override { return true; }
  void loadSettings() override { settingsLoaded = true; }
  bool rendererFileExists() override { return true; }
  void showMissingRendererBox() override {}
  void runPreview(std::int32_t) override { previewed = true; }
  void runSettingsDialog() override {}
  void loadShowForm() override {}

  bool settingsLoaded = false;
  bool previewed = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string commandLine(reinterpret_cast<const char*>(data), size);
  // Read as Shift-JIS, whose double-byte characters are the hard case.
  const auto leadByte = kb::test::cp932LeadByte;
  const std::string arguments =
      kb::argumentText(commandLine, {"C:\\Program Files\\x.scr", "C:\\PROGRA~1\\x.scr"}, leadByte);
  if (arguments.size() > commandLine.size()) std::abort();
  const char letter = kb::modeLetter(arguments, leadByte);
  const kb::StartPlan plan = kb::planStart(arguments, leadByte);
  if ((plan.action == kb::StartAction::Preview) != (letter == 'P')) std::abort();
  kb::previewHandle(arguments, leadByte);

  QuietStartPort port;
  kb::Main(port, arguments, leadByte);
  if (port.previewed == port.settingsLoaded) std::abort();  // exactly one of the two
  return 0;
}
