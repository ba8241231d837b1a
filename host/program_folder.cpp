#include "host/program_folder.h"

namespace kb {

std::string folderOf(const std::string& utf8ProgramPath) {
  const std::size_t slash = utf8ProgramPath.find_last_of('\\');
  if (slash == std::string::npos) return std::string();
  const bool driveRoot = slash == 2 && utf8ProgramPath[1] == ':';
  return utf8ProgramPath.substr(0, driveRoot ? slash + 1 : slash);
}

ProgramFolder programFolderOf(const std::string& utf8Path, const FolderSpellings& spell) {
  const std::string folder = folderOf(utf8Path);
  if (folder.empty()) return {};
  return {ansiPath(spell(folder)).value_or(std::string()), folder};
}

}  // namespace kb
