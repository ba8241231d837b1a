#include "host/command_line.h"

#include "common/number_text.h"

namespace kb {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// Whether `text` begins with `prefix`, character by character, ASCII letters
// in either case; a double-byte character must match byte for byte.
bool beginsWithIgnoringCase(std::string_view text, std::string_view prefix,
                            LeadByteTest isLeadByte) {
  if (prefix.empty() || prefix.size() > text.size()) return false;
  const auto wanted = ansiCharacters(prefix, isLeadByte);
  const auto found = ansiCharacters(text.substr(0, prefix.size()), isLeadByte);
  if (wanted.size() != found.size()) return false;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    if (wanted[i].size() != found[i].size()) return false;
    if (wanted[i].size() == 1 ? asciiUpper(wanted[i][0]) != asciiUpper(found[i][0])
                              : wanted[i] != found[i])
      return false;
  }
  return true;
}

// The length of the program's own unquoted path at the start of the line,
// when one follows there whole; 0 otherwise.
std::size_t ownPathLength(std::string_view commandLine,
                          const std::vector<std::string>& programPaths, LeadByteTest isLeadByte) {
  for (const std::string& path : programPaths) {
    if (!beginsWithIgnoringCase(commandLine, path, isLeadByte)) continue;
    if (path.size() == commandLine.size() || isBlank(commandLine[path.size()])) return path.size();
  }
  return 0;
}

// Where the program name of the command line ends.
std::size_t programNameLength(std::string_view commandLine,
                              const std::vector<std::string>& programPaths,
                              LeadByteTest isLeadByte) {
  if (const std::size_t own = ownPathLength(commandLine, programPaths, isLeadByte)) return own;
  if (!commandLine.empty() && commandLine[0] == '"') {
    // A quoted name ends at its closing quote, as Windows reads it.
    const std::size_t close = commandLine.find('"', 1);
    return close == std::string_view::npos ? commandLine.size() : close + 1;
  }
  std::size_t at = 0;
  while (at < commandLine.size() && !isBlank(commandLine[at])) ++at;
  return at;
}

}  // namespace

std::string argumentText(std::string_view commandLine, const std::vector<std::string>& programPaths,
                         LeadByteTest isLeadByte) {
  std::size_t at = programNameLength(commandLine, programPaths, isLeadByte);
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
      return {StartAction::Preview};
    case 'C':
      return {StartAction::SettingsDialog};
    case 'S':
      return {StartAction::Show};
    default:
      // An empty command line (a double click on the program) is a show
      // that leaves the cursor visible (Show::FormLoad).
      if (argumentText.empty()) return {StartAction::Show};
      return {StartAction::End};
  }
}

}  // namespace kb
