#include "host/program_folder.h"

namespace kb {

std::string folderOf(const std::string& programPath) {
  const std::size_t slash = programPath.find_last_of('\\');
  if (slash == std::string::npos) return std::string();
  const bool driveRoot = slash == 2 && programPath[1] == ':';
  return programPath.substr(0, driveRoot ? slash + 1 : slash);
}

ProgramFolder programFolderOf(const std::string& utf8Path, const AnsiSpellings& path) {
  const std::optional<std::string> ansi = ansiPath(path);
  return {ansi ? folderOf(*ansi) : std::string(), folderOf(utf8Path)};
}

}  // namespace kb
