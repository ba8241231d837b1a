#include "host/command_line.h"

#include "common/number_text.h"

namespace kb {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string argumentText(std::string_view commandLine) {
  std::size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    // A quoted name ends at its closing quote, as Windows reads it.
    const std::size_t close = commandLine.find('"', 1);
    at = close == std::string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (at < commandLine.size() && !isBlank(commandLine[at])) ++at;
  }
  while (at < commandLine.size() && isBlank(commandLine[at])) ++at;
  return std::string(commandLine.substr(at));
}

char modeLetter(std::string_view argumentText, LeadByteTest isLeadByte) {
  const auto characters = ansiCharacters(argumentText, isLeadByte);
  if (characters.size() < 2 || characters[1].size() != 1) return '\0';
  return asciiUpper(characters[1][0]);
}

std::int32_t previewHandle(std::string_view argumentText, LeadByteTest isLeadByte) {
  const auto characters = ansiCharacters(argumentText, isLeadByte);
  if (characters.size() < 4) return 0;
  const auto from = static_cast<std::size_t>(characters[3].data() - argumentText.data());
  return handleNumber(argumentText.substr(from));
}

StartPlan planStart(std::string_view argumentText, LeadByteTest isLeadByte) {
  switch (modeLetter(argumentText, isLeadByte)) {
    case 'P':
      return {StartAction::Preview, false};
    case 'C':
      return {StartAction::SettingsDialog, false};
    case 'S':
      return {StartAction::Show, true};
    default:
      // An empty command line (a double click on the program) is a show
      // that leaves the cursor visible.
      if (argumentText.empty()) return {StartAction::Show, false};
      return {StartAction::End, false};
  }
}

}  // namespace kb
